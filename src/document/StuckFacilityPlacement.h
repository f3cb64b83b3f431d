// Where a facility stuck to a wall stands in room coordinates.
#pragma once

#include "SolidMath.h"

class CSolidDocument;
class CWall;

namespace vs {

/** A position in scene axes and a rotation about the vertical axis, degrees. */
struct RoomPlacement
{
    Vec3f position;
    float rotateDegree = 0;
};

/**
 * Returns the room placement of a facility at wall-relative `position` (x along the wall from
 * its start, y height, z off the wall) turned by `rotateDegree` in the wall's frame. The wall
 * runs along the edge from point `wall.index` of the root ceiling plane's indented outline to the
 * next; room positions are relative to the corner of the root plane's indented bounds. The wall's
 * frame turns by (360 - the wall's angle) about the vertical, so its x axis runs along the edge
 * and its z axis to the edge's left in the plan. Gives the position unchanged for a wall whose
 * edge does not exist.
 */
RoomPlacement roomPlacementOnWall(const CSolidDocument& document, const CWall& wall,
                                  const Vec3f& position, float rotateDegree);

} // namespace vs
