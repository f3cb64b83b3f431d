// The panel catalogue: poured categories and types, and the per-kind trees built from them.
#pragma once

#include "catalogue/CCandyCategory.h"
#include "catalogue/CCandyKind.h"
#include "catalogue/CCandyType.h"

#include <memory>
#include <vector>

struct HostCallbacks;

class CCandyCatalogue
{
public:
    explicit CCandyCatalogue(const HostCallbacks* callbacks) : callbacks_(callbacks) {}

    /** Appends the five built-in kinds (1, 2, 3, 4 and 6); twice when called twice. */
    void addBuiltInKinds();
    /** Appends a category; duplicates are not checked. */
    void addCategory(int id, std::string name, int parentId, int order);
    /** Appends a type of kind 1 ... 8 (a section-bar type when the profile is non-empty);
     *  returns null and keeps nothing for any other kind. */
    CCandyType* addType(const CandyTypeInfo& info);
    /** Links categories to their parents and types to their categories and kinds. Linking
     *  again starts from scratch rather than adding everything a second time. */
    void link();
    /** Deletes every type, category and kind. */
    void clear();

    /** The first type with `id`; asks the host once (RequestCandyType) when there is none and
     *  takes the last type of the list if it has that id. Id 0 gives null. */
    CCandyType* findType(int id);
    /** The first poured category with `id`, or null. */
    CCandyCategory* findCategory(int id) const;
    /** The first kind with `id`, or null. */
    CCandyKind* findKind(int id) const;
    /** The category tree behind the design dialog's tab list `index`: 0 panels, 1 strip
     *  panels, 2 and 3 appliances, 4 art ceiling; null when out of range. */
    CCandyKind* tabList(int index) const;

    const std::vector<std::unique_ptr<CCandyType>>& types() const { return types_; }
    const std::vector<std::unique_ptr<CCandyCategory>>& categories() const { return categories_; }
    const std::vector<std::unique_ptr<CCandyKind>>& kinds() const { return kinds_; }

private:
    void linkCategories();
    void linkTypes();
    void resetLinks();

    const HostCallbacks* callbacks_;
    std::vector<std::unique_ptr<CCandyCategory>> categories_;
    std::vector<std::unique_ptr<CCandyType>> types_;
    std::vector<std::unique_ptr<CCandyKind>> kinds_;
};
