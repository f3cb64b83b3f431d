// The design-read lookups over the module's own catalogues and host callbacks.
#pragma once

#include "document/DesignCatalogue.h"

class ModuleDesignCatalogue : public DesignCatalogue
{
public:
    /** The panel type `id` of the module's panel catalogue (asking the host when missing). */
    CCandyType* candyType(int id) override;
    /** The facility model `id` / `typeId` of the module's facility catalogue. */
    CFacilityModel* facilityModel(int id, int typeId) override;
    /** The model at 1-based `position` of the module's facility list. */
    CFacilityModel* builtInModel(size_t position) override;
    /** Calls the host's LoadStaticSample callback when the host gave one. */
    void loadStaticSample(int sampleId) override;
};
