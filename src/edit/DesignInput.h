// What the 3D window hands on while it is in design mode: every press, move, release, wheel
// turn, key, context-menu request and drop from the catalogue lists. The design-mode
// controller implements it; tests put a recorder in its place.
#pragma once

#include <QPoint>
#include <QSize>

class CCandyType;
class CFacilityModel;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

class DesignInput
{
public:
    virtual ~DesignInput() = default;

    /** A mouse button went down over the window (positions in window pixels). */
    virtual void press(QMouseEvent& event) = 0;
    /** The mouse moved over the window, or anywhere while the window holds the mouse. */
    virtual void move(QMouseEvent& event) = 0;
    /** A mouse button went up. */
    virtual void release(QMouseEvent& event) = 0;
    /** The wheel turned over the window. */
    virtual void wheel(QWheelEvent& event) = 0;
    /** A key went down while the window had the focus (the window keeps every key). */
    virtual void key(QKeyEvent& event) = 0;
    /** The user asked for the context menu at `position` (window pixels). */
    virtual void contextMenu(const QPoint& position) = 0;
    /** A facility model was dropped from the 3D tab at `screenPoint` (global pixels). */
    virtual void dropFacilityModel(const QPoint& screenPoint, CFacilityModel& model) = 0;
    /** A panel-catalogue item (appliance, art piece) was dropped from a later panel tab at
     *  `screenPoint`; `imageSize` is the dragged picture's size. */
    virtual void dropCatalogueItem(const QPoint& screenPoint, CCandyType& type,
                                   const QSize& imageSize) = 0;
};
