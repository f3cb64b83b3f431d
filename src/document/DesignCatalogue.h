// The lookups a design read needs from the module's catalogues, behind a small interface so
// that the reader can be tested and fuzzed without the module.
#pragma once

#include <cstddef>

class CCandyType;
class CFacilityModel;

class DesignCatalogue
{
public:
    virtual ~DesignCatalogue() = default;
    /** The panel type `id`; null when unknown (after asking the host). */
    virtual CCandyType* candyType(int id) = 0;
    /** The facility model `id` of type `typeId` (0: any type); null when unknown. */
    virtual CFacilityModel* facilityModel(int id, int typeId) = 0;
    /** The built-in model at 1-based list `position`; null when the list is shorter. */
    virtual CFacilityModel* builtInModel(size_t position) = 0;
    /** Asks the host to load static sample `sampleId` after a read. */
    virtual void loadStaticSample(int sampleId) = 0;
};
