// Bringing the scene in step after a ceiling edit: the plan pictures repainted (their textures
// reloaded), a host's tower and light following it.
#pragma once

#include "document/SolidMath.h"

#include <vector>

class CGridMapping;
class CHost;
class DesignView;

namespace vs {

struct PlanHighlight;

/** Repaints the absolute pixel rectangle of the plane's picture, with the drag's `highlight`
 *  when one is given; the scene takes the new texture. An empty rectangle does nothing. */
void repaintPlane(CGridMapping& plane, const IRect& pixelRect,
                  const PlanHighlight* highlight = nullptr);
/** Repaints the whole picture of every plane in `bends`. */
void repaintBends(const std::vector<CGridMapping*>& bends);
/** Rebuilds the host's tower where it now stands and gives its light node the light's place. */
void refreshHostScene(DesignView& view, CHost& host);

} // namespace vs
