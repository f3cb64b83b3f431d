// Items dropped from the design dialog's lists into the 3D window.
#pragma once

#include <QPoint>
#include <QSize>

class CCandyType;
class CFacilityModel;
class DesignView;

namespace vs {

/** A model of the 3D tab dropped at `screenPoint` (global pixels): placed by its kind and by
 *  what lies under the point, as one undo step. `shiftHeld` sets a wall-tile picture on every
 *  wall. Nothing outside the client area, in the ceiling-only view or where nothing is hit. */
void dropFacilityModel(DesignView& view, const QPoint& screenPoint, CFacilityModel& model,
                       bool shiftHeld);
/** A panel-catalogue item (appliance, art piece) dropped at `screenPoint`, its dragged picture
 *  `imageSize`: placed as a ceiling host item where the ceiling is hit. */
void dropCatalogueItem(DesignView& view, const QPoint& screenPoint, CCandyType& type,
                       const QSize& imageSize);

} // namespace vs
