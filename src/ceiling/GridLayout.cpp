#include "ceiling/GridLayout.h"

#include "catalogue/CCandyType.h"
#include "ceiling/Bends.h"
#include "ceiling/PolygonOps.h"
#include "document/CGridMapping.h"
#include "document/CeilingSceneHooks.h"
#include "document/SolidCeiling.h"

#include <algorithm>
#include <cmath>

namespace vs {

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

int32_t saturate(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

/** n + 1 without overflow. */
int32_t nextLine(int32_t n)
{
    return n == INT32_MAX ? n : n + 1;
}

RRect boundsOf(const std::vector<RPoint>& points)
{
    RRect b = CGridMapping::emptyBounds();
    for (const RPoint& p : points) {
        b.left = std::min(b.left, p.x);
        b.top = std::min(b.top, p.y);
        b.right = std::max(b.right, p.x);
        b.bottom = std::max(b.bottom, p.y);
    }
    return b;
}

CeilingSceneHooks* hooksOf(const CGridMapping& plane)
{
    return plane.ceiling != nullptr ? plane.ceiling->sceneHooks : nullptr;
}

/** Extent (along columns, along rows) of an item of width w and height h turned by degrees. */
std::pair<double, double> extentOf(double w, double h, int32_t degrees)
{
    const int32_t r = ((degrees % 360) + 360) % 360;
    if (r == 0 || r == 180)
        return {w, h};
    return {h, w};
}

/** Places candy on the grid from gx/gy with the given extents. */
void placeOnGrid(CCandy& candy, double colExtent, double rowExtent)
{
    const CGridMapping& plane = *candy.plane;
    candy.lastCol =
        saturate(int64_t(candy.gx) +
                 cellsToCover(candy.gx, colExtent, plane.gridWidth, plane.specialGridCols) - 1);
    candy.lastRow =
        saturate(int64_t(candy.gy) +
                 cellsToCover(candy.gy, rowExtent, plane.gridHeight, plane.specialGridRows) - 1);
    candy.rect.left = gridLinePos(plane.specialGridCols, candy.gx, plane.gridWidth);
    candy.rect.top = gridLinePos(plane.specialGridRows, candy.gy, plane.gridHeight);
    candy.rect.right = candy.rect.left + colExtent;
    candy.rect.bottom = candy.rect.top + rowExtent;
    candy.storedRect = candy.rect;
}

/** Sets candy's pixel rectangle from its rect's left/top and the extents. */
void placePixels(CCandy& candy, double colExtent, double rowExtent)
{
    const CGridMapping& plane = *candy.plane;
    if (!(plane.pictureZoom > 0)) {
        candy.pixelRect = CGridMapping::emptyPixelRect();
        return;
    }
    IRect& px = candy.pixelRect;
    px.left = nearestPixel(plane.zoomX * candy.rect.left);
    px.top = nearestPixel(plane.zoomY * candy.rect.top);
    px.right = saturate(int64_t(px.left) + nearestPixel(plane.zoomX * colExtent) - 1);
    px.bottom = saturate(int64_t(px.top) + nearestPixel(plane.zoomY * rowExtent) - 1);
}

std::pair<double, double> hostExtent(const CHost& host)
{
    if (host.candyType == nullptr)
        return {0, 0};
    return extentOf(host.candyType->width, host.candyType->height, host.rotateDegree);
}

void placeTilePixels(CTile& tile)
{
    const auto [cols, rows] = extentOf(tile.width, tile.height, tile.rotateDegree);
    placePixels(tile, cols, rows);
}

void placeHostPixels(CHost& host)
{
    const auto [cols, rows] = hostExtent(host);
    placePixels(host, cols, rows);
}

/** True when [first, last] lies inside one of runs (ascending, not overlapping). */
bool runContains(const std::vector<FitRun>& runs, int32_t first, int32_t last)
{
    auto after = std::upper_bound(runs.begin(), runs.end(), first,
                                  [](int32_t v, const FitRun& run) { return v < run.first; });
    if (after == runs.begin())
        return false;
    const FitRun& run = *(after - 1);
    return first >= run.first && last <= run.last;
}

} // namespace

bool isEmptyRect(const IRect& r)
{
    return r.right < r.left || r.bottom < r.top;
}

IRect uniteRects(const IRect& a, const IRect& b)
{
    if (isEmptyRect(a))
        return b;
    if (isEmptyRect(b))
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

double colLinePos(const CGridMapping& plane, int32_t n)
{
    return gridLinePos(plane.specialGridCols, n, plane.gridWidth) + plane.realGridOffset.x;
}

double rowLinePos(const CGridMapping& plane, int32_t n)
{
    return gridLinePos(plane.specialGridRows, n, plane.gridHeight) + plane.realGridOffset.y;
}

GridCell colAt(const CGridMapping& plane, double planX)
{
    return cellAt(plane.gridWidth, planX - plane.realGridOffset.x, plane.specialGridCols);
}

GridCell rowAt(const CGridMapping& plane, double planY)
{
    return cellAt(plane.gridHeight, planY - plane.realGridOffset.y, plane.specialGridRows);
}

int32_t colPixel(const CGridMapping& plane, int32_t n)
{
    return nearestPixel(plane.zoomX * gridLinePos(plane.specialGridCols, n, plane.gridWidth));
}

int32_t rowPixel(const CGridMapping& plane, int32_t n)
{
    return nearestPixel(plane.zoomY * gridLinePos(plane.specialGridRows, n, plane.gridHeight));
}

void computeDerivedOutlines(CGridMapping& plane)
{
    const RPoint offset = plane.realGridOffset;
    const std::vector<RPoint>& outline = plane.outlinePoints;

    plane.relOutline.clear();
    for (const RPoint& p : outline)
        plane.relOutline.push_back({p.x - offset.x, p.y - offset.y});

    plane.indentedOutline = outline;
    if (outline.size() == 4 && plane.indent != 0) {
        double minX = outline[0].x;
        double minY = outline[0].y;
        for (const RPoint& p : outline) {
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
        }
        for (RPoint& p : plane.indentedOutline) {
            p.x += p.x == minX ? -plane.indent : plane.indent;
            p.y += p.y == minY ? -plane.indent : plane.indent;
        }
    }

    plane.relIndentedOutline.clear();
    for (const RPoint& p : plane.indentedOutline)
        plane.relIndentedOutline.push_back({p.x - offset.x, p.y - offset.y});

    // Single precision, as the grid has always been turned.
    const float angle = static_cast<float>(-plane.rotateDegree * kDegreesToRadians);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    plane.rotatedOutline.clear();
    for (const RPoint& p : plane.relIndentedOutline) {
        const float x = static_cast<float>(p.x);
        const float y = static_cast<float>(p.y);
        plane.rotatedOutline.push_back({x * c - y * s, x * s + y * c});
    }
}

void computeBoundsAndCells(CGridMapping& plane)
{
    if (plane.outlinePoints.empty()) {
        plane.outlineBounds = CGridMapping::emptyBounds();
        return;
    }
    plane.positiveWinding = vs::positiveWinding(plane.outlinePoints);
    plane.outlineBounds = boundsOf(plane.outlinePoints);
    plane.indentedBounds = boundsOf(plane.indentedOutline);
    plane.gridBounds = boundsOf(plane.rotatedOutline);

    const RRect& g = plane.gridBounds;
    plane.originCol = cellAt(plane.gridWidth, g.left, plane.specialGridCols).index;
    plane.originRow = cellAt(plane.gridHeight, g.top, plane.specialGridRows).index;
    plane.colCount = cellsSpanned(g.left, g.right, plane.gridWidth, plane.specialGridCols);
    plane.rowCount = cellsSpanned(g.top, g.bottom, plane.gridHeight, plane.specialGridRows);

    IRect& cells = plane.cellRect;
    cells.left = plane.originCol;
    cells.top = plane.originRow;
    cells.right = saturate(int64_t(plane.originCol) + plane.colCount - 1);
    cells.bottom = saturate(int64_t(plane.originRow) + plane.rowCount - 1);

    plane.alignedBoundRRect = {
        double(gridLinePos(plane.specialGridCols, cells.left, plane.gridWidth)),
        double(gridLinePos(plane.specialGridRows, cells.top, plane.gridHeight)),
        double(gridLinePos(plane.specialGridCols, nextLine(cells.right), plane.gridWidth)),
        double(gridLinePos(plane.specialGridRows, nextLine(cells.bottom), plane.gridHeight))};
}

void computePolygons(CGridMapping& plane)
{
    plane.outlinePolygon = PlanPolygon::fromPoints(plane.outlinePoints);
    plane.indentedPolygon = PlanPolygon::fromPoints(plane.indentedOutline);
    plane.outlineStrips = triangulate(plane.indentedPolygon);
    std::vector<const PlanPolygon*> childOutlines;
    for (const auto& child : plane.children)
        childOutlines.push_back(&child->outlinePolygon);
    plane.openPolygon = openPolygon(plane.indentedPolygon, childOutlines);
}

void setZoom(CGridMapping& plane, double zoom)
{
    if (!std::isfinite(zoom) || zoom < 0)
        zoom = 0;
    plane.pictureZoom = plane.zoomX = plane.zoomY = zoom;
    for (auto& tile : plane.tiles)
        placeTilePixels(*tile);
    for (auto& host : plane.hosts)
        placeHostPixels(*host);
    if (isEmptyRect(plane.cellRect))
        plane.pixelRect = CGridMapping::emptyPixelRect();
    else
        plane.pixelRect = {colPixel(plane, plane.cellRect.left),
                           rowPixel(plane, plane.cellRect.top),
                           colPixel(plane, nextLine(plane.cellRect.right)),
                           rowPixel(plane, nextLine(plane.cellRect.bottom))};
}

IRect pixelRectOfCells(const CGridMapping& plane, const IRect& cells)
{
    return {colPixel(plane, cells.left), rowPixel(plane, cells.top),
            saturate(int64_t(colPixel(plane, nextLine(cells.right))) - 1),
            saturate(int64_t(rowPixel(plane, nextLine(cells.bottom))) - 1)};
}

void placeTile(CTile& tile)
{
    if (tile.plane == nullptr)
        return;
    const auto [cols, rows] = extentOf(tile.width, tile.height, tile.rotateDegree);
    placeOnGrid(tile, cols, rows);
    placePixels(tile, cols, rows);
}

void placeHost(CHost& host)
{
    if (host.plane == nullptr)
        return;
    const auto [cols, rows] = hostExtent(host);
    if (host.freePosition) {
        host.rect.right = host.rect.left + cols;
        host.rect.bottom = host.rect.top + rows;
        host.storedRect = host.rect;
    } else {
        placeOnGrid(host, cols, rows);
    }
    placePixels(host, cols, rows);
}

void indexTile(CGridMapping& plane, CTile* tile)
{
    auto& bands = plane.sameTopIndex;
    auto at = std::lower_bound(
        bands.begin(), bands.end(), tile->gy,
        [](const std::unique_ptr<CCandiesSameTop>& band, int32_t top) { return band->top < top; });
    if (at == bands.end() || (*at)->top != tile->gy)
        at = bands.insert(at, std::make_unique<CCandiesSameTop>(tile->gy));
    (*at)->add(tile);
}

bool unindexTile(CGridMapping& plane, const CTile* tile)
{
    auto& bands = plane.sameTopIndex;
    auto band = std::lower_bound(
        bands.begin(), bands.end(), tile->gy,
        [](const std::unique_ptr<CCandiesSameTop>& b, int32_t top) { return b->top < top; });
    if (band != bands.end() && (*band)->remove(tile)) {
        if ((*band)->candies.empty())
            bands.erase(band);
        return true;
    }
    // A tile whose gy changed after it was indexed: look through every band.
    for (auto at = bands.begin(); at != bands.end(); ++at) {
        if (!(*at)->remove(tile))
            continue;
        if ((*at)->candies.empty())
            bands.erase(at);
        return true;
    }
    return false;
}

std::vector<CTile*> tilesMeeting(const CGridMapping& plane, const IRect& cells)
{
    std::vector<CTile*> found;
    for (const auto& band : plane.sameTopIndex) {
        if (band->top > cells.bottom)
            break;
        if (int64_t(cells.top) >= int64_t(band->top) + band->rowSpan)
            continue;
        for (CTile* tile : band->candies) {
            if (tile->gx > cells.right)
                break;
            if (cells.top > tile->lastRow || cells.left > tile->lastCol)
                continue;
            found.push_back(tile);
        }
    }
    return found;
}

IRect removeTilesUnder(CGridMapping& plane, const FitResult& cols, const FitResult& rows)
{
    IRect area = CGridMapping::emptyPixelRect();
    CeilingSceneHooks* hooks = hooksOf(plane);
    auto taken = [&](const std::unique_ptr<CTile>& tile) {
        return runContains(cols.runs, tile->gx, tile->lastCol) &&
               runContains(rows.runs, tile->gy, tile->lastRow);
    };
    for (auto& tile : plane.tiles) {
        if (!taken(tile))
            continue;
        unindexTile(plane, tile.get());
        if (hooks != nullptr)
            hooks->tileRemoved(*tile);
        area = uniteRects(area, tile->pixelRect);
    }
    plane.tiles.erase(std::remove_if(plane.tiles.begin(), plane.tiles.end(), taken),
                      plane.tiles.end());
    return area;
}

IRect layPanels(CGridMapping& plane, CCandyType& type, const FitResult& cols, const FitResult& rows,
                std::vector<CGridMapping*>* refreshedBends)
{
    IRect area = removeTilesUnder(plane, cols, rows);
    CeilingSceneHooks* hooks = hooksOf(plane);
    size_t laid = 0;
    for (const FitRun& row : rows.runs) {
        for (const FitRun& col : cols.runs) {
            if (laid++ >= kMaxLaidTiles)
                break;
            auto tile = std::make_unique<CTile>();
            tile->plane = &plane;
            tile->candyType = &type;
            tile->gx = col.first;
            tile->gy = row.first;
            tile->rotateDegree = type.rotateDegree;
            tile->tower = type.tower;
            tile->side = -1;
            tile->width = type.width;
            tile->height = type.height;
            placeTile(*tile);
            indexTile(plane, tile.get());
            CTile& added = *tile;
            plane.tiles.push_back(std::move(tile));
            if (hooks != nullptr)
                hooks->tileAdded(added);
            area = uniteRects(area, added.pixelRect);
        }
    }
    std::vector<CGridMapping*> bends = refreshDockBends(plane);
    if (refreshedBends != nullptr)
        refreshedBends->insert(refreshedBends->end(), bends.begin(), bends.end());
    return area;
}

} // namespace vs
