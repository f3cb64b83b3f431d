// Towers: panels and hosted items raised as a box below their ceiling plane (`tower` design
// units deep). Each tower is five mesh nodes under the plane's grid node: the lowered top face
// over the item's rect and its four sides, textured with the item type's pictures.
#pragma once

class CCandy;

namespace irr::scene {
class ISceneManager;
}

namespace vs {

/** Builds the tower of `candy` (tower >= 1) under its plane's grid node, replacing any it had;
 *  an item with tower 0 or below, without plane, type or grid node gets none. Built mirrored
 *  while the room is shown inverted. Returns the number of nodes made (0 or 5). */
int buildTower(CCandy& candy, irr::scene::ISceneManager* smgr);

/** Removes the tower nodes of `candy` from the scene and clears its references. */
void removeTower(CCandy& candy);

} // namespace vs
