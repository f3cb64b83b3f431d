#include "edit/DesignModeController.h"

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

void DesignModeController::contextMenu(const QPoint&)
{
}

void DesignModeController::dropFacilityModel(const QPoint&, CFacilityModel&)
{
}

void DesignModeController::dropCatalogueItem(const QPoint&, CCandyType&, const QSize&)
{
}
