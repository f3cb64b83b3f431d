// A panel category, as poured and as copied into each panel kind's tree.
#pragma once

#include "platform/IntSize.h"

#include <string>
#include <vector>

class CCandyType;

struct CCandyCategory
{
    int id = 0;
    std::string name;
    int parentId = 0; ///< 0 = top level
    int order = 0;    ///< sort key among siblings
    CCandyCategory* parent = nullptr;
    std::vector<CCandyCategory*> children; ///< sorted by order, then id; not owned
    std::vector<IntSize> sizes;            ///< distinct size pairs of the listed types
    std::vector<CCandyType*> types;        ///< not owned
    int listedCount = 0;

    /** Inserts `child` before the first child whose order is greater, or equal with a greater id.
     */
    void insertChild(CCandyCategory* child) { insertByOrder(children, child); }

    /** The sibling order rule shared by children and a kind's top categories. */
    static void insertByOrder(std::vector<CCandyCategory*>& list, CCandyCategory* item);

    /** True when the category or any descendant holds a listed type. */
    bool hasListedTypes() const;
};
