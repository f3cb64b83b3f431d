#include "catalogue/ModuleDesignCatalogue.h"

#include "plugin/CVantrelSolidApp.h"

CCandyType* ModuleDesignCatalogue::candyType(int id)
{
    return CVantrelSolidApp::instance().candies.findType(id);
}

CFacilityModel* ModuleDesignCatalogue::facilityModel(int id, int typeId)
{
    return CVantrelSolidApp::instance().facilities.findModel(id, typeId);
}

CFacilityModel* ModuleDesignCatalogue::builtInModel(size_t position)
{
    return CVantrelSolidApp::instance().facilities.modelAt(position);
}

void ModuleDesignCatalogue::loadStaticSample(int sampleId)
{
    const HostCallbacks& callbacks = CVantrelSolidApp::instance().callbacks;
    if (callbacks.loadStaticSample)
        callbacks.loadStaticSample(sampleId);
}
