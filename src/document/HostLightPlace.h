// Where a ceiling host item's (a lamp's) light stands in the room's scene.
#pragma once

#include "document/RPoint.h"

class CHost;

namespace vs {

/**
 * Returns the room-scene position (x, z as plan x, y; decimillimetres) over the centre of the
 * host's rect, as the lamp itself is drawn: the grid-relative centre turned by the plane's
 * rotateDegree and moved to its realGridOffset, mirrored in y about the root plane's
 * indentedBounds when `mirrored`, and made relative to the left/top corner of those bounds
 * (where the room's lights and facilities are measured from). The plan point itself when the
 * root's bounds are empty; the rect's centre for a host on no plane.
 */
RPoint hostLightPlace(const CHost& host, bool mirrored);

} // namespace vs
