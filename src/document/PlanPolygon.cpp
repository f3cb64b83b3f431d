#include "document/PlanPolygon.h"

#include <algorithm>
#include <cmath>

PlanPolygon PlanPolygon::fromPoints(const std::vector<RPoint>& points)
{
    PlanPolygon polygon;
    polygon.contours.push_back({points, false});
    return polygon;
}

PlanPolygon PlanPolygon::fromRect(double left, double top, double right, double bottom)
{
    return fromPoints({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

bool PlanPolygon::empty() const
{
    return std::none_of(contours.begin(), contours.end(),
                        [](const PlanContour& c) { return c.points.size() >= 3; });
}

namespace vs {

double clampPlanCoordinate(double v)
{
    return std::clamp(v, -kPlanCoordinateLimit, kPlanCoordinateLimit);
}

bool usableContour(const PlanContour& contour)
{
    return contour.points.size() >= 3 &&
           std::all_of(contour.points.begin(), contour.points.end(),
                       [](const RPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

} // namespace vs
