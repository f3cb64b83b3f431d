// The column or row range of a LayTiles call: "first,last" followed by ",first,last" for each
// run of cells a panel fits exactly (absolute grid indices).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vhost {

struct TileRun
{
    int32_t first = 0;
    int32_t last = 0;
};

struct TileRange
{
    int32_t first = 0;
    int32_t last = 0;
    std::vector<TileRun> runs;

    /** Parses a range text. Throws std::invalid_argument for null or malformed text, an odd
     *  count of numbers, or a run whose last index is before its first. */
    static TileRange parse(const char* text);
};

} // namespace vhost
