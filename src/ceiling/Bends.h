// Bends: the vertical strips between ceiling levels. A docked child gets four (top, right,
// bottom, left) showing the parent's panels of the ring of cells just outside its opening; a
// split line with a step gets one showing the child's panels along the line. Each bend is a
// plane of its own (no parent) whose grid runs along the strip and whose single row is the
// strip's height.
#pragma once

#include <vector>

class CGridMapping;
class CSplitLine;

namespace vs {

/** Builds the bends of plane's children: for a plane without split lines the four bends of
 *  every docked child (installType 2, bendHeight > 0, resolved dock); for a split plane the
 *  bend of each split line. Existing bends are replaced. Throws std::invalid_argument as
 *  buildSplitLineBend does. */
void buildBends(CGridMapping& plane);
/** Builds the four bends of one docked child against its parent (none when bendHeight
 *  truncates to 0 or below, or when the child has no parent or no dock). */
void buildDockBends(CGridMapping& child);
/** Re-collects the panels of every docked child's bends from the parent's ring cells, keeping
 *  only panels wholly inside the opening's span. Returns the bends changed (their pictures need
 *  repainting). */
std::vector<CGridMapping*> refreshDockBends(CGridMapping& plane);
/** Builds the bend of a split line with installType 2, a step (hoistSide != 0, hoist != 0) and
 *  a linked child; other lines get none. Throws std::invalid_argument for a line along the rows
 *  whose child has special rows inside the line's cell range. */
void buildSplitLineBend(CSplitLine& line);

} // namespace vs
