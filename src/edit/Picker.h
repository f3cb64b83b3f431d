// Picking in the 3D window: what lies under a client pixel, seen from the active camera.
#pragma once

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

} // namespace vs
