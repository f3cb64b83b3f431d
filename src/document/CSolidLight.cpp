#include "CSolidLight.h"

namespace {

// Height of the main light above the floor: 1.4 m.
constexpr float MainLightHeight = 14000;

} // namespace

CSolidLight::CSolidLight(CSolidDocument* document) : document(document)
{
}

CSolidLight::CSolidLight(const CSolidLight& other)
{
    *this = other;
}

// Every field but the scene record (keep in step with the header).
CSolidLight& CSolidLight::operator=(const CSolidLight& other)
{
    document = other.document;
    ambientColor = other.ambientColor;
    diffuseColor = other.diffuseColor;
    specularColor = other.specularColor;
    attenuation = other.attenuation;
    outerCone = other.outerCone;
    innerCone = other.innerCone;
    falloff = other.falloff;
    position = other.position;
    direction = other.direction;
    radius = other.radius;
    type = other.type;
    castShadows = other.castShadows;
    isMain = other.isMain;
    isVisible = other.isVisible;
    host = other.host;
    markerShown = other.markerShown;
    return *this;
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
