// Reading the ceiling plane tree of a design element.
#pragma once

#include <pugixml.hpp>

#include <memory>

class CGridMapping;
class DesignCatalogue;
class SolidCeiling;

namespace vs {

/** Largest coordinate or length (decimillimetres) a ceiling plane may have: 100 km. */
constexpr double kMaxCeilingCoordinate = 1e9;
/** Most grid columns (rows) a plane's outline may span at its default grid size. */
constexpr double kMaxCellsPerAxis = 1 << 20;
/** Largest grid index (absolute value) of a special column, tile or host. */
constexpr int kMaxGridIndex = 1 << 24;

/**
 * Reads the ceiling plane `element` and, recursively, its children into a new plane of
 * `ceiling` under `parent` (null for the root), lengths multiplied by `scale`: the values of
 * the first three load steps, then the derived outlines, the tiles, the hosts, the children and
 * the links and geometry of the tree, in the order of the ceiling load. `depth` is the nesting
 * level of `element` (0 for the root).
 *
 * Throws std::invalid_argument for a malformed plane: too few numbers, a dock naming no special
 * column or row of the parent (or given on the root), a split line linked to a missing child,
 * numbers that are not finite or beyond kMaxCeilingCoordinate, a grid size below 1 on a plane
 * with an outline, an outline spanning more than kMaxCellsPerAxis cells, grid indices beyond
 * kMaxGridIndex, or nesting deeper than kMaxDesignNesting.
 */
std::unique_ptr<CGridMapping> readCeilingPlane(pugi::xml_node element, SolidCeiling& ceiling,
                                               CGridMapping* parent, int scale,
                                               DesignCatalogue& catalogue, int depth = 0);

} // namespace vs
