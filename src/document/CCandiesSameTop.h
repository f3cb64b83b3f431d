// An index band of a plane's panels: all panels whose first row (gy) is `top`, sorted by their
// first column. A plane keeps its bands sorted by `top` so that region queries skip whole bands.
#pragma once

#include <cstdint>
#include <vector>

class CTile;

class CCandiesSameTop
{
public:
    /** An empty band for row top. */
    explicit CCandiesSameTop(int32_t top) : top(top) {}

    /** Inserts tile before the first item with a larger gx (else appends) and grows rowSpan. */
    void add(CTile* tile);
    /** Takes tile out of the band if it is there and recomputes rowSpan; returns whether it was. */
    bool remove(const CTile* tile);
    /** Recomputes rowSpan from the items (0 when empty). */
    void recomputeRowSpan();

    /** The row shared as gy by all items. */
    int32_t top = 0;
    /** The largest lastRow - gy + 1 among the items. */
    int32_t rowSpan = 0;
    /** Items sorted by ascending gx; not owned (the plane's tiles own them). */
    std::vector<CTile*> candies;
};
