// The module's catalogues and the host's callback table: one set for the life of the module,
// which the layers above the catalogue reach without the application object.
#pragma once

#include "catalogue/CCandyCatalogue.h"
#include "catalogue/CFacilityCatalogue.h"
#include "catalogue/HostCallbacks.h"

struct ModuleCatalogues
{
    /** The one set, made on first use. */
    static ModuleCatalogues& instance();

    /** The host's callbacks; they survive ClearMasterData. */
    HostCallbacks callbacks;
    CCandyCatalogue candies{&callbacks};
    CFacilityCatalogue facilities{&callbacks};
    /** The catalogue option of the last BeginPourMasterData. */
    int catalogueOption = 0;
};
