// The design-mode controller: turns the 3D window's design-mode input into edits of the
// document, which the scene then follows. A small state machine, one state per kind of drag.
// Context menus and drops go to their own handlers (ContextMenu.h, Drops.h).
#pragma once

#include "edit/DesignInput.h"

class DesignView;

class DesignModeController : public DesignInput
{
public:
    /** A controller editing what `view` shows (not owned; it must outlive the controller). */
    explicit DesignModeController(DesignView& view) : view_(view) {}

    /** What the controller is in the middle of. */
    enum class State {
        Idle,    ///< no button held
        Pressed, ///< a button went down and has not come up yet
    };

    /** The current state. */
    State state() const { return state_; }

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
    DesignView& view_;
    State state_ = State::Idle;
};
