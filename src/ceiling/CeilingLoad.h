// The load steps of a ceiling plane after the design reader has read its values. The reader
// calls, per plane: (values of steps 1-3), resolveDock when the plane has a dock, finishOutlines,
// addLoadedTile for each tile, addLoadedHost for each host, then loads the children (each by the
// same procedure), then finishPlaneTree. Each step uses the previous ones.
#pragma once

#include <memory>
#include <vector>

class CGridMapping;
class CHost;
class CTile;

namespace vs {

/** Deepest nesting of ceiling planes accepted (the root is depth 0). */
constexpr int kMaxPlaneDepth = 64;

/** Resolves the dock of plane against its parent: the first two numbers name special columns,
 *  the last two special rows of the parent (by index). Sets dockCols, dockRows and hasDock.
 *  Throws std::invalid_argument for fewer than four numbers, a plane without parent, or a
 *  number naming no special column or row of the parent. */
void resolveDock(CGridMapping& plane, const std::vector<int>& dockNumbers);

/** Sorts the special columns and rows, computes the derived outlines, the bounds and cells.
 *  Throws std::invalid_argument for a non-finite outline point, grid offset, indent or rotation,
 *  or a plane nested deeper than kMaxPlaneDepth. */
void finishOutlines(CGridMapping& plane);

/** Takes a tile read for plane (gx/gy relative to originCol/originRow, size, rotation, tower and
 *  side set): makes the indices absolute, places it, adds it to tiles and the index. Returns
 *  false and drops it when it is null or its candyType is null. */
bool addLoadedTile(CGridMapping& plane, std::unique_ptr<CTile> tile);

/** Takes a host read for plane: a grid host has gx/gy relative to originCol/originRow; a free
 *  host (freePosition true) has rect.left/top relative to the alignedBoundRRect corner (the
 *  design's rx/ry after scaling). Makes them absolute, places it and adds it to hosts. Returns
 *  false and drops it when it is null or its candyType is null. */
bool addLoadedHost(CGridMapping& plane, std::unique_ptr<CHost> host);

/** Links split lines to children (hoistSide 1: child i + 1, 2: child i), owns their section
 *  lines to the child. Throws std::invalid_argument when the child does not exist. */
void linkSplitLines(CGridMapping& plane);

/** Sets each split child's hoist to its level above the lowest sibling. */
void computeSplitLevels(CGridMapping& plane);

/** The last steps of plane, after its children were loaded and finished: links split lines,
 *  levels of split children, polygons, bends of docked children (or of split lines). This
 *  plane only; does not recurse. Throws std::invalid_argument as linkSplitLines and
 *  vs::buildBends do. */
void finishPlaneTree(CGridMapping& plane);

} // namespace vs
