// Boolean operations, triangulation and triangle output for plan polygons (decimillimetres).
// Differences and intersections go through Clipper on a grid of a tenth of a design unit,
// triangulation through the GLU tessellator; both read polygons under the odd winding rule.
#pragma once

#include "ceiling/ClipOperation.h"
#include "document/PlanPolygon.h"
#include "document/RRect.h"
#include "document/TriangleStrips.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vs {

/** Returns subject minus clip; outer contours before their holes, hole flags set. */
PlanPolygon polygonDifference(const PlanPolygon& subject, const PlanPolygon& clip);

/** Returns the area inside both polygons, as polygonDifference does. */
PlanPolygon polygonIntersection(const PlanPolygon& a, const PlanPolygon& b);

/** Returns the triangles of (subject op clip). Contours with fewer than three points or a
    non-finite coordinate are left out, so degenerate input gives no strips. */
TriangleStrips clipToStrips(const PlanPolygon& subject, const PlanPolygon& clip, ClipOperation op);

/** Returns the triangles of polygon: clipToStrips(polygon, empty polygon, Difference). */
TriangleStrips triangulate(const PlanPolygon& polygon);

/** Returns the opening of a ceiling plane: indented minus each child outline in order (null
    entries are skipped). With no children the result is indented itself. */
PlanPolygon openPolygon(const PlanPolygon& indented,
                        const std::vector<const PlanPolygon*>& childOutlines);

/** Called once per visited square with the square and the triangles of the polygon inside it;
    the strips live only for the call. */
using SquareVisitor = std::function<void(const RRect& square, const TriangleStrips& strips)>;

/** Triangulates polygon square by square: the squares of squareSize design units aligned to
    multiples of it that cover the polygon's bounds, row by row from the top, each visited once
    (squares wholly inside are emitted as one strip, squares an edge passes through intersected
    with the polygon, squares outside the polygon get empty strips). Squares beyond the bounds
    are not visited. Returns the number of squares visited. Throws std::invalid_argument when
    squareSize is below 1 or not finite, or the polygon would need more than 4194304 squares. */
size_t clipEachSquare(const PlanPolygon& polygon, double squareSize, const SquareVisitor& visit);

/** Returns the triangles of clipEachSquare, one entry per visited square in visiting order. */
std::vector<TriangleStrips> clipBySquares(const PlanPolygon& polygon, double squareSize = 2000);

/** Returns the sign (-1, 0, 1) of the cross product of (b - a) and (c - b): 1 when the path
    a, b, c bends counter-clockwise in x-right, y-up axes (clockwise as drawn on the plan, whose
    y runs downwards), 0 when it goes straight on or a coordinate is not finite. */
int turnSign(const RPoint& a, const RPoint& b, const RPoint& c);

/** True when the sum over all vertices of the turn sign at that vertex (its two adjacent edges,
    the contour taken as closed) is >= 0; true for two points or fewer. */
bool positiveWinding(const std::vector<RPoint>& points);

/** Converts strips to indexed triangles: for each strip and each vertex j >= 2, the triangle
    (j - 2, j - 1, j) when the three points turn non-negatively, else (j - 1, j - 2, j), so all
    triangles face the same way. Indices continue across strips. When vertices is not null every
    strip vertex is appended to it and the indices refer to its positions after the call (they
    start at its size before the call); otherwise they start at 0. Indices are 32-bit; a scene
    that needs 16-bit indices splits the mesh. Throws std::invalid_argument when the indices
    would not fit in 32 bits. */
std::vector<uint32_t> stripTriangleIndices(const TriangleStrips& strips,
                                           std::vector<RPoint>* vertices);

} // namespace vs
