// The facility commands of the 3D window's context menus, each one undo step: delete, turn,
// unstick, stick to the floor, to the top or to a wall, group and ungroup. They work on the
// view's selection; a command without what it needs does nothing.
#pragma once

class CWall;
class DesignView;

namespace vs {

/** "删除": every selected facility leaves the document; the selection is emptied. */
void deleteSelectedFacilities(DesignView& view);
/** "左转90度" (+90) and "右转90度" (-90): every selected facility turns by `degrees`. */
void turnSelectedFacilities(DesignView& view, float degrees);
/** "解除贴墙": every selected facility stuck to a wall leaves it and stands free where it is. */
void unstickSelectedFacilities(DesignView& view);
/** "贴地": the selected facilities stand on the floor (height 0). */
void stickSelectedToFloor(DesignView& view);
/** "贴顶": the selected facilities hang from the lowest ceiling layer (its height minus theirs). */
void stickSelectedToTop(DesignView& view);
/** "当前选择物体贴墙": with exactly one facility selected, sticks it to `wall` at
 *  `distanceAlongWall`, turned 0, keeping its height. */
void stickSelectedToWall(DesignView& view, CWall& wall, float distanceAlongWall);
/** "组合": the selected facilities (at least two) become the members of one new group, every
 *  member staying where it is; the group is stuck to the reference member's wall when that
 *  member is stuck to one. The selection becomes the group. */
void groupSelectedFacilities(DesignView& view);
/** "解散": every selected group gives its members back to the document, each staying where it
 *  is; the selection is emptied. */
void ungroupSelectedFacilities(DesignView& view);

} // namespace vs
