// The bundled catalogue pack poured into catalogues of the module's own kind, without the
// exports: for tests that read the bundled designs into a document and build their scene.
#pragma once

#include "CataloguePack.h"

#include "catalogue/CCandyCatalogue.h"
#include "catalogue/CFacilityCatalogue.h"
#include "catalogue/HostCallbacks.h"
#include "document/DesignCatalogue.h"

#include <string>

namespace testsupport {

/** The path of the bundled pack's index. */
std::string bundledPackIndex();

class PackCatalogue : public DesignCatalogue
{
public:
    /** Pours `pack` (which must outlive this) with pictures and meshes served from it. */
    explicit PackCatalogue(const vhost::CataloguePack& pack);
    ~PackCatalogue() override;

    CCandyType* candyType(int id) override { return candies.findType(id); }
    CFacilityModel* facilityModel(int id, int typeId) override
    {
        return facilities.findModel(id, typeId);
    }
    CFacilityModel* builtInModel(size_t position) override { return facilities.modelAt(position); }
    void loadStaticSample(int) override {}

    HostCallbacks callbacks;
    CCandyCatalogue candies{&callbacks};
    CFacilityCatalogue facilities{&callbacks};
};

} // namespace testsupport
