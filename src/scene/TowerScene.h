// Towers: panels and hosted items raised as a box below their ceiling plane (`tower` design
// units deep). Each tower is five mesh nodes under the plane's grid node: the lowered top face
// over the item's rect and its four sides, textured with the item type's pictures.
#pragma once

#include <array>

class CCandy;

namespace irr::scene {
class ISceneManager;
class ISceneNode;
} // namespace irr::scene

/** The nodes of one tower; the scene graph owns them. */
struct CandyTowerScene
{
    irr::scene::ISceneNode* top = nullptr;
    std::array<irr::scene::ISceneNode*, 4> sides{};
};

namespace vs {

/** Builds the tower of `candy` (tower >= 1) under its plane's grid node, replacing any it had;
 *  an item with tower 0 or below, without plane, type or grid node gets none. Built mirrored
 *  while the room is shown inverted. Returns the number of nodes made (0 or 5). */
int buildTower(CCandy& candy, irr::scene::ISceneManager* smgr);

/** Removes the tower nodes of `candy` from the scene and clears its references. */
void removeTower(CCandy& candy);

/** Forgets the tower nodes of `candy` without touching the scene (the engine is going away). */
void forgetTower(CCandy& candy);

/** The lowered top face of the tower of `candy`; null while it has none. */
irr::scene::ISceneNode* towerTop(const CCandy& candy);

/** The four sides of the tower of `candy`, all null while it has none. */
std::array<irr::scene::ISceneNode*, 4> towerSides(const CCandy& candy);

} // namespace vs
