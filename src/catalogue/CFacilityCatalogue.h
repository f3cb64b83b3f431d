// The facility catalogue: categories, models, and the built-in light category and models.
#pragma once

#include "catalogue/CFacilityCategory.h"
#include "catalogue/CFacilityModel.h"

#include <QByteArray>

#include <memory>
#include <vector>

struct HostCallbacks;

class CFacilityCatalogue
{
public:
    /** Category that the catalogue list's "TV background wall" command moves models into. */
    static constexpr int kFeatureWallCategoryId = 223;

    explicit CFacilityCatalogue(const HostCallbacks* callbacks) : callbacks_(callbacks) {}

    /** Appends the light-source category (id -1) and the seven built-in models, whose pictures
     *  are the module's own resources; twice when called twice. */
    void addBuiltIns();
    /** Appends a category. */
    void addCategory(int id, int parentId, std::string name);
    /** Appends a model; ids are not checked for duplicates. */
    CFacilityModel* addModel(const FacilityModelInfo& info);
    /** Links categories into their tree and models into their categories; linking again starts
     *  from scratch. */
    void link();
    /** Deletes every model (dropping its mesh) and every category. */
    void clear();

    /** The first model whose id is `id`, or whose type id is `typeId` when that is non-zero;
     *  asks the host once (RequestFacilityModel) when there is none and takes the last model of
     *  the list when it passes the same test. */
    CFacilityModel* findModel(int id, int typeId = 0);
    /** The first category with `id`, or null. */
    CFacilityCategory* findCategory(int id) const;
    /** The model at `position` (1-based) of the list, as the defaults take the built-in ones;
     *  null when the list is shorter. */
    CFacilityModel* modelAt(size_t position) const;

    /** Moves `model` into the category `categoryId`: tells the host first (SetModelCategory),
     *  then moves it between the categories' lists. Nothing happens when it is already there. */
    void moveModelToCategory(CFacilityModel* model, int categoryId);

    /** Drops every model's cached mesh and engine texture. */
    void releaseEngineObjects();

    const std::vector<std::unique_ptr<CFacilityCategory>>& categories() const
    {
        return categories_;
    }
    const std::vector<CFacilityCategory*>& topCategories() const { return topCategories_; }
    const std::vector<std::unique_ptr<CFacilityModel>>& models() const { return models_; }

private:
    const HostCallbacks* callbacks_;
    std::vector<std::unique_ptr<CFacilityCategory>> categories_;
    std::vector<CFacilityCategory*> topCategories_;
    std::vector<std::unique_ptr<CFacilityModel>> models_;
    std::vector<QByteArray> builtInPictures_; ///< keeps the built-in models' bytes alive
};
