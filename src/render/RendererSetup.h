// Putting what the renderer needs under the home directory before a render: the runtime files,
// the shader descriptions and display drivers (copied out of resource libraries), and the
// renderer library itself, loaded into the module's RenderManBinding.
#pragma once

#include <string>
#include <vector>

namespace vs {

/** File names of the libraries the set-up loads. */
constexpr const char* kRuntimeResourceLibrary = "libVC90DebugCRT.so";
constexpr const char* kRendererResourceLibrary = "libPR.so";
constexpr const char* kRendererLibrary = "libri.so";

/** The messages shown when a set-up step fails. */
constexpr const char* kWriteDebugCrtFailed = "WriteDebugCRT 出错！";
constexpr const char* kWriteShadersFailed = "WriteShaders 出错！";
constexpr const char* kInitRenderManFailed = "InitRenderMan 出错！";

/**
 * Copies the resources `names` of type `type` out of the resource library `library` into the
 * folder homeDir + subfolder + "/" (created when nothing of that name exists; when something
 * does and `skipIfFolderExists` is set, returns true at once). File names are the resource
 * names, lower-cased when `lowerCaseNames` is set. A resource missing from the library and a
 * file that cannot be written are skipped. Returns false only when the library cannot be
 * loaded. Each file is replaced whole (written beside and renamed), so a renderer process
 * that has a driver loaded never sees it change under it.
 */
bool ExtractResourceFiles(const std::string& homeDir, const std::string& subfolder,
                          bool skipIfFolderExists, const std::string& library,
                          const std::vector<std::string>& names, const std::string& type,
                          bool lowerCaseNames);

/** The renderer's runtime folders (written once, then left alone). False when the runtime
 *  resource library is missing. */
bool WriteDebugCRT(const std::string& homeDir);
/** The 15 shader descriptions into "shaders/" and the three display drivers into homeDir,
 *  both lower-cased, every time. False when the renderer's resource library is missing. */
bool WriteShaders(const std::string& homeDir);
/** Loads the renderer library (the current directory first) into the module's binding.
 *  Returns 1, or 0 when it cannot be loaded. */
int InitRenderMan();

/** The resource names of one extraction step. */
const std::vector<std::string>& shaderResourceNames();
const std::vector<std::string>& displayResourceNames();

/** Lower-cases the ASCII letters of `text`; other bytes (multibyte characters) stay. */
std::string lowerCaseFileName(const std::string& text);

} // namespace vs
