// Grid arithmetic of one direction of a ceiling plane's grid: the columns (specialGridCols,
// gridWidth, zoomX) or the rows (specialGridRows, gridHeight, zoomY). Coordinates are
// grid-relative decimillimetres: grid line 0 lies at 0, cell n is the band between lines n and
// n + 1, and indices run to both sides of 0. The special list must be sorted by ascending index
// without repeats (finishOutlines makes it so).
//
// Hostile grids stay safe: a default size below 1 is taken as 1, so every walk ends; positions
// are computed in 64 bits and saturated to int32; non-finite coordinates count as 0 and huge ones
// are clamped to the int32 range; no function loops over default cells one by one.
#pragma once

#include "document/SpecialGridCol.h"

#include <cstdint>
#include <vector>

namespace vs {

/** A cell found for a coordinate. */
struct GridCell
{
    int32_t index = 0;
    /** Distance of the coordinate from the cell's left (top) boundary. Left of grid line 0 the
     *  rule mirrors: the distance from the cell's right (bottom) boundary, and 0 when the
     *  coordinate lies on the cell's left (top) boundary. */
    double offset = 0;
    /** Width (height) of the cell. */
    int32_t size = 0;
};

/** A cell found for a picture pixel. */
struct PixelCell
{
    int32_t index = 0;
    /** Pixels from the cell's rounded left (top) boundary; mirrored left of pixel 0 as for
     *  GridCell::offset. */
    int32_t offset = 0;
};

/** Returns floor(v + 0.5) saturated to the int32 range; NaN gives 0. */
int32_t nearestPixel(double v);

/** Returns the size of cell index: its special size, or defaultSize (at least 1). */
int32_t cellSize(const std::vector<SpecialGridCol>& specials, int32_t index, int32_t defaultSize);

/** Returns the grid-relative coordinate of grid line n (saturated to int32). Lines left of 0
 *  mirror the rule: special index i counts as -i - 1 and the result is negated. */
int32_t gridLinePos(const std::vector<SpecialGridCol>& specials, int32_t n, int32_t defaultSize);

/** Returns the cell containing x; a coordinate exactly on a grid line belongs to the cell that
 *  starts there (for x < 0: the cell whose boundary nearer to 0 it is on). */
GridCell cellAt(int32_t defaultSize, double x, const std::vector<SpecialGridCol>& specials);

/** Returns the cell containing picture pixel `pixel` at zoom pixels per design unit, every
 *  boundary taken as nearestPixel(zoom * position). A zoom that is not a positive finite number
 *  gives cell 0 with the pixel as offset. */
PixelCell cellAtPixel(int32_t pixel, int32_t defaultSize,
                      const std::vector<SpecialGridCol>& specials, double zoom);

/** Returns the number of cells from cell start whose sizes add up to at least length (at least
 *  1, saturated to int32). */
int32_t cellsToCover(int32_t start, double length, int32_t defaultSize,
                     const std::vector<SpecialGridCol>& specials);

/** Returns the number of cells touched from x1 to x2: cellAt(x2) - cellAt(x1), plus 1 when x2
 *  is not exactly on a grid line (saturated to int32). */
int32_t cellsSpanned(double x1, double x2, int32_t defaultSize,
                     const std::vector<SpecialGridCol>& specials);

/** Sorts specials by ascending index and drops entries whose index repeats an earlier one
 *  (the first in the given order wins). */
void normaliseSpecials(std::vector<SpecialGridCol>& specials);

} // namespace vs
