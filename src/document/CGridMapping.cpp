#include "CGridMapping.h"

#include "CSolidLight.h"

#include <algorithm>

CGridMapping::CGridMapping(SolidCeiling* ceiling, CGridMapping* parent)
    : parent(parent), ceiling(ceiling)
{
}

CGridMapping::~CGridMapping()
{
    // Bends hold copies of this plane's and the children's panels but no pointers into them;
    // deleting them first keeps the order the scene expects (bends before their planes).
    for (auto& child : children)
        for (auto& bend : child->bends)
            bend.reset();
    children.clear();
    for (auto& bend : bends)
        bend.reset();
    splitLines.clear();
    trusteeSectionLines.clear();
    sameTopIndex.clear();
    hosts.clear();
    tiles.clear();
}

namespace {

template <typename List> auto findSpecial(List& list, int32_t index) -> decltype(&list.front())
{
    for (auto& entry : list)
        if (entry.index == index)
            return &entry;
    return nullptr;
}

} // namespace

SpecialGridCol* CGridMapping::specialGridCol(int32_t index)
{
    return findSpecial(specialGridCols, index);
}

const SpecialGridCol* CGridMapping::specialGridCol(int32_t index) const
{
    return findSpecial(specialGridCols, index);
}

SpecialGridCol* CGridMapping::specialGridRow(int32_t index)
{
    return findSpecial(specialGridRows, index);
}

const SpecialGridCol* CGridMapping::specialGridRow(int32_t index) const
{
    return findSpecial(specialGridRows, index);
}

CHost* CGridMapping::hostAt(const RPoint& p) const
{
    for (auto it = hosts.rbegin(); it != hosts.rend(); ++it) {
        const RRect& r = (*it)->rect;
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return it->get();
    }
    return nullptr;
}

CHost* CGridMapping::hostById(int32_t hostId) const
{
    for (auto it = hosts.rbegin(); it != hosts.rend(); ++it)
        if ((*it)->id == hostId)
            return it->get();
    return nullptr;
}

bool CGridMapping::removeHost(const CHost* host)
{
    auto at = std::find_if(hosts.begin(), hosts.end(),
                           [host](const std::unique_ptr<CHost>& h) { return h.get() == host; });
    if (at == hosts.end())
        return false;
    // The light stays in the room's list; it must not point at a deleted host.
    if ((*at)->light != nullptr && (*at)->light->host == at->get())
        (*at)->light->host = nullptr;
    hosts.erase(at);
    return true;
}
