// The design-mode context menus of the 3D window and their commands.
#pragma once

#include <QPoint>

#include <memory>

class DesignView;
class QMenu;
class QWidget;
struct PickResult;

namespace vs {

/** Picks at `clientPoint` and shows the context menu of what was hit (one menu at a time);
 *  the chosen command runs as one undo step. */
void showContextMenu(DesignView& view, const QPoint& clientPoint);

/**
 * The context menu for `hit` (menu 134's popup for the kind hit, entries greyed where they
 * cannot run), followed by "撤销 <step>" and "重做 <step>" from the view's undo stack.
 * Triggering an entry runs its command. A facility hit first makes that facility the only
 * selected one unless it is selected already. Null when there is nothing to offer.
 */
std::unique_ptr<QMenu> buildContextMenu(DesignView& view, const PickResult& hit,
                                        QWidget* parent = nullptr);

} // namespace vs
