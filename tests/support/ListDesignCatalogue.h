// A design catalogue over plain lists for tests: panel types and facility models made
// directly (no host, no pictures), looked up the way the module's catalogues do.
#pragma once

#include "catalogue/CCandyType.h"
#include "catalogue/CFacilityModel.h"
#include "document/DesignCatalogue.h"

#include <memory>
#include <vector>

namespace testsupport {

class ListDesignCatalogue : public DesignCatalogue
{
public:
    /** The first type with `id` (0 gives none). */
    CCandyType* candyType(int id) override;
    /** The first model with `id`, or with `typeId` when that is non-zero. */
    CFacilityModel* facilityModel(int id, int typeId) override;
    /** The model at 1-based `position` of the list. */
    CFacilityModel* builtInModel(size_t position) override;
    void loadStaticSample(int) override {}

    /** Appends a panel type of `kind` with the given size (decimillimetres). */
    CCandyType* addType(int id, int width, int height, int kind = 1);
    /** Appends a model with the given size (decimillimetres) and facility kind. */
    CFacilityModel* addModel(int id, int typeId, int width, int height, int kind = 0);
    /** Appends the module's seven built-in models, with their ids, type ids, kinds and sizes. */
    void addBuiltInModels();

    std::vector<std::unique_ptr<CCandyType>> types;
    std::vector<std::unique_ptr<CFacilityModel>> models;
};

} // namespace testsupport
