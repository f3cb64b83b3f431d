#include "scene/CRoofSceneNode.h"

#include "document/CeilingSceneHooks.h"

CRoofSceneNode::CRoofSceneNode(SolidCeiling* ceiling, irr::scene::ISceneNode* parent,
                               irr::scene::ISceneManager* smgr)
    : CSolidSceneNode(parent, smgr, true), ceiling_(ceiling)
{
    setAutomaticCulling(irr::scene::EAC_OFF);
    irr::core::matrix4 m;
    m.setTranslation({0, kBaseCeilingHeight, 0});
    setRelativeTransformationMatrix(m);
}

CRoofSceneNode::~CRoofSceneNode() = default;

void CRoofSceneNode::setHooks(std::unique_ptr<CeilingSceneHooks> hooks)
{
    hooks_ = std::move(hooks);
}
