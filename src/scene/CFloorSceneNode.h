// The floor: the root ceiling plane's indented outline tiled with the floor covering's picture,
// facing up, drawn buffer by buffer (a large hall needs more than one 16-bit buffer).
#pragma once

#include "document/RPoint.h"
#include "scene/CSolidSceneNode.h"

class CGridMapping;
class SolidFloor;

class CFloorSceneNode : public CSolidSceneNode
{
public:
    /** Builds the floor of `floor` over the outline of `root` under `parent`; plan points are
     *  moved by -origin (the room's plan origin). The material's texture is the covering's
     *  engine texture (none without a model or a driver). */
    CFloorSceneNode(SolidFloor& floor, const CGridMapping& root, const RPoint& origin,
                    irr::scene::ISceneNode* parent, irr::scene::ISceneManager* smgr);
    ~CFloorSceneNode() override;
    CFloorSceneNode(const CFloorSceneNode&) = delete;
    CFloorSceneNode& operator=(const CFloorSceneNode&) = delete;

    /** Draws every buffer of the mesh as solid triangles with the node's material. */
    void render() override;

    /** The floor's triangles (for picking and export); owned by the node. */
    irr::scene::SMesh* mesh() const { return mesh_; }

    /** The tile size the floor is laid with: the explicit size times the picture's scale
     *  factors when set, else the covering's natural size; 6000 for what is missing. */
    static irr::core::dimension2d<double> tileSize(SolidFloor& floor);

private:
    SolidFloor& floor_;
    irr::scene::SMesh* mesh_;
};
