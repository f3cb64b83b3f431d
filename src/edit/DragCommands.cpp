#include "edit/DragCommands.h"

#include "ceiling/PolygonOps.h"
#include "document/CFlatFacility.h"
#include "document/CSolidDocument.h"
#include "document/CSolidFacility.h"
#include "document/CSolidLight.h"
#include "document/CWall.h"
#include "edit/DesignView.h"
#include "scene/FacilityScene.h"
#include "scene/LightScene.h"
#include "scene/WallScene.h"

#include <QObject>

#include <algorithm>
#include <cmath>

namespace vs {
namespace {

double signedArea(const PlanContour& contour)
{
    double twice = 0;
    const std::vector<RPoint>& p = contour.points;
    for (size_t i = 0; i < p.size(); ++i) {
        const RPoint& a = p[i];
        const RPoint& b = p[(i + 1) % p.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

/** The polygon's area: outer contours count, holes (running the other way) subtract. */
double areaOf(const PlanPolygon& polygon)
{
    double area = 0;
    for (const PlanContour& contour : polygon.contours)
        area += signedArea(contour);
    return std::fabs(area);
}

} // namespace

double flatShareOnWall(const CWall& wall, const CFlatFacility& flat, const RPoint& position)
{
    CFlatFacility moved;
    moved.facilityModel = flat.facilityModel;
    moved.flatSize = flat.flatSize;
    moved.position = position;
    const RRect r = flatFacilityRect(moved);
    const double whole = (r.right - r.left) * (r.bottom - r.top);
    if (!(whole > 0))
        return 0;
    const PlanPolygon onWall = polygonIntersection(
        PlanPolygon::fromRect(r.left, r.top, r.right, r.bottom), wallPolygon(wall));
    return areaOf(onWall) * 100 / whole;
}

// ---- MoveFacilitiesCommand ----

MoveFacilitiesCommand::MoveFacilitiesCommand(DesignView& view,
                                             std::vector<CSolidFacility*> facilities,
                                             std::vector<Vec3f> from, std::vector<Vec3f> to)
    : view_(view), facilities_(std::move(facilities)), from_(std::move(from)), to_(std::move(to))
{
    setText(QObject::tr("移动"));
}

void MoveFacilitiesCommand::place(const std::vector<Vec3f>& positions)
{
    std::vector<CWall*> cutWalls;
    for (size_t i = 0; i < facilities_.size() && i < positions.size(); ++i) {
        CSolidFacility& f = *facilities_[i];
        f.position = positions[i];
        updateFacilityTransformation(f, view_.document());
        if (f.stickWall != nullptr && cutsWall(f) &&
            std::find(cutWalls.begin(), cutWalls.end(), f.stickWall) == cutWalls.end())
            cutWalls.push_back(f.stickWall);
    }
    for (CWall* wall : cutWalls)
        RebuildWallCutOuts(*wall);
    view_.DrawScene();
}

void MoveFacilitiesCommand::redo()
{
    place(to_);
}

void MoveFacilitiesCommand::undo()
{
    place(from_);
}

// ---- MoveLightCommand ----

MoveLightCommand::MoveLightCommand(DesignView& view, CSolidLight& light, const Vec3f& from,
                                   const Vec3f& to)
    : view_(view), light_(light), from_(from), to_(to)
{
    setText(QObject::tr("移动"));
}

void MoveLightCommand::place(const Vec3f& position)
{
    light_.position = position;
    updateLightNode(light_);
    view_.DrawScene();
}

void MoveLightCommand::redo()
{
    place(to_);
}

void MoveLightCommand::undo()
{
    place(from_);
}

// ---- MoveFlatCommand ----

MoveFlatCommand::MoveFlatCommand(DesignView& view, CWall& wall, CFlatFacility& flat,
                                 const RPoint& from, const RPoint& to)
    : view_(view), wall_(wall), flat_(flat), from_(from), to_(to)
{
    setText(QObject::tr("移动"));
}

void MoveFlatCommand::place(const RPoint& position)
{
    flat_.position = position;
    RebuildFlatFacility(wall_, flat_);
    view_.DrawScene();
}

void MoveFlatCommand::redo()
{
    place(to_);
}

void MoveFlatCommand::undo()
{
    place(from_);
}

// ---- RemoveFlatCommand ----

RemoveFlatCommand::RemoveFlatCommand(DesignView& view, CWall& wall, CFlatFacility& flat)
    : view_(view), wall_(wall), flat_(&flat)
{
    setText(QObject::tr("删除"));
}

RemoveFlatCommand::~RemoveFlatCommand() = default;

void RemoveFlatCommand::redo()
{
    auto& list = wall_.flatFacilities;
    const auto it =
        std::find_if(list.begin(), list.end(), [this](const auto& p) { return p.get() == flat_; });
    if (it == list.end())
        return;
    index_ = size_t(it - list.begin());
    held_ = std::move(*it);
    list.erase(it);
    releaseFlatFacilityScene(*held_);
    RebuildWallCutOuts(wall_);
    view_.DrawScene();
}

void RemoveFlatCommand::undo()
{
    if (!held_)
        return;
    auto& list = wall_.flatFacilities;
    list.insert(list.begin() + std::ptrdiff_t(std::min(index_, list.size())), std::move(held_));
    if (wallGroupNode(wall_) != nullptr)
        RebuildFlatFacility(wall_, *flat_);
    view_.DrawScene();
}

} // namespace vs
