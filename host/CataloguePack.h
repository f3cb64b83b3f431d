// A catalogue pack on disk: one XML index naming panel kinds, categories and types, facility
// categories and models, and static and solid samples, with the files they name. host/README.md
// describes the format.
#pragma once

#include "PackRecords.h"

#include <map>
#include <string>
#include <vector>

namespace vhost {

class CataloguePack
{
public:
    /**
     * Reads the index at `indexPath` and every file it names. Throws FileError for a missing
     * or unreadable file, std::invalid_argument for an index that is not a pack, an entry with
     * a bad value, a duplicate id, a reference to an unknown kind or category, a path that
     * leaves the pack folder, a picture that does not decode or a mesh of an unknown format.
     */
    static CataloguePack load(const std::string& indexPath);

    /** Returns the folder holding the index, with a trailing "/". */
    const std::string& folder() const { return folder_; }
    /** Returns the index file's path. */
    const std::string& indexPath() const { return indexPath_; }

    const std::vector<PackPanelKind>& panelKinds() const { return panelKinds_; }
    const std::vector<PackCandyCategory>& candyCategories() const { return candyCategories_; }
    const std::vector<PackCandyType>& candyTypes() const { return candyTypes_; }
    const std::vector<PackFacilityCategory>& facilityCategories() const
    {
        return facilityCategories_;
    }
    const std::vector<PackModel>& models() const { return models_; }
    const std::vector<PackStaticSample>& staticSamples() const { return staticSamples_; }
    const std::vector<PackSolidSample>& solidSamples() const { return solidSamples_; }

    /** Returns the panel type with `id`, or null. */
    const PackCandyType* candyType(int32_t id) const;
    /** Returns the model with `id`, or (when `typeId` is non-zero) the first with that type
     *  id, or null. */
    const PackModel* model(int32_t id, int32_t typeId = 0) const;
    /** Returns the static sample with `id`, or null. */
    const PackStaticSample* staticSample(int32_t id) const;
    /** Returns the solid sample with `id`, or null. */
    const PackSolidSample* solidSample(int32_t id) const;

private:
    friend class PackIndexReader;
    std::string indexPath_;
    std::string folder_;
    std::vector<PackPanelKind> panelKinds_;
    std::vector<PackCandyCategory> candyCategories_;
    std::vector<PackCandyType> candyTypes_;
    std::vector<PackFacilityCategory> facilityCategories_;
    std::vector<PackModel> models_;
    std::vector<PackStaticSample> staticSamples_;
    std::vector<PackSolidSample> solidSamples_;
};

} // namespace vhost
