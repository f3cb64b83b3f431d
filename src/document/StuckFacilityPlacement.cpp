#include "StuckFacilityPlacement.h"

#include "CGridMapping.h"
#include "CSolidDocument.h"
#include "CWall.h"
#include "SolidCeiling.h"

#include <cmath>

namespace vs {

RoomPlacement roomPlacementOnWall(const CSolidDocument& document, const CWall& wall,
                                  const Vec3f& position, float rotateDegree)
{
    RoomPlacement placement{position, rotateDegree};
    const CGridMapping* root = document.ceiling ? document.ceiling->root.get() : nullptr;
    if (!root || wall.index < 0 || static_cast<size_t>(wall.index) >= root->indentedOutline.size())
        return placement;
    const std::vector<RPoint>& outline = root->indentedOutline;
    const RPoint& start = outline[static_cast<size_t>(wall.index)];
    const RPoint& end = outline[(static_cast<size_t>(wall.index) + 1) % outline.size()];
    double angle = std::atan2(end.y - start.y, end.x - start.x);
    double c = std::cos(angle);
    double s = std::sin(angle);
    double startX = start.x - root->indentedBounds.left;
    double startZ = start.y - root->indentedBounds.top;
    placement.position.x = static_cast<float>(startX + position.x * c - position.z * s);
    placement.position.z = static_cast<float>(startZ + position.x * s + position.z * c);
    double degrees = rotateDegree + 360.0 - angle * 180.0 / M_PI;
    placement.rotateDegree = static_cast<float>(std::fmod(degrees, 360.0));
    return placement;
}

} // namespace vs
