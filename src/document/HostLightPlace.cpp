#include "document/HostLightPlace.h"

#include "document/CGridMapping.h"
#include "document/CHost.h"
#include "document/SolidCeiling.h"

#include <cmath>

namespace vs {

RPoint hostLightPlace(const CHost& host, bool mirrored)
{
    const RPoint c = host.rect.centre();
    if (host.plane == nullptr)
        return c;
    const CGridMapping& plane = *host.plane;
    const double a = plane.rotateDegree * 3.14159265358979323846 / 180;
    RPoint p{c.x * std::cos(a) - c.y * std::sin(a) + plane.realGridOffset.x,
             c.x * std::sin(a) + c.y * std::cos(a) + plane.realGridOffset.y};
    const CGridMapping* root = plane.ceiling ? plane.ceiling->root.get() : nullptr;
    if (root == nullptr)
        return p;
    const RRect& b = root->indentedBounds;
    if (!(b.left <= b.right && b.top <= b.bottom) || !std::isfinite(b.left) ||
        !std::isfinite(b.top))
        return p;
    if (mirrored)
        p.y = b.top + b.bottom - p.y;
    return {p.x - b.left, p.y - b.top};
}

} // namespace vs
