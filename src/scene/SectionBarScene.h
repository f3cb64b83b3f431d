// Section bars in the scene: a profile evaluated into polylines and extruded along a section
// line, one quad per profile segment with mitred ends, under the grid node of the line's owner
// plane. Lengths are design units; the mitre angles of the line are radians.
#pragma once

#include <cstddef>

class CSectionLine;

namespace irr::scene {
class ISceneManager;
class ISceneNode;
} // namespace irr::scene

namespace vs {

/** Builds the bar of `line` (replacing one it had): a node placing the bar at pt1 along
 *  pt2 - pt1 under the grid node of line.owner (or under fallbackParent when the owner has
 *  none), with one mesh node per segment of the evaluated profile, stored in line.meshNodes.
 *  Lines without a section-bar type or profile, with no parent or of no length get no bar.
 *  Built mirrored while the room is shown inverted. Returns the number of quads made. */
size_t buildSectionBar(CSectionLine& line, irr::scene::ISceneNode* fallbackParent,
                       irr::scene::ISceneManager* smgr);

/** Removes the bar's nodes from the scene and clears the line's references. */
void removeSectionBar(CSectionLine& line);

/** Reflects the built bar about plan y = axisSum / 2 (scene z of its parent's frame), turning
 *  the quads' triangles over so they keep facing out. Mirroring twice restores the bar. */
void mirrorSectionBar(CSectionLine& line, double axisSum);

} // namespace vs
