// A node showing one mesh through one child mesh node, so that the mesh can be swapped while
// the node (and whatever hangs under it) stays in place.
#pragma once

#include "scene/CSolidSceneNode.h"

class CCustomSceneNode : public CSolidSceneNode
{
public:
    /** Creates the node under `parent` (the root when null); with a mesh, its child mesh node
     *  at the origin. */
    CCustomSceneNode(irr::scene::IMesh* mesh, irr::scene::ISceneManager* smgr,
                     irr::scene::ISceneNode* parent);

    /** The child mesh node's box when there is a child, else the node's own box. */
    const irr::core::aabbox3d<irr::f32>& getBoundingBox() const override;

    /** Replaces the child mesh node by a new one for `mesh` (null: the current mesh again).
     *  Does nothing while the node has no child. */
    void SetMesh(irr::scene::IMesh* mesh);

    /** The child mesh node, or null. */
    irr::scene::IMeshSceneNode* meshNode() const { return meshNode_; }

    /** Forgets the child when it is removed from the scene by someone else. */
    bool removeChild(irr::scene::ISceneNode* child) override;
    void removeAll() override;

private:
    irr::scene::IMeshSceneNode* meshNode_ = nullptr;
};
