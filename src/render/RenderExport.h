// The scene of the 3D window as one RenderMan frame, written through the module's
// RenderManBinding: a shadow pass (a depth map from a camera high above the room, made into a
// shadow map) or the main pass (the picture). Everything is read from the live engine scene,
// so the picture matches what the window shows.
//
// Lengths are decimillimetres; relative file names land in the current directory.
#pragma once

#include "render/RenderView.h"
#include "render/RiTypes.h"

#include <functional>
#include <string>

class CSolidDocument;

namespace vs {

/** Reports the finished fraction of the frame; returns false to stop it. */
using RenderProgress = std::function<bool(float fraction)>;

/** The camera-to-world matrix of the pass that RenderSettings::shadowPass names, and the field
 *  of view in degrees. */
struct RenderCameraSetup
{
    irr::core::matrix4 cameraToWorld;
    float fov = 0;
};

/** The camera of the frame (the three cases: shadow camera, orbit camera, first person). */
RenderCameraSetup renderCamera(const RenderView& view, bool shadowPass);

/** Height of the shadow camera above the floor: 37000, raised so that a square frame of the
 *  shadow field of view `fovDegrees` covers the larger extent of the ceiling outline. */
float shadowCameraHeight(double largerExtent, float fovDegrees);

/**
 * One frame for the current RenderSettings::shadowPass: RiBegin, the image options, the camera,
 * the world (ExportWorld) and, in the shadow pass, RiMakeShadow; then RiEnd. `progress` is
 * handed to the renderer's progress extension when it has one. Throws std::runtime_error when
 * the renderer lacks a procedure the frame needs.
 */
void ExportFrame(const RenderView& view, const RenderProgress& progress = {});

/** The world block's contents: lights, ceiling, floor and walls (main pass), facilities. */
void ExportWorld(const RenderView& view);

/** Every buffer of `mesh` as triangles with P, st (textured buffers), N, Cs and Os per vertex;
 *  `textureOverride` (a renderer texture name) replaces the buffers' own textures. */
void ExportMesh(const irr::scene::IMesh* mesh, const char* textureOverride);

/**
 * The renderer texture for `texture`: its picture saved as a square TIFF under a name of this
 * process, made into a periodic texture once per process. Returns the texture's name, or an
 * empty string when there is no picture to convert.
 */
std::string ConvertTexture(irr::video::ITexture* texture);

/** The intensity of a point or spot light of base intensity `base` with the given attenuation
 *  terms, and whether the linear (1/d) shader applies. A light with quadratic falloff only gets
 *  base / quadratic and the 1/d² shader; any other gets base / (linear + 0.002 × constant) and
 *  the 1/d one, so that lamps without a constant term keep base / linear and a light without
 *  falloff (constant 1) renders as the default lamp (linear 0.002). Terms that are 0, negative
 *  or not finite count as absent; without any, the default lamp's intensity applies. */
struct LightIntensity
{
    float intensity = 0;
    bool linear = false;
};
LightIntensity lightIntensity(double base, float constant, float linear, float quadratic);

} // namespace vs
