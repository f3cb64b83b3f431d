#include "CCandiesSameTop.h"

#include "CTile.h"

#include <algorithm>

namespace {

int32_t spanOf(const CTile* tile)
{
    const int64_t span = int64_t(tile->lastRow) - tile->gy + 1;
    return static_cast<int32_t>(std::clamp<int64_t>(span, 0, INT32_MAX));
}

} // namespace

void CCandiesSameTop::add(CTile* tile)
{
    // Items are sorted by gx: the first with a larger gx is found by halving, and a tile added
    // in reading order (the common case, stacked tiles included) goes on the end at no cost.
    auto at = candies.empty() || candies.back()->gx <= tile->gx
                  ? candies.end()
                  : std::upper_bound(candies.begin(), candies.end(), tile->gx,
                                     [](int32_t gx, const CTile* c) { return gx < c->gx; });
    candies.insert(at, tile);
    rowSpan = std::max(rowSpan, spanOf(tile));
}

bool CCandiesSameTop::remove(const CTile* tile)
{
    auto at = std::find(candies.begin(), candies.end(), tile);
    if (at == candies.end())
        return false;
    candies.erase(at);
    recomputeRowSpan();
    return true;
}

void CCandiesSameTop::recomputeRowSpan()
{
    rowSpan = 0;
    for (const CTile* c : candies)
        rowSpan = std::max(rowSpan, spanOf(c));
}
