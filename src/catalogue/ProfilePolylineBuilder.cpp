#include "ProfilePolylineBuilder.h"

#include <cmath>

ProfilePolylineBuilder::ProfilePolylineBuilder(RPoint origin) : origin_(origin)
{
}

void ProfilePolylineBuilder::startPolyline(const SectionBarMaterial* material, RPoint at)
{
    dropLastIfSinglePoint();
    current_ = material;
    ProfilePolyline polyline;
    if (material)
        polyline.material = *material;
    polyline.points.push_back({at.x - origin_.x, at.y - origin_.y, 0});
    ++pointCount_;
    polylines_.push_back(std::move(polyline));
}

void ProfilePolylineBuilder::switchMaterial(const SectionBarMaterial* material)
{
    if (material == current_)
        return;
    if (polylines_.empty()) {
        current_ = material;
        return;
    }
    const RPointWithTexturePos& last = polylines_.back().points.back();
    startPolyline(material, {last.x + origin_.x, last.y + origin_.y});
}

void ProfilePolylineBuilder::append(RPoint point)
{
    if (polylines_.empty()) {
        startPolyline(current_, point);
        return;
    }
    ProfilePolyline& polyline = polylines_.back();
    const RPointWithTexturePos& last = polyline.points.back();
    double x = point.x - origin_.x;
    double y = point.y - origin_.y;
    if (x == last.x && y == last.y)
        return;
    double distance = std::hypot(x - last.x, y - last.y);
    polyline.totalLength += distance;
    polyline.points.push_back({x, y, last.texturePos + distance});
    ++pointCount_;
}

std::vector<ProfilePolyline> ProfilePolylineBuilder::take()
{
    dropLastIfSinglePoint();
    std::vector<ProfilePolyline> result = std::move(polylines_);
    polylines_.clear();
    pointCount_ = 0;
    return result;
}

void ProfilePolylineBuilder::dropLastIfSinglePoint()
{
    if (!polylines_.empty() && polylines_.back().points.size() < 2) {
        pointCount_ -= polylines_.back().points.size();
        polylines_.pop_back();
    }
}
