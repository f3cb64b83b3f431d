#include "ceiling/Bends.h"

#include "ceiling/GridLayout.h"
#include "document/CGridMapping.h"
#include "document/CSplitLine.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vs {

namespace {

/** A bend height or step truncated to an integer; 0 for NaN, capped to the int32 range. */
int32_t truncatedHeight(double h)
{
    if (!(h > 0))
        return 0;
    return static_cast<int32_t>(std::min(h, 2147483647.0));
}

std::vector<SpecialGridCol> specialsIn(const std::vector<SpecialGridCol>& list, int64_t first,
                                       int64_t last, bool mirrored)
{
    std::vector<SpecialGridCol> out;
    for (const SpecialGridCol& s : list)
        if (s.index >= first && s.index <= last)
            out.push_back(
                {static_cast<int32_t>(mirrored ? last - s.index : s.index - first), s.size});
    if (mirrored)
        std::reverse(out.begin(), out.end());
    return out;
}

/** A strip plane of ceiling: columns along the strip from x0 to x0 + length, one row of height. */
std::unique_ptr<CGridMapping> makeStrip(SolidCeiling* ceiling, int32_t gridWidth, int32_t height,
                                        std::vector<SpecialGridCol> cols, double x0, double length)
{
    auto strip = std::make_unique<CGridMapping>(ceiling, nullptr);
    strip->gridWidth = gridWidth;
    strip->gridHeight = height;
    strip->specialGridCols = std::move(cols);
    strip->outlinePoints = {
        {x0, 0}, {x0 + length, 0}, {x0 + length, double(height)}, {x0, double(height)}};
    computeDerivedOutlines(*strip);
    computeBoundsAndCells(*strip);
    computePolygons(*strip);
    return strip;
}

void addStripTile(CGridMapping& strip, const CTile& source, int64_t column, int32_t width,
                  int32_t side)
{
    auto tile = std::make_unique<CTile>();
    tile->plane = &strip;
    tile->candyType = source.candyType;
    tile->gx = static_cast<int32_t>(std::clamp<int64_t>(column, INT32_MIN, INT32_MAX));
    tile->gy = 0;
    tile->rotateDegree = 0;
    tile->tower = 0;
    tile->side = side;
    tile->width = width;
    tile->height = strip.gridHeight;
    placeTile(*tile);
    indexTile(strip, tile.get());
    strip.tiles.push_back(std::move(tile));
}

/** The opening of a docked child in its parent's cells. */
struct Opening
{
    int32_t c0, c1, r0, r1;
};

/** The ring cells, along-strip coordinate of a panel and the size it shows, per bend side. */
struct SideRule
{
    IRect ring;
    bool alongColumns; // top and bottom: the strip runs along the parent's columns
    bool mirrored;     // bottom and left: the strip runs against the parent's grid
};

SideRule ruleFor(int side, const Opening& o)
{
    const int32_t above = o.r0 == INT32_MIN ? o.r0 : o.r0 - 1;
    const int32_t before = o.c0 == INT32_MIN ? o.c0 : o.c0 - 1;
    switch (side) {
    case CGridMapping::TopBend:
        return {{o.c0, above, o.c1 - 1, above}, true, false};
    case CGridMapping::RightBend:
        return {{o.c1, o.r0, o.c1, o.r1 - 1}, false, false};
    case CGridMapping::BottomBend:
        return {{o.c0, o.r1, o.c1 - 1, o.r1}, true, true};
    default:
        return {{before, o.r0, before, o.r1 - 1}, false, true};
    }
}

/**
 * Copies the parent's panels of one ring side into the strip. A mirrored strip counts its
 * columns from the far end of the opening, so a panel's first strip column is the one of its
 * last parent cell (for single-cell panels that is the parent's first cell as well).
 */
void collectPanels(CGridMapping& strip, const CGridMapping& parent, const Opening& o, int side,
                   bool wholeOnly)
{
    const SideRule rule = ruleFor(side, o);
    const int64_t first = rule.alongColumns ? o.c0 : o.r0;
    const int64_t last = (rule.alongColumns ? int64_t(o.c1) : int64_t(o.r1)) - 1;
    for (const CTile* tile : tilesMeeting(parent, rule.ring)) {
        const int64_t tFirst = rule.alongColumns ? tile->gx : tile->gy;
        const int64_t tLast = rule.alongColumns ? tile->lastCol : tile->lastRow;
        if (wholeOnly && (tFirst < first || tLast > last))
            continue;
        const int64_t column = rule.mirrored ? last - tLast : tFirst - first;
        const int32_t width = rule.alongColumns ? tile->width : tile->height;
        addStripTile(strip, *tile, column, width, 0);
    }
}

bool hasDockBends(const CGridMapping& child)
{
    return child.parent != nullptr && child.hasDock && child.installType == 2 &&
           truncatedHeight(child.bendHeight) > 0 && child.dockCols[1] > child.dockCols[0] &&
           child.dockRows[1] > child.dockRows[0];
}

Opening openingOf(const CGridMapping& child)
{
    return {child.dockCols[0], child.dockCols[1], child.dockRows[0], child.dockRows[1]};
}

} // namespace

void buildDockBends(CGridMapping& child)
{
    for (auto& bend : child.bends)
        bend.reset();
    if (!hasDockBends(child))
        return;
    const CGridMapping& parent = *child.parent;
    const Opening o = openingOf(child);
    const int32_t h = truncatedHeight(child.bendHeight);
    const double width = double(gridLinePos(parent.specialGridCols, o.c1, parent.gridWidth)) -
                         gridLinePos(parent.specialGridCols, o.c0, parent.gridWidth);
    const double depth = double(gridLinePos(parent.specialGridRows, o.r1, parent.gridHeight)) -
                         gridLinePos(parent.specialGridRows, o.r0, parent.gridHeight);
    for (int side = 0; side < 4; ++side) {
        const bool alongColumns = side == CGridMapping::TopBend || side == CGridMapping::BottomBend;
        const bool mirrored = side == CGridMapping::BottomBend || side == CGridMapping::LeftBend;
        const auto& specials = alongColumns ? parent.specialGridCols : parent.specialGridRows;
        const int64_t first = alongColumns ? o.c0 : o.r0;
        const int64_t last = (alongColumns ? int64_t(o.c1) : int64_t(o.r1)) - 1;
        child.bends[side] =
            makeStrip(child.ceiling, alongColumns ? parent.gridWidth : parent.gridHeight, h,
                      specialsIn(specials, first, last, mirrored), 0, alongColumns ? width : depth);
        collectPanels(*child.bends[side], parent, o, side, false);
    }
}

void buildSplitLineBend(CSplitLine& line)
{
    line.bend.reset();
    line.bendOffset = 0;
    if (line.installType != 2 || line.hoistSide == CSplitLine::NoStep || line.hoist <= 0 ||
        line.child == nullptr || line.owner == nullptr)
        return;
    const CGridMapping& child = *line.child;
    const bool alongRows = line.owner->horizontalSplit;
    const auto& specials = alongRows ? child.specialGridRows : child.specialGridCols;
    const int32_t size = alongRows ? child.gridHeight : child.gridWidth;
    const double offset = alongRows ? child.realGridOffset.y : child.realGridOffset.x;
    const double s1 = alongRows ? line.pt1.y : line.pt1.x;
    const double s2 = alongRows ? line.pt2.y : line.pt2.x;
    const int32_t i1 = cellAt(size, s1 - offset, specials).index;
    const int32_t i2 = cellAt(size, s2 - offset, specials).index;
    const double length = s2 - s1;
    if (alongRows)
        for (const SpecialGridCol& s : specials)
            if (s.index >= i1 && s.index <= i2)
                throw std::invalid_argument("split line bend: the child has special rows along "
                                            "the line");

    // Which edge of the child's cells the panels come from, and which way the strip runs.
    const bool fromFirst = line.hoistSide == CSplitLine::NextLower;
    const bool mirrored = alongRows ? !fromFirst : fromFirst;
    const double startLine = gridLinePos(specials, i1, size) + offset;
    const double endLine = gridLinePos(specials, i2 == INT32_MAX ? i2 : i2 + 1, size) + offset;
    const double b = mirrored ? endLine - s2 : s1 - startLine;
    line.bendOffset = b;
    if (alongRows) {
        line.bendStart =
            fromFirst ? RPoint{line.pt1.x, line.pt1.y - b} : RPoint{line.pt2.x, line.pt2.y + b};
        line.bendEnd = fromFirst ? line.pt2 : line.pt1;
    } else {
        line.bendStart =
            fromFirst ? RPoint{line.pt2.x + b, line.pt2.y} : RPoint{line.pt1.x - b, line.pt1.y};
        line.bendEnd = fromFirst ? line.pt1 : line.pt2;
    }

    std::vector<SpecialGridCol> stripCols;
    if (!alongRows)
        stripCols = specialsIn(specials, i1, i2, mirrored);
    line.bend = makeStrip(child.ceiling, size, line.hoist, std::move(stripCols), b, length);

    const IRect& cells = child.cellRect;
    IRect ring;
    if (alongRows) {
        const int32_t col = fromFirst ? cells.left : cells.right;
        ring = {col, i1, col, i2};
    } else {
        const int32_t row = fromFirst ? cells.top : cells.bottom;
        ring = {i1, row, i2, row};
    }
    for (const CTile* tile : tilesMeeting(child, ring)) {
        const int64_t tFirst = alongRows ? tile->gy : tile->gx;
        const int64_t tLast = alongRows ? tile->lastRow : tile->lastCol;
        const int64_t column = mirrored ? int64_t(i2) - tLast : tFirst - i1;
        addStripTile(*line.bend, *tile, column, alongRows ? tile->height : tile->width, 0);
    }
}

void buildBends(CGridMapping& plane)
{
    if (plane.isSplit()) {
        for (auto& line : plane.splitLines)
            buildSplitLineBend(*line);
        return;
    }
    for (auto& child : plane.children)
        buildDockBends(*child);
}

std::vector<CGridMapping*> refreshDockBends(CGridMapping& plane)
{
    std::vector<CGridMapping*> refreshed;
    for (auto& child : plane.children) {
        if (child->parent != &plane || !hasDockBends(*child))
            continue;
        const Opening o = openingOf(*child);
        for (int side = 0; side < 4; ++side) {
            CGridMapping* bend = child->bends[side].get();
            if (bend == nullptr)
                continue;
            bend->sameTopIndex.clear();
            bend->tiles.clear();
            collectPanels(*bend, plane, o, side, true);
            refreshed.push_back(bend);
        }
    }
    return refreshed;
}

} // namespace vs
