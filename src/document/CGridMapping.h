// One ceiling plane: a flat area bounded by an outline polygon and covered by a grid of cells
// whose columns and rows have a default size and may have sizes of their own. It holds panels
// (tiles) and hosted items on its cells, and child planes: docked children in openings bounded
// by four of its special grid lines, or a row of children separated by split lines.
//
// Lengths are decimillimetres, angles degrees, plan coordinates with y running down. Grid
// coordinates are relative to realGridOffset (the plan position of grid lines 0). Derived fields
// are computed by the load steps (ceiling/CeilingLoad.h) and the grid layout
// (ceiling/GridLayout.h); plan pictures are painted by ceiling/PlanPicture.h.
#pragma once

#include "CCandiesSameTop.h"
#include "CHost.h"
#include "CSectionLine.h"
#include "CSplitLine.h"
#include "CTile.h"
#include "FitResult.h"
#include "RPoint.h"
#include "RRect.h"
#include "SolidMath.h"
#include "SpecialGridCol.h"
#include "document/PlanPolygon.h"
#include "document/TriangleStrips.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CCandyType;
class SolidCeiling;

/**
 * The plane's grid node and picking while it is shown. The scene layer defines it and hands the
 * plane its own deleter with it, so that the document never sees an engine type.
 */
struct GridMappingScene;

class CGridMapping
{
public:
    /** Bends in the order of `bends`. */
    enum BendSide { TopBend = 0, RightBend = 1, BottomBend = 2, LeftBend = 3 };

    /** A plane of ceiling under parent (null for the root or a bend): every array empty, every
     *  bound empty, lengths 0, pictureAlpha 128, no picture and no scene node. */
    CGridMapping(SolidCeiling* ceiling, CGridMapping* parent);
    /** Deletes the children's bends, the children, its own bends, split lines, trustee section
     *  lines, index bands, hosts and tiles. */
    ~CGridMapping();
    CGridMapping(const CGridMapping&) = delete;
    CGridMapping& operator=(const CGridMapping&) = delete;

    /** Returns the special column with index, or null (linear search, first match). */
    SpecialGridCol* specialGridCol(int32_t index);
    const SpecialGridCol* specialGridCol(int32_t index) const;
    /** Returns the special row with index, or null (linear search, first match). */
    SpecialGridCol* specialGridRow(int32_t index);
    const SpecialGridCol* specialGridRow(int32_t index) const;

    /** Returns the last host whose rect contains the grid-relative point p (left/top inclusive,
     *  right/bottom exclusive), searching from the last host backwards; null when none. */
    CHost* hostAt(const RPoint& p) const;
    /** Returns the last host with id, or null. */
    CHost* hostById(int32_t id) const;
    /** Takes host out of `hosts` and deletes it; its light (if any) loses its link to it.
     *  Returns false (and does nothing) when host is not one of this plane's. */
    bool removeHost(const CHost* host);

    /** True when the plane is divided by split lines. */
    bool isSplit() const { return !splitLines.empty(); }

    // ---- Persisted fields, in the design's order ----
    int32_t id = 0;
    /** Owning plane; null for the root and for bends. Not owned. */
    CGridMapping* parent = nullptr;
    /** The ceiling the plane belongs to; not owned. */
    SolidCeiling* ceiling = nullptr;
    /** Child planes (docked or split), in document order. */
    std::vector<std::unique_ptr<CGridMapping>> children;
    /** Outline polygon, absolute plan coordinates. */
    std::vector<RPoint> outlinePoints;
    /** Default column width and row height. */
    int32_t gridWidth = 0;
    int32_t gridHeight = 0;
    /** Columns and rows with a size of their own, ascending by index (finishOutlines sorts them
     *  and drops repeated indices). */
    std::vector<SpecialGridCol> specialGridCols;
    std::vector<SpecialGridCol> specialGridRows;
    /** Height above its reference; for children of a split plane the height above the lowest
     *  sibling (recomputed from the split lines). */
    double hoist = 0;
    /** Outward growth of a four-point outline on every side. */
    double indent = 0;
    /** Height of the vertical strips around a docked child. */
    double bendHeight = 0;
    /** Rotation of the grid against the plan, degrees. */
    double rotateDegree = 0;
    /** Plan position of grid line 0 of the columns (x) and of the rows (y). */
    RPoint realGridOffset;
    /**
     * The parent's grid lines bounding a docked child's opening, as the `index` values of entries
     * of the parent's specialGridCols (left, right) and specialGridRows (top, bottom). Indices
     * rather than pointers to the entries: the parent's vectors may reallocate. resolveDock
     * checks that the entries exist. Only meaningful when hasDock.
     */
    int32_t dockCols[2] = {0, 0};
    int32_t dockRows[2] = {0, 0};
    /** True once a dock was resolved. */
    bool hasDock = false;
    /** Split lines are vertical, ordered by x (children side by side); false: horizontal. */
    bool horizontalSplit = false;
    /** Split lines in order of pos. */
    std::vector<std::unique_ptr<CSplitLine>> splitLines;
    /** 2 marks a docked child (bends are built for it). */
    int32_t installType = 0;
    /** Default section bar type of the trustee lines. */
    int32_t trusteeSectionBarTypeId = 0;
    std::vector<std::unique_ptr<CSectionLine>> trusteeSectionLines;
    std::vector<std::unique_ptr<CTile>> tiles;
    std::vector<std::unique_ptr<CHost>> hosts;

    // ---- Derived fields ----
    /** Sum of the turn signs over the outline >= 0; true for two points or fewer. */
    bool positiveWinding = true;
    /** Bounds (left = minX, top = minY, right = maxX, bottom = maxY). */
    RRect outlineBounds = emptyBounds();
    RRect indentedBounds = emptyBounds();
    RRect gridBounds = emptyBounds();
    /** Grid-relative outer grid lines of cellRect. */
    RRect alignedBoundRRect = emptyBounds();
    /** cellRect in picture pixels. */
    IRect pixelRect = emptyPixelRect();
    /** First column, first row, last column, last row covering gridBounds, inclusive. */
    IRect cellRect = emptyCellRect();
    int32_t originCol = 0;
    int32_t originRow = 0;
    int32_t colCount = 0;
    int32_t rowCount = 0;
    /** Picture pixels per design unit; the three are always set together. */
    double pictureZoom = 0;
    double zoomX = 0;
    double zoomY = 0;
    /** One contour over outlinePoints. */
    PlanPolygon outlinePolygon;
    /** Triangles of indentedPolygon. */
    TriangleStrips outlineStrips;
    std::vector<RPoint> relOutline;
    /** The outline grown by indent (four-point outlines only). */
    std::vector<RPoint> indentedOutline;
    std::vector<RPoint> relIndentedOutline;
    /** relIndentedOutline rotated by -rotateDegree (single precision). */
    std::vector<RPoint> rotatedOutline;
    /** Vertical strips around a docked child (top, right, bottom, left); null when none. */
    std::array<std::unique_ptr<CGridMapping>, 4> bends;
    /** One contour over indentedOutline. */
    PlanPolygon indentedPolygon;
    /** indentedPolygon minus the outlinePolygon of every child. */
    PlanPolygon openPolygon;
    /** The tiles grouped by first row, bands sorted by ascending top. */
    std::vector<std::unique_ptr<CCandiesSameTop>> sameTopIndex;
    /** The plan picture, Format_ARGB32, top-down; null until created. */
    QImage picture;
    /** Alpha written into every picture pixel. */
    uint8_t pictureAlpha = 128;
    /** Releases the scene record through the deleter the scene layer set. */
    using ScenePtr = std::unique_ptr<GridMappingScene, void (*)(GridMappingScene*)>;
    /** The grid node and selectors while shown (scene/GridMappingScene.h); null otherwise. */
    ScenePtr scene{nullptr, nullptr};

    /** The empty double bounds (2147483647, 2147483647, -2147483648, -2147483648). */
    static RRect emptyBounds()
    {
        return {2147483647.0, 2147483647.0, -2147483648.0, -2147483648.0};
    }
    /** The empty pixel rectangle (2147483647, 2147483647, -2147483647, -2147483647). */
    static IRect emptyPixelRect() { return {2147483647, 2147483647, -2147483647, -2147483647}; }
    /** The empty cell rectangle (2147483647, 2147483647, -2147483648, -2147483648). */
    static IRect emptyCellRect() { return {2147483647, 2147483647, INT32_MIN, INT32_MIN}; }
};
