#include "scene/CRoomSceneNode.h"

CRoomSceneNode::CRoomSceneNode(CSolidDocument* document, irr::scene::ISceneNode* parent,
                               irr::scene::ISceneManager* smgr)
    : CSolidSceneNode(parent, smgr, true), document_(document)
{
    material_.Lighting = true;
    material_.Wireframe = false;
    setAutomaticCulling(irr::scene::EAC_OFF);
}
