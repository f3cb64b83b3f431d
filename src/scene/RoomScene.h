// Building and releasing the scene of a room design: the room node, the ceiling, the floor, the
// facilities, the walls and the lights, and the switch between the whole room and the ceiling
// alone.
#pragma once

#include <irrlicht.h>

class CFloorSceneNode;
class CSolidDocument;

/** The floor's scene objects while shown, held by SolidFloor::scene. */
struct SolidFloorScene
{
    /** Owned by the scene graph. */
    CFloorSceneNode* node = nullptr;
    /** Picking over the floor's mesh; held (dropped with the record). */
    irr::scene::ITriangleSelector* selector = nullptr;
};

namespace vs {

/**
 * Builds the scene of `document` under `root` in this order: the room node (stored in the
 * document), the ceiling under it, the floor node with its triangle selector, every solid
 * facility's nodes, every wall, then the lights (the user's, then the default ones). A document
 * that already has a room node is released first. Does nothing for a null root.
 */
void BuildRoomScene(irr::scene::ISceneNode* root, CSolidDocument& document);

/**
 * Removes the room's nodes in the reverse order (lights, walls, facilities, floor, ceiling, the
 * room node) and forgets every pointer to them. Does nothing without a room node.
 */
void ReleaseRoomScene(CSolidDocument& document);

/**
 * Shows (`full`) or hides the floor, every wall and every solid facility, leaving the ceiling
 * as it is, and shows or hides the markers of the active lights by `showLightMarkers`.
 */
void ShowRoomParts(bool showLightMarkers, CSolidDocument& document, bool full);

/**
 * Builds the floor's node and triangle selector again from the floor record (after its covering
 * or tile size changed), keeping the node's visibility. Does nothing without a room node.
 */
void rebuildFloor(CSolidDocument& document);

} // namespace vs
