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
    auto at = std::find_if(candies.begin(), candies.end(),
                           [tile](const CTile* c) { return c->gx > tile->gx; });
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
