#include "edit/Drags.h"

#include "catalogue/CCandyType.h"
#include "ceiling/ExactFit.h"
#include "ceiling/GridLayout.h"
#include "ceiling/PlanHighlight.h"
#include "document/CFlatFacility.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CSolidFacility.h"
#include "document/CSolidLight.h"
#include "document/CWall.h"
#include "document/SolidCeiling.h"
#include "edit/CeilingRefresh.h"
#include "edit/DesignView.h"
#include "edit/DragCommands.h"
#include "edit/EditCommand.h"
#include "edit/Picker.h"
#include "scene/FacilityScene.h"
#include "scene/GridMappingScene.h"
#include "scene/LightScene.h"
#include "scene/WallScene.h"

#include <algorithm>
#include <cmath>

using namespace irr;

namespace vs {
namespace {

/** Where `ray` meets the plane through `point` with `normal`; false when parallel. */
bool meet(const core::line3df& ray, const core::vector3df& point, const core::vector3df& normal,
          core::vector3df& hit)
{
    const core::plane3df plane(point, normal);
    return plane.getIntersectionWithLine(ray.start, ray.getVector(), hit);
}

/** The ray through client pixel p in the local space of `node`. */
bool localRay(DesignView& view, scene::ISceneNode* node, const QPoint& p, core::line3df& ray)
{
    if (node == nullptr || !pickRay(view, p.x(), p.y(), ray))
        return false;
    core::matrix4 toLocal;
    if (!node->getAbsoluteTransformation().getInverse(toLocal))
        return false;
    toLocal.transformVect(ray.start);
    toLocal.transformVect(ray.end);
    return true;
}

/** The cell (absolute column and row) of grid-relative point g. */
core::vector2di cellOf(const CGridMapping& plane, const RPoint& g)
{
    return {colAt(plane, g.x + plane.realGridOffset.x).index,
            rowAt(plane, g.y + plane.realGridOffset.y).index};
}

/** The wall's axes in room coordinates: x along the base line, z its normal. */
core::vector3df wallAxis(const CWall& wall, const core::vector3df& local)
{
    core::matrix4 turn;
    turn.setRotationDegrees(core::vector3df(0, f32(360 - wall.sceneAngle), 0));
    core::vector3df v = local;
    turn.rotateVect(v);
    return v;
}

// ---- Kind 1 ----

class HostDrag : public Drag
{
public:
    HostDrag(DesignView& view, CHost& host, const RPoint& start)
        : view_(view), plane_(*host.plane), preview_(view, host),
          start_(gridRelativePoint(plane_, start)), startCell_(cellOf(plane_, start_))
    {
    }
    int kind() const override { return 1; }

    void moveTo(const QPoint& p) override
    {
        RPoint plan;
        if (!planePointAt(view_, plane_, p, plan))
            return;
        const RPoint g = gridRelativePoint(plane_, plan);
        if (preview_.host().freePosition) {
            preview_.show({g.x - start_.x, g.y - start_.y});
        } else {
            const core::vector2di cell = cellOf(plane_, g);
            preview_.show({double(cell.X - startCell_.X), double(cell.Y - startCell_.Y)});
        }
    }
    void finish() override { preview_.commit(); }

private:
    DesignView& view_;
    CGridMapping& plane_;
    HostMovePreview preview_;
    RPoint start_;
    core::vector2di startCell_;
};

// ---- Kind 2 ----

class PanelDrag : public Drag
{
public:
    PanelDrag(DesignView& view, CGridMapping& plane, CCandyType& type, int col, int row)
        : view_(view), plane_(plane), type_(type), start_(col, row)
    {
        show(start_);
    }
    int kind() const override { return 2; }

    void moveTo(const QPoint& p) override
    {
        RPoint plan;
        if (!planePointAt(view_, plane_, p, plan))
            return;
        const core::vector2di cell = cellOf(plane_, gridRelativePoint(plane_, plan));
        if (cell != shown_)
            show(cell);
    }

    const PlanHighlight* planHighlight() const override { return &highlight_; }

    void finish() override
    {
        const PlanHighlight highlight = highlight_;
        const IRect area = highlightArea();
        highlight_ = {};
        repaintPlane(plane_, area);
        if (highlight.cols.runs.empty() || highlight.rows.runs.empty())
            return;
        runEdit(view_, std::make_unique<LayPanelsCommand>(view_, plane_, type_, highlight.cols,
                                                          highlight.rows));
    }

private:
    void show(const core::vector2di& cell)
    {
        int32_t across = type_.width, down = type_.height;
        if (((type_.rotateDegree % 180) + 180) % 180 != 0)
            std::swap(across, down);
        const IRect before = highlightArea();
        highlight_.active = true;
        highlight_.type = &type_;
        highlight_.cols = exactFitCols(plane_, across, start_.X, cell.X);
        highlight_.rows = exactFitRows(plane_, down, start_.Y, cell.Y);
        shown_ = cell;
        repaintPlane(plane_, uniteRects(before, highlightArea()), &highlight_);
    }

    IRect highlightArea() const
    {
        const PlanHighlight& h = highlight_;
        if (!h.active)
            return CGridMapping::emptyPixelRect();
        const IRect cells{std::min(h.cols.first, h.cols.last), std::min(h.rows.first, h.rows.last),
                          std::max(h.cols.first, h.cols.last), std::max(h.rows.first, h.rows.last)};
        return pixelRectOfCells(plane_, cells);
    }

    DesignView& view_;
    CGridMapping& plane_;
    CCandyType& type_;
    core::vector2di start_;
    core::vector2di shown_;
    /** The cells the panels would cover, drawn over the plan picture while the drag lasts. */
    PlanHighlight highlight_;
};

// ---- Kind 3 ----

class FlatDrag : public Drag
{
public:
    FlatDrag(DesignView& view, CWall& wall, CFlatFacility& flat, const RPoint& start)
        : view_(view), wall_(wall), flat_(flat), start_(start), from_(flat.position)
    {
    }
    int kind() const override { return 3; }

    void moveTo(const QPoint& p) override
    {
        // The wall's whole plane: y = 0 of its group's local space, x along, z = plan y.
        core::line3df ray;
        core::vector3df hit;
        if (!localRay(view_, wallGroupNode(wall_), p, ray) ||
            !meet(ray, core::vector3df(0, 0, 0), core::vector3df(0, 1, 0), hit))
            return;
        const RPoint offset{hit.X - start_.x, hit.Z - start_.y};
        if (moved_ && offset.x == offset_.x && offset.y == offset_.y)
            return; // the same step again: nothing to rebuild
        moved_ = true;
        offset_ = offset;
        flat_.position = {from_.x + offset.x, from_.y + offset.y};
        RebuildFlatFacility(wall_, flat_);
    }

    void finish() override
    {
        const RPoint to = flat_.position;
        if (moved_) {
            flat_.position = from_;
            RebuildFlatFacility(wall_, flat_);
        }
        if (flatShareOnWall(wall_, flat_, to) < kFlatKeepShare)
            runEdit(view_, std::make_unique<RemoveFlatCommand>(view_, wall_, flat_));
        else if (to.x != from_.x || to.y != from_.y)
            runEdit(view_, std::make_unique<MoveFlatCommand>(view_, wall_, flat_, from_, to));
    }

private:
    DesignView& view_;
    CWall& wall_;
    CFlatFacility& flat_;
    RPoint start_;
    RPoint from_;
    RPoint offset_;
    bool moved_ = false;
};

// ---- Kind 4 ----

/** The drag plane of kind 4 in room coordinates, and the offset of a hit on it. */
class DragPlane
{
public:
    DragPlane(const core::vector3df& start, const CWall* wall) : start_(start)
    {
        if (wall != nullptr) {
            along_ = wallAxis(*wall, {1, 0, 0});
            normal_ = wallAxis(*wall, {0, 0, 1});
            onWall_ = true;
        }
    }

    /** The offset of the pointer at p from the start: (distance along the wall, 0, 0) in the
     *  wall's frame, else (dx, 0, dz) in the room's; false off the plane's square. */
    bool offsetAt(DesignView& view, const QPoint& p, core::vector3df& offset) const
    {
        core::line3df ray;
        core::vector3df hit;
        if (!pickRay(view, p.x(), p.y(), ray) ||
            !meet(worldToRoom(view, ray), start_, normal_, hit))
            return false;
        const core::vector3df d = hit - start_;
        if (std::fabs(d.X) > kDragPlaneHalfSide || std::fabs(d.Y) > kDragPlaneHalfSide ||
            std::fabs(d.Z) > kDragPlaneHalfSide)
            return false;
        offset =
            onWall_ ? core::vector3df(d.dotProduct(along_), 0, 0) : core::vector3df(d.X, 0, d.Z);
        return true;
    }

private:
    core::vector3df start_;
    core::vector3df along_{1, 0, 0};
    core::vector3df normal_{0, 1, 0};
    bool onWall_ = false;
};

Vec3f plus(const Vec3f& v, const core::vector3df& d)
{
    return {v.x + d.X, v.y + d.Y, v.z + d.Z};
}

class FacilityDrag : public Drag
{
public:
    FacilityDrag(DesignView& view, std::vector<CSolidFacility*> facilities, CWall* wall,
                 const core::vector3df& start)
        : view_(view), facilities_(std::move(facilities)), plane_(start, wall)
    {
        for (CSolidFacility* f : facilities_)
            from_.push_back(f->position);
    }
    int kind() const override { return 4; }

    void moveTo(const QPoint& p) override
    {
        core::vector3df offset;
        if (!plane_.offsetAt(view_, p, offset))
            return;
        offset_ = offset;
        // Shown at the stored position plus the offset; the stored position stays.
        for (size_t i = 0; i < facilities_.size(); ++i) {
            CSolidFacility& f = *facilities_[i];
            f.position = plus(from_[i], offset);
            updateFacilityTransformation(f, view_.document());
            f.position = from_[i];
        }
    }

    void finish() override
    {
        if (offset_ == core::vector3df(0, 0, 0))
            return;
        std::vector<Vec3f> to;
        for (const Vec3f& from : from_)
            to.push_back(plus(from, offset_));
        runEdit(view_, std::make_unique<MoveFacilitiesCommand>(view_, facilities_, from_, to));
    }

private:
    DesignView& view_;
    std::vector<CSolidFacility*> facilities_;
    DragPlane plane_;
    std::vector<Vec3f> from_;
    core::vector3df offset_;
};

class LightDrag : public Drag
{
public:
    LightDrag(DesignView& view, CSolidLight& light, const core::vector3df& start)
        : view_(view), light_(light), plane_(start, nullptr), from_(light.position)
    {
        if (light.host != nullptr && light.host->plane != nullptr)
            hostPreview_ = std::make_unique<HostMovePreview>(view, *light.host);
    }
    int kind() const override { return 4; }

    void moveTo(const QPoint& p) override
    {
        core::vector3df offset;
        if (!plane_.offsetAt(view_, p, offset))
            return;
        offset_ = offset;
        if (hostPreview_) {
            hostPreview_->show(hostOffset(offset));
            return;
        }
        light_.position = plus(from_, offset);
        updateLightNode(light_);
    }

    void finish() override
    {
        if (hostPreview_) {
            hostPreview_->commit();
            return;
        }
        const Vec3f to = light_.position;
        light_.position = from_;
        updateLightNode(light_);
        if (!(to == from_))
            runEdit(view_, std::make_unique<MoveLightCommand>(view_, light_, from_, to));
    }

private:
    /** A lamp follows its light on the ceiling grid: the offset in plan, its vertical flipped
     *  while the ceiling is shown inverted, turned into the grid and snapped to whole cells. */
    HostOffset hostOffset(const core::vector3df& offset) const
    {
        CHost& host = hostPreview_->host();
        const CGridMapping& plane = *host.plane;
        const CSolidDocument& doc = view_.document();
        const bool inverted = doc.viewState != nullptr && doc.viewState->invertTop;
        const double dx = offset.X, dy = inverted ? -offset.Z : offset.Z;
        // The grid-relative offset: the grid's rotation applied to the plan offset.
        const RPoint origin = gridRelativePoint(plane, plane.realGridOffset);
        const RPoint moved =
            gridRelativePoint(plane, {plane.realGridOffset.x + dx, plane.realGridOffset.y + dy});
        const RPoint g{moved.x - origin.x, moved.y - origin.y};
        if (host.freePosition)
            return {g.x, g.y};
        const RPoint centre{(host.rect.left + host.rect.right) / 2,
                            (host.rect.top + host.rect.bottom) / 2};
        const core::vector2di a = cellOf(plane, centre);
        const core::vector2di b = cellOf(plane, {centre.x + g.x, centre.y + g.y});
        return {double(b.X - a.X), double(b.Y - a.Y)};
    }

    DesignView& view_;
    CSolidLight& light_;
    DragPlane plane_;
    Vec3f from_;
    core::vector3df offset_;
    std::unique_ptr<HostMovePreview> hostPreview_;
};

} // namespace

// ---- HostMovePreview ----

HostMovePreview::HostMovePreview(DesignView& view, CHost& host)
    : view_(view), host_(host), start_(placeOf(host))
{
}

void HostMovePreview::show(const HostOffset& offset)
{
    if (offset.dx == shown_.dx && offset.dy == shown_.dy)
        return;
    restorePlace(view_, host_, start_);
    if (!offset.isZero())
        applyHostMove(view_, host_, offset);
    shown_ = offset;
}

void HostMovePreview::commit()
{
    const HostOffset offset = shown_;
    show({});
    if (offset.isZero())
        return;
    // Applied only when the host accepts: a refused move leaves the item where it lay.
    if (reportHostMove(view_, host_, offset))
        runEdit(view_, std::make_unique<MoveHostCommand>(view_, host_, offset));
}

// ---- Factories ----

std::unique_ptr<Drag> makeHostDrag(DesignView& view, CHost& host, const RPoint& start)
{
    if (host.plane == nullptr)
        return nullptr;
    return std::make_unique<HostDrag>(view, host, start);
}

std::unique_ptr<Drag> makePanelDrag(DesignView& view, CGridMapping& plane, CCandyType& type,
                                    int col, int row)
{
    return std::make_unique<PanelDrag>(view, plane, type, col, row);
}

std::unique_ptr<Drag> makeFlatDrag(DesignView& view, CWall& wall, CFlatFacility& flat,
                                   const RPoint& start)
{
    if (wallGroupNode(wall) == nullptr)
        return nullptr;
    return std::make_unique<FlatDrag>(view, wall, flat, start);
}

std::unique_ptr<Drag> makeFacilityDrag(DesignView& view, std::vector<CSolidFacility*> facilities,
                                       CWall* wall, const core::vector3df& start)
{
    return std::make_unique<FacilityDrag>(view, std::move(facilities), wall, start);
}

std::unique_ptr<Drag> makeLightDrag(DesignView& view, CSolidLight& light,
                                    const core::vector3df& start)
{
    return std::make_unique<LightDrag>(view, light, start);
}

bool planePointAt(DesignView& view, CGridMapping& plane, const QPoint& p, RPoint& planPoint)
{
    core::line3df ray;
    core::vector3df hit;
    if (!localRay(view, planeNode(plane), p, ray) ||
        !meet(ray, core::vector3df(0, 0, 0), core::vector3df(0, 1, 0), hit))
        return false;
    planPoint = {hit.X, hit.Z};
    const CSolidDocument& doc = view.document();
    const CGridMapping* root = doc.ceiling ? doc.ceiling->root.get() : nullptr;
    const bool bend = plane.parent == nullptr && &plane != root;
    if (doc.inverted && !bend && root != nullptr)
        planPoint.y = root->indentedBounds.top + root->indentedBounds.bottom - planPoint.y;
    return true;
}

} // namespace vs
