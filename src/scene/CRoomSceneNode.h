// The node holding the whole room: ceiling, floor, walls, facilities and lights hang under it.
// Its explicit matrix is where the orbit views move the room; the cameras stay fixed.
#pragma once

#include "scene/CSolidSceneNode.h"

class CSolidDocument;

class CRoomSceneNode : public CSolidSceneNode
{
public:
    /** Creates the node for `document` under `parent` (the root when null), with one lit,
     *  solid material and the identity matrix. */
    CRoomSceneNode(CSolidDocument* document, irr::scene::ISceneNode* parent,
                   irr::scene::ISceneManager* smgr);

    /** Always the node's own matrix, whatever its position, rotation and scale say. */
    irr::core::matrix4 getRelativeTransformation() const override
    {
        return relativeTransformationMatrix();
    }

    /** The document shown (not owned). */
    CSolidDocument* document() const { return document_; }

private:
    CSolidDocument* document_;
};
