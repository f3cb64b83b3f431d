#include "VarRPoint.h"

#include "platform/Errors.h"

#include <utility>

namespace {

// Number-list layout of an arc: x, y, unused, p3, p4, p5, start, end, reversed flag,
// four unused; a self arc adds p13 and two points.
void fillWallArc(RPointWallArc& arc, const std::vector<double>& v)
{
    arc.x = v[0];
    arc.y = v[1];
    arc.p3 = v[3];
    arc.p4 = v[4];
    arc.p5 = v[5];
    arc.reversed = v[8] != 0;
    arc.startValue = arc.reversed ? v[7] : v[6];
    arc.endValue = arc.reversed ? v[6] : v[7];
}

} // namespace

std::unique_ptr<VarRPoint> VarRPoint::fromNumbers(const std::vector<double>& v)
{
    if (v.size() < 2)
        throw vs::InvalidInput("a profile point needs at least two numbers");
    if (v.size() <= 3)
        return std::make_unique<VarRPoint>(v[0], v[1]);
    if (v.size() == 13) {
        auto arc = std::make_unique<RPointWallArc>();
        fillWallArc(*arc, v);
        return arc;
    }
    if (v.size() == 18) {
        auto arc = std::make_unique<RPointSelfArc>();
        fillWallArc(*arc, v);
        arc->p13 = v[13];
        RPoint a{v[14], v[15]};
        RPoint b{v[16], v[17]};
        arc->firstPoint = arc->reversed ? b : a;
        arc->secondPoint = arc->reversed ? a : b;
        return arc;
    }
    return nullptr;
}

void RPointWallArc::reverse()
{
    std::swap(startValue, endValue);
}

void RPointSelfArc::reverse()
{
    RPointWallArc::reverse();
    std::swap(firstPoint, secondPoint);
}
