// A panel kind with its own copy of the category tree, for the design dialog's tabs.
#pragma once

#include "catalogue/CCandyCategory.h"
#include "platform/IntSize.h"

#include <memory>
#include <string>
#include <vector>

class CCandyType;

class CCandyKind
{
public:
    /** Makes a kind with its root category (id 0, the kind's name). */
    CCandyKind(int id, std::string name);

    /** Adds a linked type: counts it, collects its size and files it under its category copy. */
    void addType(CCandyType* type);

    /** The kind's root category (id 0): types without a category. */
    CCandyCategory* rootCategory() const { return categories.front().get(); }
    /** The kind's copy of the category with `id`, or null. */
    CCandyCategory* findCategory(int id) const;

    int id;
    std::string name;
    std::vector<CCandyType*> types; ///< not owned
    std::vector<IntSize> sizes;
    std::vector<std::unique_ptr<CCandyCategory>> categories; ///< owned copies; root first
    std::vector<CCandyCategory*> topCategories;              ///< parentless copies, sorted
    int listedCount = 0;

private:
    CCandyCategory* copyOf(const CCandyCategory& source);
    IntSize sizePairOf(const CCandyType& type) const;
};
