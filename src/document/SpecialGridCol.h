// A grid column (or row) with its own size, replacing the plane's default width (height).
#pragma once

#include <cstdint>

struct SpecialGridCol
{
    /** Grid column (row) index; negative indices lie left of (above) grid line 0. */
    int32_t index = 0;
    /** Width (height) of that column (row) in decimillimetres. */
    int32_t size = 0;
};
