// The design-mode controller's states: a held button keeps it pressed until the last button
// comes up.
#include "edit/DesignModeController.h"

#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

QMouseEvent mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held)
{
    return QMouseEvent(type, QPointF(10, 10), QPointF(10, 10), button, held, Qt::NoModifier);
}

TEST(DesignModeControllerTest, PressedUntilTheLastButtonComesUp)
{
    DesignModeController controller;
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
