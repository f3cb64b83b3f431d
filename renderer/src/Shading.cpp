#include "Shading.h"

#include "ShaderCatalog.h"

#include <algorithm>
#include <cmath>

namespace ri {

namespace {

const Param* findParam(const std::vector<Param>& params, const char* name)
{
    for (const Param& p : params)
        if (p.name == name)
            return &p;
    return nullptr;
}

float getFloat(const std::vector<Param>& params, const char* name, float def)
{
    const Param* p = findParam(params, name);
    if (p && !p->floats.empty())
        return p->floats[0];
    if (p && !p->ints.empty())
        return float(p->ints[0]);
    return def;
}

Vec3 getVec(const std::vector<Param>& params, const char* name, Vec3 def)
{
    const Param* p = findParam(params, name);
    if (p && p->floats.size() >= 3)
        return {p->floats[0], p->floats[1], p->floats[2]};
    return def;
}

std::string getString(const std::vector<Param>& params, const char* name)
{
    const Param* p = findParam(params, name);
    return p && !p->strings.empty() ? p->strings[0] : std::string();
}

float smoothstep(float a, float b, float x)
{
    if (x <= a)
        return 0;
    if (x >= b)
        return 1;
    float t = (x - a) / (b - a);
    return t * t * (3 - 2 * t);
}

Vec3 faceforward(const Vec3& N, const Vec3& I)
{
    return dot(N, I) > 0 ? -N : N;
}

/// Light arriving at P: colour Cl and the direction L from P towards the light (unit).
bool illuminate(const Light& light, const Vec3& P, ShadingServices& services, Vec3& Cl, Vec3& L)
{
    switch (light.kind) {
    case LightKind::Ambient:
        return false;
    case LightKind::Distant: {
        L = normalize(light.from - light.to);
        Cl = light.color;
        break;
    }
    case LightKind::Point:
    case LightKind::Spot: {
        Vec3 d = light.from - P;
        float d2 = dot(d, d);
        if (d2 <= 0)
            return false;
        float dist = std::sqrt(d2);
        L = d / dist;
        float atten = light.linear ? 1 / dist : 1 / d2;
        if (light.kind == LightKind::Spot) {
            Vec3 axis = normalize(light.to - light.from);
            float cosangle = dot(-L, axis);
            if (cosangle <= 0)
                return false;
            atten *= std::pow(cosangle, light.beam) *
                     smoothstep(light.cosOuter, light.cosInner, cosangle);
        }
        Cl = light.color * atten;
        break;
    }
    }
    if (!light.shadowMaps.empty()) {
        const std::string* map = &light.shadowMaps[0];
        if (light.shadowMaps.size() == 6) {
            // The map of the dominant axis of the light-to-point direction.
            Vec3 d = P - light.from;
            float ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
            int face = ax >= ay && ax >= az ? (d.x >= 0 ? 0 : 1)
                       : ay >= az           ? (d.y >= 0 ? 2 : 3)
                                            : (d.z >= 0 ? 4 : 5);
            map = &light.shadowMaps[size_t(face)];
        }
        if (!map->empty())
            Cl = Cl * services.shadow(*map, P, light);
    }
    return Cl.x > 0 || Cl.y > 0 || Cl.z > 0;
}

} // namespace

bool makeSurface(const std::string& name, const std::vector<Param>& params, Surface& out)
{
    const ShaderInfo* info = findShader(name);
    if (!info || std::string(info->kind) != "surface")
        return false;
    Surface s;
    if (name == "constant")
        s.kind = SurfaceKind::Constant;
    else if (name == "matte") {
        s.kind = SurfaceKind::Matte;
        s.Ka = 1, s.Kd = 1;
    } else if (name == "metal") {
        s.kind = SurfaceKind::Metal;
        s.Ka = 1, s.Ks = 1;
    } else if (name == "plastic" || name == "paintedplastic") {
        s.kind = name == "plastic" ? SurfaceKind::Plastic : SurfaceKind::PaintedPlastic;
        s.Ka = 1, s.Kd = 0.5f, s.Ks = 0.5f;
    } else {
        s.kind = SurfaceKind::Default;
        s.Ka = 0.2f, s.Kd = 0.8f;
    }
    s.Ka = getFloat(params, "Ka", s.Ka);
    s.Kd = getFloat(params, "Kd", s.Kd);
    s.Ks = getFloat(params, "Ks", s.Ks);
    s.roughness = getFloat(params, "roughness", s.roughness);
    s.specularColor = getVec(params, "specularcolor", s.specularColor);
    if (s.kind == SurfaceKind::PaintedPlastic)
        s.texture = getString(params, "texturename");
    out = s;
    return true;
}

bool makeLight(const std::string& name, const std::vector<Param>& params, const Matrix& toWorld,
               Light& out)
{
    const ShaderInfo* info = findShader(name);
    if (!info || std::string(info->kind) != "light")
        return false;
    Light l;
    l.linear = name.compare(0, 6, "linear") == 0;
    std::string base = l.linear ? name.substr(6) : name;
    bool shadowed = base.compare(0, 6, "shadow") == 0;
    if (base == "ambientlight")
        l.kind = LightKind::Ambient;
    else if (base == "distantlight" || base == "shadowdistant")
        l.kind = LightKind::Distant;
    else if (base == "pointlight" || base == "shadowpoint")
        l.kind = LightKind::Point;
    else
        l.kind = LightKind::Spot;
    l.color = getVec(params, "lightcolor", {1, 1, 1}) * getFloat(params, "intensity", 1);
    l.from = toWorld.point(getVec(params, "from", {0, 0, 0}));
    l.to = toWorld.point(getVec(params, "to", {0, 0, 1}));
    float cone = getFloat(params, "coneangle", 0.5235988f);
    float delta = getFloat(params, "conedeltaangle", 0.08726646f);
    l.cosOuter = std::cos(cone);
    l.cosInner = std::cos(std::max(0.f, cone - delta));
    l.beam = getFloat(params, "beamdistribution", 2);
    if (shadowed) {
        if (l.kind == LightKind::Point) {
            for (const char* n : {"shadowname_px", "shadowname_nx", "shadowname_py",
                                  "shadowname_ny", "shadowname_pz", "shadowname_nz"})
                l.shadowMaps.push_back(getString(params, n));
        } else {
            l.shadowMaps.push_back(getString(params, "shadowname"));
        }
        l.samples = getFloat(params, "samples", 16);
        l.width = getFloat(params, "width", 1);
        l.blur = getFloat(params, "blur", 0);
        l.bias = getFloat(params, "bias", 0);
    }
    out = l;
    return true;
}

void shade(const Surface& surface, const std::vector<const Light*>& lights, const ShadingPoint& sp,
           ShadingServices& services, Vec3& Ci, Vec3& Oi)
{
    Oi = sp.Os;
    Vec3 Cs = sp.Cs;
    if (surface.kind == SurfaceKind::Constant) {
        Ci = sp.Os * Cs;
        return;
    }
    Vec3 I = normalize(sp.I);
    Vec3 Nf = faceforward(sp.N, I);
    if (surface.kind == SurfaceKind::Default) {
        float d = dot(I, Nf);
        Ci = sp.Os * Cs * (surface.Ka + surface.Kd * d * d);
        return;
    }
    if (surface.kind == SurfaceKind::PaintedPlastic && !surface.texture.empty())
        Cs = Cs * services.texture(surface.texture, sp);

    Vec3 V = -I;
    Vec3 ambient, diffuse, specular;
    float exponent = 1 / std::max(surface.roughness, 1e-4f);
    for (const Light* light : lights) {
        if (light->kind == LightKind::Ambient) {
            ambient += light->color;
            continue;
        }
        Vec3 Cl, L;
        if (!illuminate(*light, sp.P, services, Cl, L))
            continue;
        float nl = dot(Nf, L);
        if (nl <= 0)
            continue;
        diffuse += Cl * nl;
        if (surface.kind != SurfaceKind::Matte) {
            Vec3 H = normalize(L + V);
            float nh = std::max(0.f, dot(Nf, H));
            specular += Cl * std::pow(nh, exponent);
        }
    }
    switch (surface.kind) {
    case SurfaceKind::Matte:
        Ci = sp.Os * Cs * (ambient * surface.Ka + diffuse * surface.Kd);
        break;
    case SurfaceKind::Metal:
        Ci = sp.Os * Cs * (ambient * surface.Ka + specular * surface.Ks);
        break;
    default:
        Ci = sp.Os * (Cs * (ambient * surface.Ka + diffuse * surface.Kd) +
                      surface.specularColor * specular * surface.Ks);
        break;
    }
}

} // namespace ri
