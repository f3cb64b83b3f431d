// Placed geometry of a ceiling plane: derived outlines, bounds and cells, zoom and pixel
// rectangles, placing panels and hosts on the grid, the index of panels by first row, and
// replacing panels under two exact-fit results. Lengths are decimillimetres; grid-relative
// coordinates are relative to the plane's realGridOffset. Nothing here paints: operations that
// change what the plan picture shows return the absolute pixel rectangle to repaint
// (vs::repaintPlanRect), empty (CGridMapping::emptyPixelRect()) when nothing changed.
#pragma once

#include "ceiling/GridFunctions.h"
#include "document/FitResult.h"
#include "document/RPoint.h"
#include "document/SolidMath.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CCandyType;
class CGridMapping;
class CHost;
class CTile;

namespace vs {

// ---- Rectangles ----

/** True when r has no pixel (right < left or bottom < top). */
bool isEmptyRect(const IRect& r);
/** Returns the smallest rectangle holding both; an empty operand is ignored. */
IRect uniteRects(const IRect& a, const IRect& b);

// ---- Grid lines of a plane ----

/** Returns the plan x of column line n: gridLinePos over the columns + realGridOffset.x. */
double colLinePos(const CGridMapping& plane, int32_t n);
/** Returns the plan y of row line n: gridLinePos over the rows + realGridOffset.y. */
double rowLinePos(const CGridMapping& plane, int32_t n);
/** Returns the column at plan x (cellAt over the columns of x - realGridOffset.x). */
GridCell colAt(const CGridMapping& plane, double planX);
/** Returns the row at plan y (cellAt over the rows of y - realGridOffset.y). */
GridCell rowAt(const CGridMapping& plane, double planY);
/** Returns the absolute pixel of column line n: nearestPixel(zoomX * gridLinePos). */
int32_t colPixel(const CGridMapping& plane, int32_t n);
/** Returns the absolute pixel of row line n: nearestPixel(zoomY * gridLinePos). */
int32_t rowPixel(const CGridMapping& plane, int32_t n);

// ---- Derived geometry ----

/** Computes relOutline, indentedOutline (a four-point outline grows by indent on every side),
 *  relIndentedOutline and rotatedOutline (rotated by -rotateDegree in single precision). */
void computeDerivedOutlines(CGridMapping& plane);
/** Computes positiveWinding, the three bounds, originCol/Row, colCount/rowCount, cellRect and
 *  alignedBoundRRect from the derived outlines. A plane without outline points gets empty
 *  outlineBounds and nothing else changes. */
void computeBoundsAndCells(CGridMapping& plane);
/** Computes outlinePolygon, indentedPolygon, outlineStrips and openPolygon (indentedPolygon
 *  minus each child's outlinePolygon; children must have theirs). */
void computePolygons(CGridMapping& plane);
/** Sets pictureZoom, zoomX and zoomY to zoom, recomputes the pixel rectangle of every tile and
 *  host and the plane's pixelRect. */
void setZoom(CGridMapping& plane, double zoom);
/** Returns the absolute pixel rectangle of the cells (c0, r0, c1, r1), inclusive. */
IRect pixelRectOfCells(const CGridMapping& plane, const IRect& cells);

// ---- Placing ----

/** Places tile on its plane from gx, gy (absolute), rotateDegree, width and height: lastCol,
 *  lastRow, rect, storedRect and (when the plane has a zoom) pixelRect. */
void placeTile(CTile& tile);
/** Places host with its type's size (swapped for 90 and 270 degrees): on the grid from gx/gy,
 *  or at its free position (rect.left/top, grid-relative) when freePosition. A host given by
 *  cell on a band ceiling is placed on the grid like any other. A host without type gets an
 *  empty size. */
void placeHost(CHost& host);

// ---- Index by first row ----

/** Adds tile to the plane's sameTopIndex (the band of its gy, made when missing). */
void indexTile(CGridMapping& plane, CTile* tile);
/** Takes tile out of its band (an emptied band is deleted); returns whether it was indexed. */
bool unindexTile(CGridMapping& plane, const CTile* tile);
/** Returns the tiles meeting the cell rectangle (c0, r0, c1, r1) inclusive, bands in ascending
 *  top, items in ascending gx; whole bands above r0 or below r1 are skipped. */
std::vector<CTile*> tilesMeeting(const CGridMapping& plane, const IRect& cells);

// ---- Replacing panels ----

/** Removes every tile lying wholly inside one column run of cols and one row run of rows: out
 *  of its band, its tower nodes out of the scene (sceneHooks->tileRemoved), out of tiles,
 *  deleted. Returns the union of their pixel rectangles. */
IRect removeTilesUnder(CGridMapping& plane, const FitResult& cols, const FitResult& rows);
/**
 * Lays type over the two fits: removes the tiles under them, then adds one tile per row run x
 * column run (rows outer) at the runs' first indices, with the type's rotation, tower height,
 * width and height and side -1, each placed, indexed and given its tower
 * (sceneHooks->tileAdded). Then refreshes the bends of the plane's docked children; the
 * refreshed bends are appended to refreshedBends when it is not null (their pictures need
 * repainting). Returns the plane's pixel rectangle to repaint. At most kMaxLaidTiles tiles are
 * added per call; further runs are ignored.
 */
IRect layPanels(CGridMapping& plane, CCandyType& type, const FitResult& cols, const FitResult& rows,
                std::vector<CGridMapping*>* refreshedBends = nullptr);

/** Most tiles one layPanels call adds: 262144 panels cover 150 m x 150 m in 300 mm cells. */
constexpr size_t kMaxLaidTiles = 1 << 18;

} // namespace vs
