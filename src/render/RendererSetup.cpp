#include "render/RendererSetup.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/ResourceLibrary.h"
#include "render/RenderManBinding.h"

namespace vs {

namespace {

const std::vector<std::string> kDebugCrtNames = {"Microsoft.VC90.DebugCRT.manifest", "msvcm90d.dll",
                                                 "msvcp90d.dll", "msvcr90d.dll"};
const std::vector<std::string> kCrtNames = {"Microsoft.VC90.CRT.manifest", "msvcm90.dll",
                                            "msvcp90.dll", "msvcr90.dll"};
const std::vector<std::string> kShaderNames = {
    "AMBIENTLIGHT.SDR",    "DISTANTLIGHT.SDR",      "POINTLIGHT.SDR",       "SPOTLIGHT.SDR",
    "SHADOWDISTANT.SDR",   "SHADOWPOINT.SDR",       "SHADOWSPOT.SDR",       "LINEARPOINTLIGHT.SDR",
    "LINEARSPOTLIGHT.SDR", "LINEARSHADOWPOINT.SDR", "LINEARSHADOWSPOT.SDR", "CONSTANT.SDR",
    "MATTE.SDR",           "PAINTEDPLASTIC.SDR",    "PLASTIC.SDR"};
const std::vector<std::string> kDisplayNames = {"FILE.SO", "FRAMEBUFFER.SO", "RGBE.SO"};

} // namespace

std::string lowerCaseFileName(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

const std::vector<std::string>& shaderResourceNames()
{
    return kShaderNames;
}

const std::vector<std::string>& displayResourceNames()
{
    return kDisplayNames;
}

bool ExtractResourceFiles(const std::string& homeDir, const std::string& subfolder,
                          bool skipIfFolderExists, const std::string& library,
                          const std::vector<std::string>& names, const std::string& type,
                          bool lowerCaseNames)
{
    const std::string folder = homeDir + subfolder + "/";
    if (!pathExists(folder))
        createDirectory(folder); // a failure shows when the files cannot be written
    else if (skipIfFolderExists)
        return true;
    // The libraries are looked for in the current directory first: the home directory.
    const std::unique_ptr<ResourceLibrary> resources = ResourceLibrary::open(library);
    if (!resources)
        return false;
    for (const std::string& name : names) {
        const VsResourceEntry* entry = resources->find(type, name);
        if (entry == nullptr)
            continue;
        const std::string fileName = lowerCaseNames ? lowerCaseFileName(name) : name;
        try {
            writeWholeFile(folder + fileName, entry->data, entry->size);
        } catch (const FileError&) {
            // A file that cannot be written is skipped; the renderer reports what it misses.
        }
    }
    return true;
}

bool WriteDebugCRT(const std::string& homeDir)
{
    if (!ExtractResourceFiles(homeDir, "Microsoft.VC90.DebugCRT", true, kRuntimeResourceLibrary,
                              kDebugCrtNames, "DebugCRT", false))
        return false;
    return ExtractResourceFiles(homeDir, "Microsoft.VC90.CRT", true, kRuntimeResourceLibrary,
                                kCrtNames, "CRT", false);
}

bool WriteShaders(const std::string& homeDir)
{
    if (!ExtractResourceFiles(homeDir, "shaders", false, kRendererResourceLibrary, kShaderNames,
                              "SDR", true))
        return false;
    return ExtractResourceFiles(homeDir, ".", false, kRendererResourceLibrary, kDisplayNames,
                                "DISPLAYS", true);
}

int InitRenderMan()
{
    return RenderManBinding::instance().load(kRendererLibrary) ? 1 : 0;
}

} // namespace vs
