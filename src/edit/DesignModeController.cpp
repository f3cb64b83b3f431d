#include "edit/DesignModeController.h"

#include "edit/ContextMenu.h"
#include "edit/Drops.h"

#include <QGuiApplication>
#include <QMouseEvent>

void DesignModeController::press(QMouseEvent&)
{
    state_ = State::Pressed;
}

void DesignModeController::move(QMouseEvent&)
{
}

void DesignModeController::release(QMouseEvent& event)
{
    if (event.buttons() == Qt::NoButton)
        state_ = State::Idle;
}

void DesignModeController::wheel(QWheelEvent&)
{
}

void DesignModeController::key(QKeyEvent&)
{
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
