// An invisible unit box around an object: six pickable faces and a green frame drawn while the
// node is visible. The wrapped object scales the node to its extents so the box covers it.
#pragma once

#include "scene/CSolidSceneNode.h"

#include <array>

class CCubicCloakSceneNode : public CSolidSceneNode
{
public:
    /** Creates the node with its six face nodes and their triangle selectors. */
    CCubicCloakSceneNode(const irr::core::vector3df& position, const irr::core::vector3df& rotation,
                         irr::scene::ISceneNode* parent, irr::scene::ISceneManager* smgr);
    /** Drops the face meshes and selectors. */
    ~CCubicCloakSceneNode() override;
    CCubicCloakSceneNode(const CCubicCloakSceneNode&) = delete;
    CCubicCloakSceneNode& operator=(const CCubicCloakSceneNode&) = delete;

    /** Draws the box (0, 0, 0)-(1, 1, 1) in opaque green with the node's transformation. */
    void render() override;

    /** The selector of face i (0..5), or null for another i. */
    irr::scene::ITriangleSelector* faceSelector(int i) const;
    /** The mesh node of face i (0..5), or null for another i. */
    irr::scene::IMeshSceneNode* faceNode(int i) const;

    /** The face last picked (-1: none); kept for the caller. */
    int faceIndex = -1;
    /** A flag for the caller (false at construction). */
    bool flag = false;

private:
    std::array<irr::scene::SMesh*, 6> meshes_{};
    std::array<irr::scene::IMeshSceneNode*, 6> faces_{};
    std::array<irr::scene::ITriangleSelector*, 6> selectors_{};
};
