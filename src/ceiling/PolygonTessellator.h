// Triangulation of plan polygons through the GLU tessellator (no GL context needed).
#pragma once

#include "document/PlanPolygon.h"
#include "document/TriangleStrips.h"

class GLUtesselator;

/** Cuts plan polygons into triangles. A single convex contour becomes one strip directly; any
    other polygon goes through the GLU tessellator under the odd winding rule, which emits
    independent triangles, each returned as a strip of three vertices. One object can serve
    many calls. */
class PolygonTessellator
{
public:
    /** Creates the GLU tessellator; throws std::bad_alloc when GLU cannot make one. */
    PolygonTessellator();
    ~PolygonTessellator();
    PolygonTessellator(const PolygonTessellator&) = delete;
    PolygonTessellator& operator=(const PolygonTessellator&) = delete;

    /** Returns the triangles covering the inside of polygon (odd winding rule). Contours with
        fewer than three points or a non-finite coordinate are left out; a polygon of no area
        gives no strips. Throws std::bad_alloc when the tessellator runs out of memory. */
    TriangleStrips tessellate(const PlanPolygon& polygon);

private:
    TriangleStrips tessellateWithGlu(const PlanPolygon& polygon);

    GLUtesselator* tess_ = nullptr;
};
