// Section bars in the scene: a profile evaluated into polylines and extruded along a section
// line, one quad per profile segment with mitred ends, under the grid node of the line's owner
// plane. Lengths are design units; the mitre angles of the line are radians.
#pragma once

#include <cstddef>
#include <vector>

class CSectionLine;

namespace irr::scene {
class ISceneManager;
class ISceneNode;
} // namespace irr::scene

/** A bar's nodes while shown, held by CSectionLine::scene; the scene graph owns the nodes. */
struct SectionLineScene
{
    /** The node placing the bar (parent of meshNodes). */
    irr::scene::ISceneNode* sectionNode = nullptr;
    /** One mesh node per segment of the evaluated profile. */
    std::vector<irr::scene::ISceneNode*> meshNodes;
};

namespace vs {

/** The node placing the bar of `line`; null while it has none. */
irr::scene::ISceneNode* sectionNode(const CSectionLine& line);

/** The quads of the bar of `line`, one per profile segment; empty while it has none. */
const std::vector<irr::scene::ISceneNode*>& sectionMeshNodes(const CSectionLine& line);

/** Forgets the bar's nodes without touching the scene (the scene graph is going away). */
void forgetSectionBar(CSectionLine& line);

/** Builds the bar of `line` (replacing one it had): a node placing the bar at pt1 along
 *  pt2 - pt1 under the grid node of line.owner (or under fallbackParent when the owner has
 *  none), with one mesh node per segment of the evaluated profile (sectionMeshNodes).
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
