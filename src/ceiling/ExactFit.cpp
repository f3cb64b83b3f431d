#include "ceiling/ExactFit.h"

#include "ceiling/GridFunctions.h"
#include "document/CGridMapping.h"

#include <algorithm>

namespace vs {

namespace {

struct Direction
{
    const std::vector<SpecialGridCol>& specials;
    int32_t defaultSize;
};

FitRun makeRun(int64_t first, int64_t last)
{
    FitRun run;
    run.first = static_cast<int32_t>(first);
    run.last = static_cast<int32_t>(last);
    run.cellCount = static_cast<int32_t>(last - first + 1);
    return run;
}

/** Runs from start up to limit (inclusive), each of cells summing to length exactly. */
std::vector<FitRun> searchForwards(const Direction& dir, int64_t length, int64_t start,
                                   int64_t limit)
{
    std::vector<FitRun> runs;
    int64_t runStart = start;
    int64_t cell = start;
    int64_t sum = 0;
    for (int32_t walked = 0; cell <= limit && walked < kMaxFitCells; ++walked) {
        sum += cellSize(dir.specials, static_cast<int32_t>(cell), dir.defaultSize);
        if (sum == length) {
            runs.push_back(makeRun(runStart, cell));
            runStart = cell = cell + 1;
            sum = 0;
        } else if (sum > length) {
            runStart = cell = runStart + 1;
            sum = 0;
        } else {
            ++cell;
        }
    }
    return runs;
}

/** Runs from start down to limit (inclusive), in ascending order. */
std::vector<FitRun> searchBackwards(const Direction& dir, int64_t length, int64_t start,
                                    int64_t limit)
{
    std::vector<FitRun> reversed;
    int64_t runEnd = start;
    int64_t cell = start;
    int64_t sum = 0;
    for (int32_t walked = 0; cell >= limit && walked < kMaxFitCells; ++walked) {
        sum += cellSize(dir.specials, static_cast<int32_t>(cell), dir.defaultSize);
        if (sum == length) {
            reversed.push_back(makeRun(cell, runEnd));
            runEnd = cell = cell - 1;
            sum = 0;
        } else if (sum > length) {
            runEnd = cell = runEnd - 1;
            sum = 0;
        } else {
            --cell;
        }
    }
    return {reversed.rbegin(), reversed.rend()};
}

void setPixels(const Direction& dir, double zoom, int32_t first, int32_t last, int32_t& start,
               int32_t& width)
{
    const int32_t end = last == INT32_MAX ? last : last + 1;
    start = nearestPixel(zoom * gridLinePos(dir.specials, first, dir.defaultSize));
    const int64_t w =
        int64_t(nearestPixel(zoom * gridLinePos(dir.specials, end, dir.defaultSize))) - start;
    width = static_cast<int32_t>(std::clamp<int64_t>(w, INT32_MIN, INT32_MAX));
}

} // namespace

FitResult exactFit(const std::vector<SpecialGridCol>& specials, int32_t defaultSize, int32_t length,
                   int32_t start, int32_t limit, int32_t lo, int32_t hi, double zoom)
{
    const Direction dir{specials, defaultSize};
    FitResult result;
    const bool forwards = limit >= start;
    if (length >= 1)
        result.runs = forwards ? searchForwards(dir, length, start, limit)
                               : searchBackwards(dir, length, start, limit);
    if (forwards) {
        result.first = start;
        result.last = result.runs.empty() ? limit : result.runs.back().last;
    } else {
        result.first = result.runs.empty() ? limit : result.runs.front().first;
        result.last = start;
    }

    // Keep to the plane's cells.
    auto& runs = result.runs;
    runs.erase(
        std::remove_if(runs.begin(), runs.end(), [lo](const FitRun& run) { return run.last < lo; }),
        runs.end());
    runs.erase(
        std::find_if(runs.begin(), runs.end(), [hi](const FitRun& run) { return run.first > hi; }),
        runs.end());
    if (result.first < lo)
        result.first = runs.empty() ? lo : std::min(lo, runs.front().first);
    if (result.last > hi)
        result.last = runs.empty() ? hi : std::max(hi, runs.back().last);

    for (FitRun& run : runs)
        setPixels(dir, zoom, run.first, run.last, run.pixelStart, run.pixelWidth);
    setPixels(dir, zoom, result.first, result.last, result.pixelStart, result.pixelWidth);
    return result;
}

FitResult exactFitCols(const CGridMapping& plane, int32_t length, int32_t start, int32_t limit)
{
    return exactFit(plane.specialGridCols, plane.gridWidth, length, start, limit,
                    plane.cellRect.left, plane.cellRect.right, plane.zoomX);
}

FitResult exactFitRows(const CGridMapping& plane, int32_t length, int32_t start, int32_t limit)
{
    return exactFit(plane.specialGridRows, plane.gridHeight, length, start, limit,
                    plane.cellRect.top, plane.cellRect.bottom, plane.zoomY);
}

} // namespace vs
