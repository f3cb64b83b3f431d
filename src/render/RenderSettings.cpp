#include "render/RenderSettings.h"

namespace vs {

RenderSettings& RenderSettings::instance()
{
    static RenderSettings settings;
    return settings;
}

double RenderSettings::baseIntensity(int brightness)
{
    const float scale = 1.56f; // held in single precision, as the renderer's dialog always did
    return (1 + brightness * scale / 50.0) * 10.0;
}

int& renderCounter()
{
    static int counter = 0;
    return counter;
}

std::set<std::string>& convertedTextures()
{
    static std::set<std::string> names;
    return names;
}

} // namespace vs
