#include "scene/CFloorSceneNode.h"

#include "catalogue/CFacilityModel.h"
#include "document/CGridMapping.h"
#include "document/SolidFloor.h"
#include "scene/CeramicTileSize.h"
#include "scene/MeshBuffers.h"
#include "scene/PolygonTiling.h"

#include <algorithm>

using namespace irr;

core::dimension2d<double> CFloorSceneNode::tileSize(SolidFloor& floor)
{
    return vs::ceramicTileSize(floor.ceramicTileSize, floor.facilityModel);
}

CFloorSceneNode::CFloorSceneNode(SolidFloor& floor, const CGridMapping& root, const RPoint& origin,
                                 scene::ISceneNode* parent, scene::ISceneManager* smgr)
    : CSolidSceneNode(parent, smgr, true), floor_(floor), mesh_(new scene::SMesh())
{
    setAutomaticCulling(scene::EAC_OFF);
    material_.Lighting = true;
    material_.Wireframe = false;

    const core::dimension2d<double> tile = tileSize(floor);
    // Whole tiles start at the room's corner.
    vs::TileGrid grid;
    grid.origin = RPoint{root.indentedBounds.left, root.indentedBounds.top};
    grid.width = std::max(tile.Width, vs::kMinSurfaceTileSide);
    grid.height = std::max(tile.Height, vs::kMinSurfaceTileSide);
    vs::TiledSurface surface =
        vs::tilePolygon(PlanPolygon::fromPoints(root.indentedOutline), root.indentedBounds, grid);
    vs::flipSurface(surface); // the builder makes ceilings, which face down
    for (video::S3DVertex& v : surface.vertices) {
        v.Pos.X -= static_cast<f32>(origin.x);
        v.Pos.Z -= static_cast<f32>(origin.y);
    }

    video::IVideoDriver* driver = smgr->getVideoDriver();
    if (driver && floor.facilityModel)
        material_.setTexture(0, floor.facilityModel->engineTexture(driver));
    vs::appendMeshBuffers(*mesh_, surface.vertices, surface.indices, material_);
    if (mesh_->getMeshBufferCount() > 0)
        setBoundingBox(mesh_->getBoundingBox());
}

CFloorSceneNode::~CFloorSceneNode()
{
    mesh_->drop();
}

void CFloorSceneNode::render()
{
    video::IVideoDriver* driver = SceneManager->getVideoDriver();
    if (!driver)
        return;
    driver->setTransform(video::ETS_WORLD, AbsoluteTransformation);
    material_.MaterialType = video::EMT_SOLID;
    driver->setMaterial(material_);
    for (u32 i = 0; i < mesh_->getMeshBufferCount(); ++i)
        driver->drawMeshBuffer(mesh_->getMeshBuffer(i));
}
