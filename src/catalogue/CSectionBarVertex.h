// One vertex of a section-bar profile contour, with the edge that leaves it towards the next
// vertex: its point says whether that edge is straight or an arc, its material (if any)
// starts a new stretch of material, and its creases are the patterns placed on the edge.
#pragma once

#include "catalogue/CCreases.h"
#include "catalogue/CSectionBarSegment.h"
#include "catalogue/SectionBarMaterial.h"
#include "document/RPoint.h"
#include "document/VarRPoint.h"

#include <memory>
#include <optional>
#include <vector>

class CContour;

class CSectionBarVertex
{
public:
    /** Number of pieces an arc edge is drawn with (15 points inside it plus its end). */
    static constexpr int kArcSteps = 16;

    /** A vertex of contour at point (which must not be null). */
    CSectionBarVertex(CContour* contour, std::unique_ptr<VarRPoint> point);

    /** Returns the vertex's position in the profile plane (x across the bar, y up). */
    RPoint position() const { return {point->x, point->y}; }

    /** True when the edge leaving this vertex is an arc (a wall arc or a self arc). */
    bool hasArcEdge() const { return point->kind() != 0; }

    /** Returns the length of the outgoing edge: the chord, or the arc's length for arcs. */
    double edgeLength() const;

    /**
     * Returns the point at distance along the straight outgoing edge, measured from this
     * vertex; a distance at or beyond the edge's length gives the next vertex exactly.
     */
    RPoint pointAlongEdge(double distance) const;

    /**
     * Appends the points the outgoing edge adds after its start: the next vertex for a
     * straight edge; for an arc, kArcSteps - 1 points on its circle and then the next vertex.
     */
    void appendEdgePoints(std::vector<RPoint>& out) const;

    /** Returns the number of points appendEdgePoints adds. */
    size_t edgePointCount() const { return hasArcEdge() ? kArcSteps : 1; }

    /**
     * Divides the outgoing edge into segments: one for the whole edge, or, on a straight edge
     * with creases that draw something, plain pieces between the creased stretches.
     */
    void buildSegments();

    /** The vertex's point; for arcs it also describes the edge that leaves the vertex. */
    std::unique_ptr<VarRPoint> point;
    /** The pieces of the outgoing edge, in order along it. */
    std::vector<std::unique_ptr<CSectionBarSegment>> segments;
    /** Absent: the edge continues the material of the edge before it. */
    std::optional<SectionBarMaterial> material;
    CSectionBarVertex* next = nullptr;
    CSectionBarVertex* previous = nullptr;
    CContour* contour = nullptr;
    /** Crease patterns placed on the outgoing edge. */
    std::vector<std::unique_ptr<CCreases>> creases;
    /** Marks the profile's origin. */
    bool isPivotPoint = false;
};
