// The design-mode controller: turns the 3D window's design-mode input into edits of the
// document, which the scene then follows. A small state machine, one state per kind of drag.
// Context menus and drops go to their own handlers (ContextMenu.h, Drops.h).
#pragma once

#include "edit/DesignInput.h"

#include <memory>

namespace vs {
class Drag;
struct PlanHighlight;
} // namespace vs
struct PickResult;

class DesignView;

class DesignModeController : public DesignInput
{
public:
    /** A controller editing what `view` shows (not owned; it must outlive the controller). */
    explicit DesignModeController(DesignView& view);
    ~DesignModeController() override;

    /** What the controller is in the middle of. */
    enum class State {
        Idle,    ///< no button held
        Pressed, ///< a button went down and has not come up yet
    };

    /** The current state. */
    State state() const { return state_; }
    /** The kind of the drag in progress: 0 none, 1 a ceiling host item, 2 panels over a
     *  rectangle of cells, 3 a door or window, 4 the selected facilities or a light. */
    int dragKind() const;
    /** The overlay the drag in progress draws on a plan picture (panels over cells); null
     *  while no drag draws one. */
    const vs::PlanHighlight* dragHighlight() const;

    void press(QMouseEvent& event) override;
    void move(QMouseEvent& event) override;
    void release(QMouseEvent& event) override;
    void wheel(QWheelEvent& event) override;
    void key(QKeyEvent& event) override;
    void contextMenu(const QPoint& position) override;
    void dropFacilityModel(const QPoint& screenPoint, CFacilityModel& model) override;
    void dropCatalogueItem(const QPoint& screenPoint, CCandyType& type,
                           const QSize& imageSize) override;

private:
    /** Updates the selection for a press that hit `hit` (Ctrl held: `adding`). */
    void selectFor(const PickResult& hit, bool adding);
    /** The drag a left press on `hit` starts, or null. */
    std::unique_ptr<vs::Drag> dragFor(const PickResult& hit);
    /** Ends the drag in progress as a release would. */
    void endDrag();
    /** Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo; false for other keys. */
    bool undoKey(const QKeyEvent& event);

    DesignView& view_;
    State state_ = State::Idle;
    std::unique_ptr<vs::Drag> drag_;
};
