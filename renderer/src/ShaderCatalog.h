// The shaders this renderer knows, with their parameters and defaults. The build writes one
// description file NAME.sdr per entry; a shader is available when its file is on the shader
// search path.
#pragma once

#include <string>
#include <vector>

namespace ri {

struct ShaderParamInfo
{
    const char* type; ///< "float", "color", "point" or "string"
    const char* name;
    std::vector<float> value; ///< default for the numeric types
    const char* text;         ///< default for strings
};

struct ShaderInfo
{
    const char* name;
    const char* kind; ///< "surface" or "light"
    std::vector<ShaderParamInfo> params;
};

/// All shaders, surfaces first.
const std::vector<ShaderInfo>& shaderCatalog();

/// The shader of that name, or null.
const ShaderInfo* findShader(const std::string& name);

/// The text of a description file: "NAME KIND" then one "TYPE NAME DEFAULT" line per parameter.
std::string shaderDescription(const ShaderInfo& shader);

/// True when NAME.sdr exists in one of the colon-separated folders of `searchPath` and names
/// a shader of that kind.
bool shaderAvailable(const std::string& name, const char* kind, const std::string& searchPath);

} // namespace ri
