// Plan polygons: contours of plan points in decimillimetres (x to the right, y downwards), the
// records that every boolean operation and triangulation of the module takes and returns.
#pragma once

#include "document/RPoint.h"

#include <vector>

/** One contour: its vertices in order, not closed (the last vertex is not a copy of the first). */
struct PlanContour
{
    std::vector<RPoint> points;
    /** True when the contour bounds a hole of the polygon. On input the odd winding rule decides
        what is inside, so the flag only informs; the clipper's results set it. */
    bool hole = false;
};

/** A polygon of any number of contours. Results of the clipper keep each outer contour before
    its holes; outer contours run with positive signed area in plan coordinates, holes the other
    way. */
struct PlanPolygon
{
    std::vector<PlanContour> contours;

    /** Returns a polygon of one contour (not a hole) over a copy of points. */
    static PlanPolygon fromPoints(const std::vector<RPoint>& points);
    /** Returns the rectangle as one contour (left, top), (right, top), (right, bottom),
        (left, bottom). */
    static PlanPolygon fromRect(double left, double top, double right, double bottom);
    /** True when no contour has three or more points, so the polygon encloses nothing. */
    bool empty() const;
};

namespace vs {

/** Largest coordinate magnitude (design units) the polygon operations work with; finite
    coordinates beyond it are clamped to it. 1e12 units is 100 000 km. */
constexpr double kPlanCoordinateLimit = 1e12;

/** Returns v clamped to [-kPlanCoordinateLimit, kPlanCoordinateLimit]; v must be finite. */
double clampPlanCoordinate(double v);

/** True when the contour has at least three points and every coordinate is finite. Contours
    failing this are left out by the clipper and the tessellator. */
bool usableContour(const PlanContour& contour);

} // namespace vs
