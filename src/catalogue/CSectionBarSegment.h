// A piece of the edge that leaves a profile vertex: a plain stretch, or the stretch a crease
// pattern is drawn on.
#pragma once

#include "catalogue/SectionBarMaterial.h"

class CCreases;
class CSectionBarVertex;
class ProfilePolylineBuilder;

class CSectionBarSegment
{
public:
    /** A piece of vertex's edge from start over length (distances along the edge). */
    CSectionBarSegment(CSectionBarVertex* vertex, double start, double length,
                       const CCreases* crease);

    /**
     * Appends the piece's points to builder. edgeMaterial is the material the edge is drawn
     * with; a plain piece returns to it (or switches to its own material) before drawing.
     */
    void evaluate(ProfilePolylineBuilder& builder, const SectionBarMaterial* edgeMaterial) const;

    /** Returns the number of points evaluate appends at most. */
    size_t pointCount() const;

    /** Distance along the edge where the piece starts. */
    double start = 0;
    double length = 0;
    /** The piece's own material (the second material after a crease); null: the edge's. */
    const SectionBarMaterial* material = nullptr;
    CSectionBarVertex* vertex = nullptr;
    /** The crease drawn on this piece; null for a plain piece. */
    const CCreases* crease = nullptr;
    /** The piece ends at the next vertex (the last piece of the edge). */
    bool endsEdge = false;
};
