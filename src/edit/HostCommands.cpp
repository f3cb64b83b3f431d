#include "edit/HostCommands.h"

#include "catalogue/CCandyType.h"
#include "catalogue/HostCallbacks.h"
#include "ceiling/Bends.h"
#include "ceiling/GridLayout.h"
#include "ceiling/HostMoves.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CSolidLight.h"
#include "document/CeilingSceneHooks.h"
#include "document/SolidCeiling.h"
#include "edit/CeilingRefresh.h"
#include "edit/DesignView.h"
#include "scene/CRoomSceneNode.h"
#include "scene/LightScene.h"
#include "scene/TowerScene.h"

#include <QObject>

#include <algorithm>

namespace vs {
namespace {

const HostCallbacks& callbacks(DesignView& view)
{
    return view.hostCallbacks();
}

int32_t planeIdOf(const CHost& host)
{
    return host.plane != nullptr ? host.plane->id : 0;
}

/** Tells the host a host item was added; returns the id it gives (0 without a callback). */
int32_t reportAdd(DesignView& view, CGridMapping& plane, const CHost& host)
{
    const auto add = callbacks(view).addCeilingHost;
    if (add == nullptr || host.candyType == nullptr)
        return 0;
    const double x = host.freePosition ? host.rect.left : host.gx;
    const double y = host.freePosition ? host.rect.top : host.gy;
    return add(plane.id, host.candyType->id, x, y, host.rotateDegree, host.freePosition ? 1 : 0);
}

void reportDelete(DesignView& view, const CHost& host)
{
    if (const auto remove = callbacks(view).deleteCeilingHost)
        remove(planeIdOf(host), host.id);
}

/** Takes `item` out of `list`, returning its ownership and where it stood. */
template <typename T>
std::unique_ptr<T> takeOut(std::vector<std::unique_ptr<T>>& list, const T* item, size_t& index)
{
    const auto it =
        std::find_if(list.begin(), list.end(), [item](const auto& p) { return p.get() == item; });
    if (it == list.end())
        return nullptr;
    index = size_t(it - list.begin());
    std::unique_ptr<T> taken = std::move(*it);
    list.erase(it);
    return taken;
}

template <typename T>
void putBack(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> item, size_t index)
{
    list.insert(list.begin() + std::ptrdiff_t(std::min(index, list.size())), std::move(item));
}

CSolidDocument* roomOf(const CGridMapping& plane)
{
    return plane.ceiling != nullptr ? plane.ceiling->room : nullptr;
}

} // namespace

bool reportHostMove(DesignView& view, const CHost& host, const HostOffset& offset)
{
    const auto move = callbacks(view).moveCeilingHost;
    return move == nullptr || move(planeIdOf(host), host.id, offset.dx, offset.dy) != 0;
}

void applyHostMove(DesignView& view, CHost& host, const HostOffset& offset)
{
    const IRect area = host.freePosition
                           ? moveHostBy(host, offset.dx, offset.dy)
                           : moveHostByCells(host, int32_t(offset.dx), int32_t(offset.dy));
    if (host.plane != nullptr)
        repaintPlane(*host.plane, area);
    refreshHostScene(view, host);
}

HostPlace placeOf(const CHost& host)
{
    return {host.gx, host.gy, host.lastCol, host.lastRow, host.rect, host.freePosition};
}

void restorePlace(DesignView& view, CHost& host, const HostPlace& place)
{
    const IRect before = host.pixelRect;
    host.gx = place.gx;
    host.gy = place.gy;
    host.lastCol = place.lastCol;
    host.lastRow = place.lastRow;
    host.rect = place.rect;
    host.freePosition = place.freePosition;
    // A move by nothing places the item again and takes its light along.
    const IRect after = place.freePosition ? moveHostBy(host, 0, 0) : moveHostByCells(host, 0, 0);
    if (host.plane != nullptr)
        repaintPlane(*host.plane, uniteRects(before, after));
    refreshHostScene(view, host);
}

std::string rangeText(const FitResult& fit)
{
    std::string text = std::to_string(fit.first) + "," + std::to_string(fit.last);
    for (const FitRun& run : fit.runs)
        text += "," + std::to_string(run.first) + "," + std::to_string(run.last);
    return text;
}

// ---- MoveHostCommand ----

MoveHostCommand::MoveHostCommand(DesignView& view, CHost& host, const HostOffset& offset)
    : view_(view), host_(host), offset_(offset), before_(placeOf(host))
{
    setText(QObject::tr("移动"));
}

void MoveHostCommand::redo()
{
    if (reported_) {
        // The first run: the host accepted it before the step was pushed.
        reported_ = false;
        applyHostMove(view_, host_, offset_);
        after_ = placeOf(host_);
    } else if (reportHostMove(view_, host_, offset_)) {
        restorePlace(view_, host_, after_);
    }
    view_.DrawScene();
}

void MoveHostCommand::undo()
{
    // Back to the very place it came from, not by a reversed offset that might round.
    if (reportHostMove(view_, host_, {0.0 - offset_.dx, 0.0 - offset_.dy}))
        restorePlace(view_, host_, before_);
    view_.DrawScene();
}

// ---- AddHostCommand ----

AddHostCommand::AddHostCommand(DesignView& view, CGridMapping& plane, CCandyType& type, bool free,
                               double x, double y)
    : view_(view), plane_(plane), made_(std::make_unique<CHost>())
{
    setText(QObject::tr("添加"));
    made_->plane = &plane;
    made_->candyType = &type;
    made_->rotateDegree = ((type.rotateDegree % 360) + 360) % 360;
    made_->freePosition = free;
    if (free) {
        made_->rect = {x, y, x, y};
    } else {
        made_->gx = int32_t(x);
        made_->gy = int32_t(y);
    }
    placeHost(*made_);
}

AddHostCommand::~AddHostCommand() = default;

CHost* AddHostCommand::host() const
{
    return made_ ? nullptr : host_;
}

void AddHostCommand::redo()
{
    if (!made_)
        return;
    made_->id = reportAdd(view_, plane_, *made_);
    host_ = made_.get();
    plane_.hosts.push_back(std::move(made_));
    placeHost(*host_);
    repaintPlane(plane_, host_->pixelRect);
    refreshHostScene(view_, *host_);
    view_.DrawScene();
}

void AddHostCommand::undo()
{
    if (made_ || host_ == nullptr)
        return;
    reportDelete(view_, *host_);
    removeTower(*host_);
    size_t index = 0;
    made_ = takeOut(plane_.hosts, host_, index);
    repaintPlane(plane_, made_->pixelRect);
    view_.DrawScene();
}

// ---- DeleteHostCommand ----

DeleteHostCommand::DeleteHostCommand(DesignView& view, CHost& host)
    : view_(view), plane_(*host.plane), host_(&host)
{
    setText(QObject::tr("删除"));
}

DeleteHostCommand::~DeleteHostCommand()
{
    // A light held here still names the host held with it; both go together.
    if (heldLight_)
        heldLight_->host = nullptr;
}

void DeleteHostCommand::redo()
{
    if (held_)
        return;
    reportDelete(view_, *host_);
    removeTower(*host_);
    if (CSolidLight* light = host_->light) {
        releaseLightNode(*light);
        if (CSolidDocument* room = roomOf(plane_))
            heldLight_ = takeOut(room->solidLights, light, lightIndex_);
    }
    held_ = takeOut(plane_.hosts, host_, hostIndex_);
    repaintPlane(plane_, host_->pixelRect);
    view_.DrawScene();
}

void DeleteHostCommand::undo()
{
    if (!held_)
        return;
    host_->id = reportAdd(view_, plane_, *host_);
    putBack(plane_.hosts, std::move(held_), hostIndex_);
    placeHost(*host_);
    if (heldLight_) {
        CSolidLight& light = *heldLight_;
        CSolidDocument* room = roomOf(plane_);
        putBack(room->solidLights, std::move(heldLight_), lightIndex_);
        if (room->roomNode != nullptr)
            buildLightNode(light, room->roomNode);
    }
    repaintPlane(plane_, host_->pixelRect);
    refreshHostScene(view_, *host_);
    view_.DrawScene();
}

// ---- RotateHostCommand ----

RotateHostCommand::RotateHostCommand(DesignView& view, CHost& host, int degrees)
    : view_(view), host_(host), degrees_(degrees)
{
    setText(degrees == 90 ? QObject::tr("右转90度") : QObject::tr("左转90度"));
}

void RotateHostCommand::turn(int degrees)
{
    if (const auto rotate = callbacks(view_).rotateCeilingHost)
        rotate(planeIdOf(host_), host_.id, degrees);
    const IRect area = rotateHost(host_, degrees);
    if (host_.plane != nullptr)
        repaintPlane(*host_.plane, area);
    refreshHostScene(view_, host_);
    view_.DrawScene();
}

void RotateHostCommand::redo()
{
    turn(degrees_);
}

void RotateHostCommand::undo()
{
    turn(360 - degrees_);
}

// ---- LayPanelsCommand ----

LayPanelsCommand::LayPanelsCommand(DesignView& view, CGridMapping& plane, CCandyType& type,
                                   FitResult cols, FitResult rows)
    : view_(view), plane_(plane), type_(type), cols_(std::move(cols)), rows_(std::move(rows))
{
    setText(QObject::tr("铺板"));
}

void LayPanelsCommand::finish(const IRect& area, const std::vector<CGridMapping*>& bends)
{
    repaintPlane(plane_, area);
    repaintBends(bends);
    view_.DrawScene();
}

void LayPanelsCommand::redo()
{
    // The panels the lay replaces: those wholly inside one column run and one row run.
    auto inside = [](const std::vector<FitRun>& runs, int32_t first, int32_t last) {
        return std::any_of(runs.begin(), runs.end(),
                           [&](const FitRun& r) { return r.first <= first && last <= r.last; });
    };
    replaced_.clear();
    for (const auto& tile : plane_.tiles)
        if (inside(cols_.runs, tile->gx, tile->lastCol) &&
            inside(rows_.runs, tile->gy, tile->lastRow))
            replaced_.push_back({tile->candyType, tile->gx, tile->gy, tile->lastCol, tile->lastRow,
                                 tile->rotateDegree, tile->tower, tile->side, int32_t(tile->width),
                                 int32_t(tile->height)});
    if (const auto lay = callbacks(view_).layTiles)
        lay(plane_.id, type_.id, type_.rotateDegree, rangeText(cols_).c_str(),
            rangeText(rows_).c_str());
    std::vector<CGridMapping*> bends;
    const IRect area = layPanels(plane_, type_, cols_, rows_, &bends);
    finish(area, bends);
}

void LayPanelsCommand::undo()
{
    IRect area = removeTilesUnder(plane_, cols_, rows_);
    for (const Panel& p : replaced_) {
        auto tile = std::make_unique<CTile>();
        tile->plane = &plane_;
        tile->candyType = p.type;
        tile->gx = p.gx;
        tile->gy = p.gy;
        tile->rotateDegree = p.rotateDegree;
        tile->tower = p.tower;
        tile->side = p.side;
        tile->width = p.width;
        tile->height = p.height;
        placeTile(*tile);
        indexTile(plane_, tile.get());
        area = uniteRects(area, tile->pixelRect);
        CTile& added = *tile;
        plane_.tiles.push_back(std::move(tile));
        if (plane_.ceiling != nullptr && plane_.ceiling->sceneHooks != nullptr)
            plane_.ceiling->sceneHooks->tileAdded(added);
        if (const auto lay = callbacks(view_).layTiles) {
            const std::string cols = std::to_string(p.gx) + "," + std::to_string(p.lastCol);
            const std::string rows = std::to_string(p.gy) + "," + std::to_string(p.lastRow);
            lay(plane_.id, p.type != nullptr ? p.type->id : 0, p.rotateDegree,
                (cols + "," + cols).c_str(), (rows + "," + rows).c_str());
        }
    }
    finish(area, refreshDockBends(plane_));
}

} // namespace vs
