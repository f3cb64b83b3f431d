// Boolean operations on plan polygons through Clipper's integer coordinates.
#pragma once

#include "ceiling/ClipOperation.h"
#include "document/PlanPolygon.h"

#include <polyclipping/clipper.hpp>

/** Clips plan polygons with Clipper. Coordinates are multiplied by kScale and rounded, so
    results lie on a grid of a tenth of a design unit (0.01 mm). Both operands are read under
    the odd winding rule; contours with fewer than three points or a non-finite coordinate are
    left out, and finite coordinates beyond vs::kPlanCoordinateLimit are clamped (the scaled
    limit, 1e13, stays far inside Clipper's 62-bit range). One object can serve many calls; it
    keeps its buffers between them. */
class PolygonClipper
{
public:
    /** Integer units per design unit. */
    static constexpr double kScale = 10.0;

    /** Returns subject minus clip, or their intersection; outer contours come before their
        holes, with hole flags set. An empty clip polygon leaves the subject cleaned up:
        overlaps resolved, duplicate and collinear points removed. */
    PlanPolygon execute(const PlanPolygon& subject, const PlanPolygon& clip, ClipOperation op);

    /** Returns v (finite) clamped and rounded to the clipper's grid, in design units. */
    static double snap(double v);

private:
    static ClipperLib::cInt toInt(double v);
    static void appendPaths(const PlanPolygon& polygon, ClipperLib::Paths& paths);
    static PlanPolygon fromTree(const ClipperLib::PolyTree& tree);

    ClipperLib::Clipper clipper_;
    ClipperLib::PolyTree tree_;
    ClipperLib::Paths subject_;
    ClipperLib::Paths clip_;
};
