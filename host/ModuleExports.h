// The module's exports as the host calls them: looked up by name in the shared library, or
// filled with stand-ins by tests.
#pragma once

#include "VantrelSolid.h"

#include <string>

namespace vhost {

struct ModuleExports
{
    decltype(&::BeginPourMasterData) BeginPourMasterData = nullptr;
    decltype(&::PostPourMasterData) PostPourMasterData = nullptr;
    decltype(&::ClearMasterData) ClearMasterData = nullptr;
    decltype(&::AddCandyCategory) AddCandyCategory = nullptr;
    decltype(&::AddCandyType) AddCandyType = nullptr;
    decltype(&::AddFacilityCategory) AddFacilityCategory = nullptr;
    decltype(&::AddFacilityModel) AddFacilityModel = nullptr;
    decltype(&::ShowSolidDesignDialog) ShowSolidDesignDialog = nullptr;
    decltype(&::RenderRoom) RenderRoom = nullptr;
    decltype(&::ApplyStaticSolidSample) ApplyStaticSolidSample = nullptr;
    decltype(&::ApplySolidSample) ApplySolidSample = nullptr;
    decltype(&::ExportSolidPicture) ExportSolidPicture = nullptr; // optional
    decltype(&::ExportSolidRender) ExportSolidRender = nullptr;   // optional
    decltype(&::VsSysAllocStringLen) VsSysAllocStringLen = nullptr;
    decltype(&::VsSysStringLen) VsSysStringLen = nullptr;
    decltype(&::VsVariantInit) VsVariantInit = nullptr;
    decltype(&::VsVariantClear) VsVariantClear = nullptr;
    void* handle = nullptr;

    /** Loads the module with dlopen and looks up every export. Throws std::runtime_error
     *  naming the library or the missing export. The library stays loaded. */
    static ModuleExports load(const std::string& libraryPath);
    /** Returns the module path for a program in `programDir`: $VANTREL_SOLID_LIBRARY, else
     *  programDir/../lib/libVantrelSolid.so when it exists, else the bare name for the loader's
     *  search path. */
    static std::string defaultPath(const std::string& programDir);
};

} // namespace vhost
