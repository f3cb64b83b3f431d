// The standard surface and light shaders, written in C++ with the parameters and defaults of
// ShaderCatalog. Lights live in world space.
#pragma once

#include "Math.h"
#include "Request.h"

#include <string>
#include <vector>

namespace ri {

enum class SurfaceKind { Constant, Matte, Metal, Plastic, PaintedPlastic, Default };

struct Surface
{
    SurfaceKind kind = SurfaceKind::Default;
    float Ka = 0.2f, Kd = 0.8f, Ks = 0.5f, roughness = 0.1f;
    Vec3 specularColor{1, 1, 1};
    std::string texture; ///< paintedplastic's texturename
};

enum class LightKind { Ambient, Distant, Point, Spot };

struct Light
{
    LightKind kind = LightKind::Ambient;
    bool linear = false; ///< falls off as 1/d instead of 1/d^2
    Vec3 color{1, 1, 1}; ///< intensity * lightcolor
    Vec3 from, to{0, 0, 1};
    float cosOuter = 0, cosInner = 0, beam = 2;
    /// Shadow maps: one for distant and spot lights, six (+x, -x, +y, -y, +z, -z) for point.
    std::vector<std::string> shadowMaps;
    float samples = 16, width = 1, blur = 0, bias = 0;
};

/// What a shader sees at one point; vectors in world space.
struct ShadingPoint
{
    Vec3 P, N, I; ///< N normalised; I from the eye to P
    Vec3 Cs{1, 1, 1}, Os{1, 1, 1};
    float s = 0, t = 0;
    float dsdx = 0, dtdx = 0, dsdy = 0, dtdy = 0;
};

/// Texture and shadow lookups a shader may make.
class ShadingServices
{
public:
    virtual ~ShadingServices() = default;
    /// Filtered colour of a texture; white when it cannot be read.
    virtual Vec3 texture(const std::string& name, const ShadingPoint& sp) = 0;
    /// Fraction of the light that reaches P, by the named shadow map (1 when unshadowed).
    virtual float shadow(const std::string& name, const Vec3& P, const Light& light) = 0;
};

/// Builds a surface from its shader name and parameter list; false when the name is unknown.
bool makeSurface(const std::string& name, const std::vector<Param>& params, Surface& out);

/// Builds a light from its shader name and parameters, with "from" and "to" taken through
/// `toWorld`; false when the name is unknown.
bool makeLight(const std::string& name, const std::vector<Param>& params, const Matrix& toWorld,
               Light& out);

/// Runs the surface shader: Ci and Oi as the standard shaders compute them (Ci premultiplied).
void shade(const Surface& surface, const std::vector<const Light*>& lights, const ShadingPoint& sp,
           ShadingServices& services, Vec3& Ci, Vec3& Oi);

} // namespace ri
