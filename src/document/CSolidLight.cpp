#include "CSolidLight.h"

namespace {

// Height of the main light above the floor: 1.4 m.
constexpr float MainLightHeight = 14000;

} // namespace

CSolidLight::CSolidLight(CSolidDocument* document) : document(document)
{
}

std::unique_ptr<CSolidLight> CSolidLight::makeMainLight(CSolidDocument* document,
                                                        const RRect& indentedBounds)
{
    auto light = std::make_unique<CSolidLight>(document);
    RPoint centre = indentedBounds.centre();
    light->position = {static_cast<float>(centre.x), MainLightHeight, static_cast<float>(centre.y)};
    light->isMain = true;
    light->isVisible = true;
    return light;
}
