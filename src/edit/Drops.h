// Items dropped from the design dialog's lists into the 3D window.
#pragma once

#include <QPoint>
#include <QSize>

class CCandyType;
class CFacilityModel;
class DesignView;
struct PickResult;

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

/** Places `model` where `hit` found something, as dropFacilityModel does after its pick:
 *  lights (refused under simple lighting), 3D models, doors and windows, floor, wall-tile and
 *  band pictures. */
void placeFacilityModel(DesignView& view, const PickResult& hit, CFacilityModel& model,
                        bool shiftHeld);

} // namespace vs
