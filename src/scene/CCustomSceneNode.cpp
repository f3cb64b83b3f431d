#include "scene/CCustomSceneNode.h"

using namespace irr;

CCustomSceneNode::CCustomSceneNode(scene::IMesh* mesh, scene::ISceneManager* smgr,
                                   scene::ISceneNode* parent)
    : CSolidSceneNode(parent, smgr)
{
    if (mesh)
        meshNode_ =
            smgr->addMeshSceneNode(mesh, this, -1, core::vector3df(0, 0, 0),
                                   core::vector3df(0, 0, 0), core::vector3df(1, 1, 1), false);
}

const core::aabbox3d<f32>& CCustomSceneNode::getBoundingBox() const
{
    return meshNode_ ? meshNode_->getBoundingBox() : CSolidSceneNode::getBoundingBox();
}

void CCustomSceneNode::SetMesh(scene::IMesh* mesh)
{
    if (!meshNode_)
        return;
    scene::IMesh* shown = mesh ? mesh : meshNode_->getMesh();
    if (shown)
        shown->grab(); // the old child may hold the last reference
    scene::IMeshSceneNode* old = meshNode_;
    meshNode_ = nullptr;
    old->remove();
    if (shown) {
        meshNode_ = SceneManager->addMeshSceneNode(shown, this, -1, core::vector3df(0, 0, 0),
                                                   core::vector3df(0, 0, 0),
                                                   core::vector3df(1, 1, 1), false);
        shown->drop();
    }
}

bool CCustomSceneNode::removeChild(scene::ISceneNode* child)
{
    if (child == meshNode_)
        meshNode_ = nullptr;
    return CSolidSceneNode::removeChild(child);
}

void CCustomSceneNode::removeAll()
{
    meshNode_ = nullptr;
    CSolidSceneNode::removeAll();
}
