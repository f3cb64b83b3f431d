#include "SceneFixtures.h"

#include "catalogue/CFacilityModel.h"
#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "scene/CFloorSceneNode.h"
#include "scene/MeshBuffers.h"
#include "scene/RoomScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace irr;
using scenefix::SceneCatalogue;

namespace {

class FloorSceneTest : public ::testing::Test
{
protected:
    CFloorSceneNode* build(double width, double height, double left = 0, double top = 0)
    {
        document = scenefix::readRoom(scenefix::roomDesign(width, height, left, top), catalogue);
        vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document);
        return document->floor->scene ? document->floor->scene->node : nullptr;
    }
    ~FloorSceneTest() override
    {
        if (document)
            vs::ReleaseRoomScene(*document);
    }

    SceneTestDevice engine;
    SceneCatalogue catalogue;
    std::unique_ptr<CSolidDocument> document;
};

} // namespace

TEST_F(FloorSceneTest, WithoutTileSizeTheCoveringsNaturalSizeApplies)
{
    CFloorSceneNode* floor = build(60000, 40000);
    ASSERT_NE(floor, nullptr);
    ASSERT_EQ(document->floor->facilityModel->id, -7); // 4400 x 2960
    std::set<float> xs;
    std::set<float> zs;
    scene::IMeshBuffer* b = floor->mesh()->getMeshBuffer(0);
    const auto* v = static_cast<const video::S3DVertex*>(b->getVertices());
    for (u32 i = 0; i < b->getVertexCount(); ++i) {
        xs.insert(v[i].Pos.X);
        zs.insert(v[i].Pos.Z);
    }
    EXPECT_TRUE(xs.count(4400) && xs.count(8800) && xs.count(60000));
    EXPECT_TRUE(zs.count(2960) && zs.count(5920) && zs.count(40000));
    EXPECT_FALSE(xs.count(2960));
    EXPECT_NEAR(scenefix::meshArea(*floor->mesh()), 60000.0 * 40000.0, 1e3);

    document->floor->ceramicTileSize = IntSize{1000, 500};
    const core::dimension2d<double> explicitSize = CFloorSceneNode::tileSize(*document->floor);
    EXPECT_DOUBLE_EQ(explicitSize.Width, 1000);
    EXPECT_DOUBLE_EQ(explicitSize.Height, 500);
}

TEST_F(FloorSceneTest, AnInfiniteScaleGivesTheFallbackTileAsOnTheWalls)
{
    ASSERT_NE(build(60000, 40000), nullptr);
    document->floor->facilityModel->scaleX = std::numeric_limits<double>::infinity();
    document->floor->ceramicTileSize = IntSize{1000, 500};
    const core::dimension2d<double> size = CFloorSceneNode::tileSize(*document->floor);
    EXPECT_DOUBLE_EQ(size.Width, 6000);
    EXPECT_DOUBLE_EQ(size.Height, 500);
}

TEST_F(FloorSceneTest, FloorFacesUpAndIsPickedFromAbove)
{
    CFloorSceneNode* floor = build(60000, 40000, 5000, 3000);
    ASSERT_NE(floor, nullptr);
    scene::IMesh* mesh = floor->mesh();
    for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b) {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
        const auto* v = static_cast<const video::S3DVertex*>(buffer->getVertices());
        const u16* idx = buffer->getIndices();
        for (u32 i = 0; i < buffer->getVertexCount(); ++i)
            ASSERT_EQ(v[i].Normal, core::vector3df(0, 1, 0));
        for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3)
            ASSERT_GT(core::triangle3df(v[idx[i]].Pos, v[idx[i + 1]].Pos, v[idx[i + 2]].Pos)
                          .getNormal()
                          .Y,
                      0);
    }
    // Plan points are relative to the room's corner (5000, 3000).
    EXPECT_FLOAT_EQ(mesh->getBoundingBox().MinEdge.X, 0);
    EXPECT_FLOAT_EQ(mesh->getBoundingBox().MaxEdge.Z, 40000);

    scenefix::updateChain(floor);
    core::vector3df p;
    ASSERT_TRUE(scenefix::hit(engine.smgr(), document->floor->scene->selector,
                              core::line3df(1234, 20000, 2345, 1234, -20000, 2345), p));
    EXPECT_NEAR(p.Y, 0, 0.01);
    EXPECT_NEAR(p.X, 1234, 0.01);
    EXPECT_FALSE(scenefix::hit(engine.smgr(), document->floor->scene->selector,
                               core::line3df(-100, 20000, 10, -100, -20000, 10), p));
}

TEST_F(FloorSceneTest, HallOfSixtyMetresDrawsEveryBuffer)
{
    document = scenefix::readRoom(scenefix::roomDesign(600000, 600000), catalogue);
    document->floor->ceramicTileSize = IntSize{3400, 3400}; // 31 329 tiles, 125 316 vertices
    vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document);
    CFloorSceneNode* floor = document->floor->scene->node;
    scene::IMesh* mesh = floor->mesh();
    ASSERT_GE(mesh->getMeshBufferCount(), 2u);
    u32 triangles = 0;
    for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b) {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
        ASSERT_LE(buffer->getVertexCount(), vs::kMaxBufferVertices);
        for (u32 i = 0; i < buffer->getIndexCount(); ++i)
            ASSERT_LT(buffer->getIndices()[i], buffer->getVertexCount());
        triangles += buffer->getIndexCount() / 3;
    }
    EXPECT_EQ(triangles, 62658u);
    EXPECT_NEAR(scenefix::meshArea(*mesh), 3.6e11, 3.6e11 * 1e-6);

    video::IVideoDriver* driver = engine.driver();
    driver->beginScene();
    floor->render();
    driver->endScene();
    EXPECT_EQ(driver->getPrimitiveCountDrawn(0), triangles);
}
