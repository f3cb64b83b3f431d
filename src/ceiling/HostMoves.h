// Moving and turning hosted items (lamps, vents) on a ceiling plane, and switching a lamp's room
// light. Every move returns the union of the host's old and new pixel rectangles (absolute
// picture pixels), the area of the plan picture to repaint. A host carrying a light takes its
// light along: the light moves over the centre of the host's rect as the lamp is drawn (the
// plane's grid turned and moved to its realGridOffset), mirrored in y about the root plane's
// indentedBounds while the room's view state has invertTop set, and like every light of the
// room relative to the left/top corner of those bounds.
#pragma once

#include "document/SolidMath.h"

#include <cstdint>

class CHost;

namespace vs {

/** Height of a lamp's light when it is first switched on, decimillimetres. */
constexpr float kHostLightHeight = 2300;

/** Moves a grid host by whole cells (gx, lastCol, gy, lastRow shift) and places it again. A free
 *  host is moved by nothing and returns its rectangle. */
IRect moveHostByCells(CHost& host, int32_t dCols, int32_t dRows);
/** Moves a host by a grid-relative offset (dx, dy) and places it again as a free host. */
IRect moveHostBy(CHost& host, double dx, double dy);
/** Adds degrees (a multiple of 90 is expected) to the host's rotation, brings it into 0 ... 359
 *  and places it again. */
IRect rotateHost(CHost& host, int32_t degrees);
/**
 * Switches the host's light on or off. The first time on, a light is created in the room's
 * solidLights over the host's centre (as above) at kHostLightHeight with attenuation (0, 0.002, 0)
 * and radius 100000, linked both ways; later it is only made visible. Off hides it. Returns
 * false when there is no room document to own a light (the host stays without one).
 */
bool switchHostLight(CHost& host, bool on);

} // namespace vs
