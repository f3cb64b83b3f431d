// Triangle strips in plan coordinates (decimillimetres), the output of every triangulation.
#pragma once

#include "document/RPoint.h"

#include <vector>

/** Strips of triangles: each strip is a vertex list read as a triangle strip (vertex j >= 2
    closes a triangle with the two before it). vs::stripTriangleIndices turns them into
    consistently oriented triangles. */
struct TriangleStrips
{
    std::vector<std::vector<RPoint>> strips;

    /** True when there is no strip at all. */
    bool empty() const { return strips.empty(); }
};
