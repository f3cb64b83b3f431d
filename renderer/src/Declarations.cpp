#include "Context.h"

#include <sstream>

namespace ri {

namespace {

const char* const kStandard[][2] = {
    {"P", "vertex point"},
    {"Pz", "vertex float"},
    {"Pw", "vertex hpoint"},
    {"N", "varying normal"},
    {"Np", "uniform normal"},
    {"Cs", "varying color"},
    {"Os", "varying color"},
    {"s", "varying float"},
    {"t", "varying float"},
    {"st", "varying float[2]"},
    {"Ka", "uniform float"},
    {"Kd", "uniform float"},
    {"Ks", "uniform float"},
    {"Kr", "uniform float"},
    {"roughness", "uniform float"},
    {"specularcolor", "uniform color"},
    {"intensity", "uniform float"},
    {"lightcolor", "uniform color"},
    {"from", "uniform point"},
    {"to", "uniform point"},
    {"coneangle", "uniform float"},
    {"conedeltaangle", "uniform float"},
    {"beamdistribution", "uniform float"},
    {"texturename", "uniform string"},
    {"shadowname", "uniform string"},
    {"shadowname_px", "uniform string"},
    {"shadowname_nx", "uniform string"},
    {"shadowname_py", "uniform string"},
    {"shadowname_ny", "uniform string"},
    {"shadowname_pz", "uniform string"},
    {"shadowname_nz", "uniform string"},
    {"samples", "uniform float"},
    {"width", "uniform float"},
    {"blur", "uniform float"},
    {"bias", "uniform float"},
    {"fov", "uniform float"},
    {"jitter", "uniform float"},
    {"shader", "uniform string"},
    {"texture", "uniform string"},
    {"archive", "uniform string"},
    {"display", "uniform string"},
    {"procedural", "uniform string"},
    {"resource", "uniform string"},
    {"name", "uniform string"},
    {"sides", "uniform int"},
    {"mindistance", "uniform float"},
    {"maxdistance", "uniform float"},
    {"background", "uniform color"},
    {"distance", "uniform float"},
    {"amplitude", "uniform float"},
    {"quantize", "uniform float[4]"},
    {"dither", "uniform float"},
    {"bucketsize", "uniform int[2]"},
    {"gridsize", "uniform int"},
    {"threads", "uniform int"},
    {"format", "uniform string"},
    {"constantwidth", "constant float"},
    {"compression", "uniform string"},
    {"origin", "uniform int[2]"},
};

} // namespace

Declarations::Declarations()
{
    for (const auto& d : kStandard)
        declare(d[0], d[1]);
}

bool Declarations::declare(const std::string& name, const std::string& declaration)
{
    Declaration d;
    if (name.empty() || !parseDeclaration(declaration, d))
        return false;
    table_[name] = d;
    return true;
}

bool Declarations::lookup(const std::string& token, std::string& name, Declaration& decl) const
{
    size_t space = token.find_last_of(" \t");
    if (space != std::string::npos) {
        name = token.substr(space + 1);
        std::string type = token.substr(0, space);
        // "float[2] st" and "uniform float Kd" both end with the name.
        if (!name.empty() && parseDeclaration(type, decl))
            return true;
    }
    auto it = table_.find(token);
    if (it == table_.end())
        return false;
    name = token;
    decl = it->second;
    return true;
}

} // namespace ri
