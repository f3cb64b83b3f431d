// A polygon of a static sample, possibly marking an area to leave out.
#pragma once

#include "RPoint.h"

#include <vector>

class CHollowPolygon
{
public:
    /** True when the polygon marks an area to leave out. */
    bool exclude = false;
    /** Vertices in order, not closed: the last vertex is not a copy of the first. */
    std::vector<RPoint> points;
};
