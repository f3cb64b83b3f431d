// The runs of grid cells into which a panel of a given length fits exactly, for one grid
// direction (columns or rows). Indices are absolute grid indices; pixels are plan-picture
// pixels of the plane the fit was made on.
#pragma once

#include <cstdint>
#include <vector>

/** One run of cells whose sizes add up to the panel length exactly. */
struct FitRun
{
    int32_t first = 0;
    /** Inclusive. */
    int32_t last = 0;
    int32_t cellCount = 0;
    int32_t pixelStart = 0;
    int32_t pixelWidth = 0;
    int32_t spare = 0;
};

/** The runs found between a start and a limit index, in ascending order. */
struct FitResult
{
    int32_t first = 0;
    /** Inclusive. */
    int32_t last = 0;
    int32_t pixelStart = 0;
    int32_t pixelWidth = 0;
    std::vector<FitRun> runs;
};
