// The design-mode context menus of the 3D window and their commands.
#pragma once

#include <QPoint>

class DesignView;

namespace vs {

/** Picks at `clientPoint` and shows the context menu of what was hit (one menu at a time);
 *  the chosen command runs as one undo step. */
void showContextMenu(DesignView& view, const QPoint& clientPoint);

} // namespace vs
