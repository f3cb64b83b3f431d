// What a render process keeps between its render jobs: the user's choices in the render
// parameters dialog, the job's lighting model and shadow files, the handles of the global
// lights, the job counter and the textures already converted.
#pragma once

#include "render/RiTypes.h"

#include <array>
#include <set>
#include <string>

namespace vs {

struct RenderSettings
{
    /** Render a shadow map before the main pass. */
    bool renderShadows = true;
    /** The export now running is the shadow pass. */
    bool shadowPass = true;
    /** The job's lighting model, copied from the simpleLighting preference at its start. */
    bool jobSimpleLighting = true;
    /** The three lights of the simple lighting model, as RiLightSource returned them. */
    std::array<RtLightHandle, 3> globalLights{};
    /** Light intensity setting, 0..100. */
    int brightness = 50;
    /** "shadow<pid>_<n>.z" and "shadow<pid>_<n>.sm" of the running job. */
    std::string shadowDepthFile;
    std::string shadowMapFile;
    /** Pixel samples per side of the main pass. */
    int pixelSamples = 4;
    /** Image file of the main pass and its display driver ("framebuffer" shows the picture
     *  forming in a window and writes the file). */
    std::string imageFile = "room.tif";
    std::string displayDriver = "framebuffer";

    /** The module's settings: they live as long as the process. */
    static RenderSettings& instance();
    /** The light intensity factor for `brightness`: (1 + b * 1.56 / 50) * 10 (25.6 at 50). */
    static double baseIntensity(int brightness);
};

/** Number of render jobs started in this process (numbers their shadow files). */
int& renderCounter();

/** Names of the engine textures converted into renderer textures in this process (never
 *  cleared: a later job reuses the files). */
std::set<std::string>& convertedTextures();

} // namespace vs
