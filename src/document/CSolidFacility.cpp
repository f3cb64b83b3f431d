#include "CSolidFacility.h"

CSolidFacility::CSolidFacility() = default;

// A corrupt design can nest groups arbitrarily deep; deleting them one by one from a flat list
// keeps the stack depth constant instead of recursing once per level.
CSolidFacility::~CSolidFacility()
{
    std::vector<std::unique_ptr<CSolidFacility>> pending = std::move(children);
    while (!pending.empty()) {
        std::unique_ptr<CSolidFacility> member = std::move(pending.back());
        pending.pop_back();
        for (auto& child : member->children)
            pending.push_back(std::move(child));
        member->children.clear();
    }
}
