// One polyline of an evaluated section-bar profile: points in profile coordinates relative to
// the pivot (x across the bar, y up, decimillimetres), each with its texture position, which
// is the length along the polyline from its first point.
#pragma once

#include "catalogue/SectionBarMaterial.h"
#include "document/RPointWithTexturePos.h"

#include <optional>
#include <vector>

struct ProfilePolyline
{
    std::vector<RPointWithTexturePos> points;
    /** Length of the whole polyline; the texture position of its last point. */
    double totalLength = 0;
    /** The material the polyline is drawn with; absent when the profile names none. */
    std::optional<SectionBarMaterial> material;
};
