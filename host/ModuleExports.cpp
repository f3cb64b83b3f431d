#include "ModuleExports.h"

#include <cstdlib>
#include <dlfcn.h>
#include <stdexcept>
#include <sys/stat.h>

namespace vhost {
namespace {

template <typename F> void bind(void* handle, const char* name, F& slot, bool required = true)
{
    slot = reinterpret_cast<F>(dlsym(handle, name));
    if (slot == nullptr && required)
        throw std::runtime_error(std::string("the module has no export ") + name);
}

} // namespace

ModuleExports ModuleExports::load(const std::string& libraryPath)
{
    ModuleExports m;
    m.handle = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m.handle == nullptr) {
        const char* why = dlerror();
        throw std::runtime_error("cannot load the module " + libraryPath + ": " +
                                 (why ? why : "unknown error"));
    }
    bind(m.handle, "BeginPourMasterData", m.BeginPourMasterData);
    bind(m.handle, "PostPourMasterData", m.PostPourMasterData);
    bind(m.handle, "ClearMasterData", m.ClearMasterData);
    bind(m.handle, "AddCandyCategory", m.AddCandyCategory);
    bind(m.handle, "AddCandyType", m.AddCandyType);
    bind(m.handle, "AddFacilityCategory", m.AddFacilityCategory);
    bind(m.handle, "AddFacilityModel", m.AddFacilityModel);
    bind(m.handle, "ShowSolidDesignDialog", m.ShowSolidDesignDialog);
    bind(m.handle, "RenderRoom", m.RenderRoom);
    bind(m.handle, "ApplyStaticSolidSample", m.ApplyStaticSolidSample);
    bind(m.handle, "ApplySolidSample", m.ApplySolidSample);
    bind(m.handle, "ExportSolidPicture", m.ExportSolidPicture, false);
    bind(m.handle, "ExportSolidRender", m.ExportSolidRender, false);
    bind(m.handle, "VsSysAllocStringLen", m.VsSysAllocStringLen);
    bind(m.handle, "VsSysStringLen", m.VsSysStringLen);
    bind(m.handle, "VsVariantInit", m.VsVariantInit);
    bind(m.handle, "VsVariantClear", m.VsVariantClear);
    return m;
}

std::string ModuleExports::defaultPath(const std::string& programDir)
{
    if (const char* forced = std::getenv("VANTREL_SOLID_LIBRARY"); forced && *forced)
        return forced;
    const std::string beside = programDir + "/../lib/libVantrelSolid.so";
    struct stat info
    {
    };
    return ::stat(beside.c_str(), &info) == 0 ? beside : "libVantrelSolid.so";
}

} // namespace vhost
