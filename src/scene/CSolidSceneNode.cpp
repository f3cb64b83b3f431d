#include "scene/CSolidSceneNode.h"

#include <cmath>

CSolidSceneNode::CSolidSceneNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* smgr,
                                 bool hasMaterial)
    : irr::scene::ISceneNode(parent ? parent : smgr->getRootSceneNode(), smgr, -1),
      hasMaterial_(hasMaterial)
{
}

void CSolidSceneNode::OnRegisterSceneNode()
{
    if (IsVisible)
        SceneManager->registerNodeForRendering(this, renderPass());
    ISceneNode::OnRegisterSceneNode();
}

irr::core::matrix4 CSolidSceneNode::getRelativeTransformation() const
{
    if (!matrix_.isIdentity())
        return matrix_;
    irr::core::matrix4 m;
    m.setRotationDegrees(RelativeRotation);
    m.setTranslation(RelativeTranslation);
    const bool scaled = std::fabs(RelativeScale.X - 1) > 0.000001f ||
                        std::fabs(RelativeScale.Y - 1) > 0.000001f ||
                        std::fabs(RelativeScale.Z - 1) > 0.000001f;
    if (scaled) {
        irr::core::matrix4 s;
        s.setScale(RelativeScale);
        m *= s;
    }
    return m;
}

irr::video::SMaterial& CSolidSceneNode::getMaterial(irr::u32 index)
{
    if (hasMaterial_ && index == 0)
        return material_;
    return ISceneNode::getMaterial(index);
}
