#include "ShaderCatalog.h"

#include <fstream>
#include <sstream>

namespace ri {

namespace {

constexpr float kRadians30 = 0.5235988f;
constexpr float kRadians5 = 0.08726646f;

std::vector<ShaderParamInfo> lightBase()
{
    return {{"float", "intensity", {1}, nullptr}, {"color", "lightcolor", {1, 1, 1}, nullptr}};
}

std::vector<ShaderParamInfo> withShadow(std::vector<ShaderParamInfo> p, bool six)
{
    if (six) {
        for (const char* n : {"shadowname_px", "shadowname_nx", "shadowname_py", "shadowname_ny",
                              "shadowname_pz", "shadowname_nz"})
            p.push_back({"string", n, {}, ""});
    } else {
        p.push_back({"string", "shadowname", {}, ""});
    }
    p.push_back({"float", "samples", {16}, nullptr});
    p.push_back({"float", "width", {1}, nullptr});
    p.push_back({"float", "blur", {0}, nullptr});
    p.push_back({"float", "bias", {0}, nullptr});
    return p;
}

std::vector<ShaderParamInfo> point(bool shadow)
{
    auto p = lightBase();
    p.push_back({"point", "from", {0, 0, 0}, nullptr});
    return shadow ? withShadow(p, true) : p;
}

std::vector<ShaderParamInfo> spot(bool shadow)
{
    auto p = lightBase();
    p.push_back({"point", "from", {0, 0, 0}, nullptr});
    p.push_back({"point", "to", {0, 0, 1}, nullptr});
    p.push_back({"float", "coneangle", {kRadians30}, nullptr});
    p.push_back({"float", "conedeltaangle", {kRadians5}, nullptr});
    p.push_back({"float", "beamdistribution", {2}, nullptr});
    return shadow ? withShadow(p, false) : p;
}

std::vector<ShaderParamInfo> distant(bool shadow)
{
    auto p = lightBase();
    p.push_back({"point", "from", {0, 0, 0}, nullptr});
    p.push_back({"point", "to", {0, 0, 1}, nullptr});
    return shadow ? withShadow(p, false) : p;
}

std::vector<ShaderInfo> build()
{
    std::vector<ShaderParamInfo> plastic = {{"float", "Ka", {1}, nullptr},
                                            {"float", "Kd", {0.5f}, nullptr},
                                            {"float", "Ks", {0.5f}, nullptr},
                                            {"float", "roughness", {0.1f}, nullptr},
                                            {"color", "specularcolor", {1, 1, 1}, nullptr}};
    std::vector<ShaderParamInfo> painted = plastic;
    painted.push_back({"string", "texturename", {}, ""});
    return {
        {"constant", "surface", {}},
        {"matte", "surface", {{"float", "Ka", {1}, nullptr}, {"float", "Kd", {1}, nullptr}}},
        {"metal",
         "surface",
         {{"float", "Ka", {1}, nullptr},
          {"float", "Ks", {1}, nullptr},
          {"float", "roughness", {0.1f}, nullptr}}},
        {"plastic", "surface", plastic},
        {"paintedplastic", "surface", painted},
        {"defaultsurface",
         "surface",
         {{"float", "Ka", {0.2f}, nullptr}, {"float", "Kd", {0.8f}, nullptr}}},
        {"ambientlight", "light", lightBase()},
        {"distantlight", "light", distant(false)},
        {"pointlight", "light", point(false)},
        {"spotlight", "light", spot(false)},
        {"shadowdistant", "light", distant(true)},
        {"shadowspot", "light", spot(true)},
        {"shadowpoint", "light", point(true)},
        {"linearpointlight", "light", point(false)},
        {"linearspotlight", "light", spot(false)},
        {"linearshadowpoint", "light", point(true)},
        {"linearshadowspot", "light", spot(true)},
    };
}

} // namespace

const std::vector<ShaderInfo>& shaderCatalog()
{
    static const std::vector<ShaderInfo> all = build();
    return all;
}

const ShaderInfo* findShader(const std::string& name)
{
    for (const ShaderInfo& s : shaderCatalog())
        if (name == s.name)
            return &s;
    return nullptr;
}

std::string shaderDescription(const ShaderInfo& shader)
{
    std::ostringstream out;
    out << shader.name << " " << shader.kind << "\n";
    for (const ShaderParamInfo& p : shader.params) {
        out << p.type << " " << p.name;
        if (p.text)
            out << " \"" << p.text << "\"";
        for (float v : p.value)
            out << " " << v;
        out << "\n";
    }
    return out.str();
}

bool shaderAvailable(const std::string& name, const char* kind, const std::string& searchPath)
{
    std::istringstream folders(searchPath);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty())
            continue;
        std::ifstream in(folder + "/" + name + ".sdr");
        std::string fileName, fileKind;
        if (in >> fileName >> fileKind)
            return fileName == name && fileKind == kind;
    }
    return false;
}

} // namespace ri
