// Picking in the 3D window: what lies under a client pixel, seen from the active camera.
#pragma once

#include "document/RPoint.h"
#include "edit/PickResult.h"

class DesignView;

namespace vs {

/**
 * Picks at client pixel (x, y): the ceiling first, then, unless only the ceiling is shown, the
 * floor (seen from above), every wall's first face and every shown light marker (seen from
 * their front) and every facility's cloak faces. The nearest hit wins; on equal distances the
 * first of ceiling, floor, wall, facility, light marker. Nothing is hit without a camera.
 */
PickResult pick(DesignView& view, int x, int y);

/** The ray through client pixel (x, y) from the active camera, in scene (world) coordinates,
 *  after bringing every node's absolute transformation up to date. False without a camera. */
bool pickRay(DesignView& view, int x, int y, irr::core::line3df& ray);

/** Brings the absolute transformation of every node of the scene and the active camera's view
 *  up to date (the room node turns with the globe view's trackball between frames). */
void updateSceneTransformations(DesignView& view);

/** The grid-relative point of plan point p on plane: p - realGridOffset turned by
 *  -rotateDegree. */
RPoint gridRelativePoint(const CGridMapping& plane, const RPoint& p);

/** Turns a world point into room coordinates (those of facility and light positions). */
irr::core::vector3df worldToRoom(DesignView& view, const irr::core::vector3df& world);
/** Turns a world ray into room coordinates. */
irr::core::line3df worldToRoom(DesignView& view, const irr::core::line3df& world);

} // namespace vs
