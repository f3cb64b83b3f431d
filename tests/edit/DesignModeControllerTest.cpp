// The design-mode controller's states: a held button keeps it pressed until the last button
// comes up.
#include "edit/DesignModeController.h"
#include "edit/DesignView.h"
#include "edit/Selection.h"

#include "catalogue/HostCallbacks.h"
#include "document/CSolidDocument.h"

#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

/** A view without an engine: nothing to pick, no stack, no dialogs. */
class BareView : public DesignView
{
public:
    CSolidDocument& document() const override { return doc_; }
    void DrawScene() override {}
    void ApplyDisplayPreferences(bool) override {}
    irr::scene::ISceneManager* sceneManager() const override { return nullptr; }
    irr::scene::ICameraSceneNode* activeCamera() const override { return nullptr; }
    irr::scene::ICameraSceneNode* globeCamera() const override { return nullptr; }
    bool ceilingOnly() const override { return false; }
    QSize clientSize() const override { return {400, 300}; }
    QPoint toClient(const QPoint& p) const override { return p; }
    void setMouseCapture(bool) override {}
    QUndoStack* undoStack() const override { return nullptr; }
    CCandyType* currentPanelType() const override { return nullptr; }
    const HostCallbacks& hostCallbacks() const override { return callbacks_; }
    DesignDialogs* dialogs() const override { return nullptr; }
    QWidget* widget() const override { return nullptr; }
    void showInformation(const QString&) override {}
    Selection& selection() override { return selection_; }

private:
    mutable CSolidDocument doc_;
    HostCallbacks callbacks_;
    Selection selection_;
};

QMouseEvent mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held)
{
    return QMouseEvent(type, QPointF(10, 10), QPointF(10, 10), button, held, Qt::NoModifier);
}

TEST(DesignModeControllerTest, PressedUntilTheLastButtonComesUp)
{
    BareView view;
    DesignModeController controller(view);
    EXPECT_EQ(controller.state(), DesignModeController::State::Idle);

    QMouseEvent left = mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    controller.press(left);
    EXPECT_EQ(controller.state(), DesignModeController::State::Pressed);
    QMouseEvent right =
        mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    controller.press(right);

    QMouseEvent rightUp = mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::LeftButton);
    controller.release(rightUp);
    EXPECT_EQ(controller.state(), DesignModeController::State::Pressed);
    QMouseEvent move = mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    controller.move(move);
    EXPECT_EQ(controller.state(), DesignModeController::State::Pressed);

    QMouseEvent leftUp = mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    controller.release(leftUp);
    EXPECT_EQ(controller.state(), DesignModeController::State::Idle);
}

} // namespace
