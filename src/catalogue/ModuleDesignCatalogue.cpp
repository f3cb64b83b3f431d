#include "catalogue/ModuleDesignCatalogue.h"

#include "catalogue/ModuleCatalogues.h"

CCandyType* ModuleDesignCatalogue::candyType(int id)
{
    return ModuleCatalogues::instance().candies.findType(id);
}

CFacilityModel* ModuleDesignCatalogue::facilityModel(int id, int typeId)
{
    return ModuleCatalogues::instance().facilities.findModel(id, typeId);
}

CFacilityModel* ModuleDesignCatalogue::builtInModel(size_t position)
{
    return ModuleCatalogues::instance().facilities.modelAt(position);
}

void ModuleDesignCatalogue::loadStaticSample(int sampleId)
{
    const HostCallbacks& callbacks = ModuleCatalogues::instance().callbacks;
    if (callbacks.loadStaticSample)
        callbacks.loadStaticSample(sampleId);
}
