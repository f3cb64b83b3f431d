// Edits of the host items (lamps, vents, appliances) and panels on the ceiling, each one undo
// step reported to the host through its ceiling callbacks, and undone by reporting the reverse.
#pragma once

class CCandyType;
class CGridMapping;
class CHost;
class DesignView;

namespace vs {

/**
 * Places a host item of `type` on `plane`, turned by the type's current rotation: at the free
 * grid-relative position (x, y) with `isFree`, else on the cell of column x and row y. The host
 * is told through AddCeilingHost and the item takes the id it returns; the plane is repainted
 * and the item's nodes built. Returns the item, or null when nothing was placed.
 */
CHost* addCeilingHost(DesignView& view, CGridMapping& plane, CCandyType& type, bool isFree,
                      double x, double y);
/** Removes `host` from its plane (its light with it), telling the host through DeleteCeilingHost.
 */
void deleteCeilingHost(DesignView& view, CHost& host);
/** Turns `host` by 90 or 270 degrees within its cells, telling the host through RotateCeilingHost.
 */
void rotateCeilingHost(DesignView& view, CHost& host, int degrees);

} // namespace vs
