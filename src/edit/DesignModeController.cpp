#include "edit/DesignModeController.h"

#include "document/CSolidFacility.h"
#include "edit/ContextMenu.h"
#include "edit/DesignView.h"
#include "edit/Drags.h"
#include "edit/Drops.h"
#include "edit/Picker.h"
#include "edit/Selection.h"
#include "scene/CCubicCloakSceneNode.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUndoStack>
#include <QWidget>

#include <algorithm>

namespace {

/** The wall every one of `facilities` stands against, or null; `same` is false when they do
 *  not all stand against one wall, nor all free. */
CWall* commonWall(const std::vector<CSolidFacility*>& facilities, bool& same)
{
    same = true;
    if (facilities.empty())
        return nullptr;
    CWall* wall = facilities.front()->stickWall;
    same = std::all_of(facilities.begin(), facilities.end(),
                       [wall](const CSolidFacility* f) { return f->stickWall == wall; });
    return wall;
}

} // namespace

DesignModeController::DesignModeController(DesignView& view) : view_(view)
{
}

DesignModeController::~DesignModeController() = default;

int DesignModeController::dragKind() const
{
    return drag_ ? drag_->kind() : 0;
}

const vs::PlanHighlight* DesignModeController::dragHighlight() const
{
    return drag_ ? drag_->planHighlight() : nullptr;
}

void DesignModeController::press(QMouseEvent& event)
{
    state_ = State::Pressed;
    if (event.button() != Qt::LeftButton)
        return;
    endDrag(); // a press during a drag ends it first
    if (QWidget* widget = view_.widget())
        widget->setFocus(Qt::MouseFocusReason);
    const QPoint p = event.position().toPoint();
    const PickResult hit = vs::pick(view_, p.x(), p.y());
    selectFor(hit, event.modifiers().testFlag(Qt::ControlModifier));
    drag_ = dragFor(hit);
    if (drag_)
        view_.setMouseCapture(true);
    view_.DrawScene();
}

void DesignModeController::selectFor(const PickResult& hit, bool adding)
{
    Selection& selection = view_.selection();
    const bool onFacility = hit.kind == PickResult::Kind::Facility;
    if (!selection.empty() && (!onFacility || (!selection.contains(hit.facility) && !adding)))
        selection.clear();
}

std::unique_ptr<vs::Drag> DesignModeController::dragFor(const PickResult& hit)
{
    using Kind = PickResult::Kind;
    switch (hit.kind) {
    case Kind::Ceiling:
        if (hit.host != nullptr)
            return vs::makeHostDrag(view_, *hit.host, {hit.ceilingX, hit.ceilingY});
        if (CCandyType* type = view_.currentPanelType())
            return vs::makePanelDrag(view_, *hit.plane, *type, hit.col, hit.row);
        return nullptr;
    case Kind::Wall:
        if (hit.flat != nullptr)
            return vs::makeFlatDrag(view_, *hit.wall, *hit.flat,
                                    {hit.wallPoint.X, -hit.wallPoint.Y});
        return nullptr;
    case Kind::Facility: {
        std::vector<CSolidFacility*> moving = view_.selection().items();
        if (!view_.selection().contains(hit.facility))
            moving.push_back(hit.facility);
        bool same = false;
        CWall* wall = commonWall(moving, same);
        if (!same)
            return nullptr;
        view_.selection().add(*hit.facility);
        return vs::makeFacilityDrag(view_, view_.selection().items(), wall,
                                    vs::worldToRoom(view_, hit.point));
    }
    case Kind::LightMarker:
        return vs::makeLightDrag(view_, *hit.light, vs::worldToRoom(view_, hit.point));
    default:
        return nullptr;
    }
}

void DesignModeController::move(QMouseEvent& event)
{
    if (!drag_)
        return;
    drag_->moveTo(event.position().toPoint());
    view_.DrawScene();
}

void DesignModeController::release(QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton)
        endDrag();
    if (event.buttons() == Qt::NoButton)
        state_ = State::Idle;
}

void DesignModeController::endDrag()
{
    if (!drag_)
        return;
    // Taken first: the step the drag runs may draw, and a draw must not see a drag half-ended.
    std::unique_ptr<vs::Drag> drag = std::move(drag_);
    view_.setMouseCapture(false);
    drag->finish();
    view_.DrawScene();
}

void DesignModeController::wheel(QWheelEvent&)
{
}

bool DesignModeController::undoKey(const QKeyEvent& event)
{
    QUndoStack* stack = view_.undoStack();
    if (stack == nullptr || !event.modifiers().testFlag(Qt::ControlModifier))
        return false;
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    if (event.key() == Qt::Key_Z && !shift) {
        endDrag();
        stack->undo();
        return true;
    }
    if (event.key() == Qt::Key_Y || (event.key() == Qt::Key_Z && shift)) {
        endDrag();
        stack->redo();
        return true;
    }
    return false;
}

void DesignModeController::key(QKeyEvent& event)
{
    undoKey(event);
}

void DesignModeController::contextMenu(const QPoint& position)
{
    vs::showContextMenu(view_, position);
}

void DesignModeController::dropFacilityModel(const QPoint& screenPoint, CFacilityModel& model)
{
    const bool shift = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
    vs::dropFacilityModel(view_, screenPoint, model, shift);
}

void DesignModeController::dropCatalogueItem(const QPoint& screenPoint, CCandyType& type,
                                             const QSize& imageSize)
{
    vs::dropCatalogueItem(view_, screenPoint, type, imageSize);
}
