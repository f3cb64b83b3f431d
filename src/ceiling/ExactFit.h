// Exact-fit runs: the runs of successive cells of one grid direction whose sizes add up to a
// panel length exactly, found forwards or backwards from a start index to a limit index. Used
// while the user drags a panel type over a ceiling plane.
#pragma once

#include "document/FitResult.h"
#include "document/SpecialGridCol.h"

#include <cstdint>
#include <vector>

class CGridMapping;

namespace vs {

/** Most cells one search walks; a longer search stops there as if it had reached its limit. */
constexpr int32_t kMaxFitCells = 1 << 20;

/**
 * Returns the exact-fit runs for a panel of `length` from cell `start` towards cell `limit`
 * (forwards when limit >= start, else backwards), kept within the cell range [lo, hi], with
 * pixels at `zoom`. Runs are in ascending order; result.first/last span the search, cut to the
 * range as described for planes. A length below 1 fits nowhere.
 */
FitResult exactFit(const std::vector<SpecialGridCol>& specials, int32_t defaultSize, int32_t length,
                   int32_t start, int32_t limit, int32_t lo, int32_t hi, double zoom);
/** exactFit over the plane's columns, cellRect left ... right and zoomX. */
FitResult exactFitCols(const CGridMapping& plane, int32_t length, int32_t start, int32_t limit);
/** exactFit over the plane's rows, cellRect top ... bottom and zoomY. */
FitResult exactFitRows(const CGridMapping& plane, int32_t length, int32_t start, int32_t limit);

} // namespace vs
