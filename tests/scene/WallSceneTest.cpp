#include "SceneFixtures.h"

#include "scene/CRoomSceneNode.h"
#include "scene/MeshBuffers.h"
#include "scene/RoomScene.h"
#include "scene/WallScene.h"

#include <gtest/gtest.h>

using namespace irr;
using scenefix::SceneCatalogue;

namespace {

/** A 6 m x 4 m room at (10000, 5000); each wall has one band 0..24000 of model -2 (600 mm
 *  tiles) and a zero-height band. */
class WallSceneTest : public ::testing::Test
{
protected:
    WallSceneTest()
    {
        document = scenefix::readRoom(scenefix::roomDesign(60000, 40000, 10000, 5000), catalogue);
        for (auto& wall : document->walls) {
            wall->wallParts.clear();
            addPart(*wall, 0, 24000);
            addPart(*wall, 24000, 0);
        }
    }
    ~WallSceneTest() override { vs::ReleaseRoomScene(*document); }

    static void addPart(CWall& wall, double bottom, double height)
    {
        auto part = std::make_unique<CWallPart>();
        part->definition.relativeBottom = bottom;
        part->definition.height = height;
        wall.wallParts.push_back(std::move(part));
    }
    CFlatFacility& addFlat(CWall& wall, RPoint position, IntSize size)
    {
        auto flat = std::make_unique<CFlatFacility>();
        flat->facilityModel = catalogue.facilityModel(101, 0);
        flat->position = position;
        flat->flatSize = size;
        wall.flatFacilities.push_back(std::move(flat));
        return *wall.flatFacilities.back();
    }
    void build() { vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document); }
    CWall& wall(size_t i) { return *document->walls[i]; }

    SceneTestDevice engine;
    SceneCatalogue catalogue;
    std::unique_ptr<CSolidDocument> document;
};

} // namespace

TEST_F(WallSceneTest, GroupStandsOnItsEdgeFromTheRoomCorner)
{
    build();
    // Wall 1 runs from plan (70000, 5000) to (70000, 45000): room (60000, 0), 90 degrees.
    CWall& w = wall(1);
    ASSERT_NE(vs::wallGroupNode(w), nullptr);
    EXPECT_EQ(vs::wallGroupNode(w)->getParent(),
              reinterpret_cast<scene::ISceneNode*>(document->roomNode));
    EXPECT_DOUBLE_EQ(w.sceneLength, 40000);
    EXPECT_DOUBLE_EQ(w.sceneHeight, 24000);
    const core::matrix4 m = vs::wallGroupNode(w)->getRelativeTransformation();
    core::vector3df p(1000, 0, -2000); // 1000 along the wall, 2000 up
    m.transformVect(p);
    EXPECT_NEAR(p.X, 60000, 0.05);
    EXPECT_NEAR(p.Y, 2000, 0.05);
    EXPECT_NEAR(p.Z, 1000, 0.05);
    // Wall 0 along +x from the corner.
    core::vector3df q(500, 0, -100);
    vs::wallGroupNode(wall(0))->getRelativeTransformation().transformVect(q);
    EXPECT_NEAR(q.X, 500, 0.05);
    EXPECT_NEAR(q.Y, 100, 0.05);
    EXPECT_NEAR(q.Z, 0, 0.05);
}

TEST_F(WallSceneTest, ZeroHeightBandHasNoNodeAndShownBandIsTiled)
{
    build();
    CWall& w = wall(0);
    EXPECT_EQ(vs::wallPartNode(*w.wallParts[1]), nullptr);
    ASSERT_NE(vs::wallPartNode(*w.wallParts[0]), nullptr);
    EXPECT_EQ(vs::wallGroupNode(w)->getChildren().size(), 1u);
    scene::IMesh* mesh = vs::wallPartNode(*w.wallParts[0])->getMesh();
    EXPECT_NEAR(scenefix::meshArea(*mesh), 2 * 60000.0 * 24000.0, 1e3); // front and back

    // Hiding a shown band by giving it no height hides its node.
    w.wallParts[0]->definition.height = 0;
    vs::BuildWallPartScene(w, *w.wallParts[0]);
    EXPECT_FALSE(vs::wallPartNode(*w.wallParts[0])->isVisible());
}

TEST_F(WallSceneTest, DoorCutsItsOpeningAndIsShownOnceOverItsRectangle)
{
    CFlatFacility& door = addFlat(wall(0), {10000, -20000}, {9000, 20000});
    build();
    CWall& w = wall(0);
    scene::IMesh* band = vs::wallPartNode(*w.wallParts[0])->getMesh();
    EXPECT_NEAR(scenefix::meshArea(*band), 2 * (60000.0 * 24000.0 - 9000.0 * 20000.0), 1e3);
    for (u32 b = 0; b < band->getMeshBufferCount(); ++b) {
        scene::IMeshBuffer* buffer = band->getMeshBuffer(b);
        const auto* v = static_cast<const video::S3DVertex*>(buffer->getVertices());
        const u16* idx = buffer->getIndices();
        for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3) {
            const core::vector3df c = (v[idx[i]].Pos + v[idx[i + 1]].Pos + v[idx[i + 2]].Pos) / 3;
            ASSERT_FALSE(c.X > 10000 && c.X < 19000 && c.Z > -20000 && c.Z < 0);
        }
    }
    ASSERT_NE(vs::flatFacilityNode(door), nullptr);
    scene::IMesh* shown = vs::flatFacilityNode(door)->getMesh();
    EXPECT_NEAR(scenefix::meshArea(*shown), 2 * 9000.0 * 20000.0, 1e3);
    scene::IMeshBuffer* front = shown->getMeshBuffer(0);
    const auto* v = static_cast<const video::S3DVertex*>(front->getVertices());
    for (u32 i = 0; i < front->getVertexCount(); ++i) {
        EXPECT_NEAR(v[i].TCoords.X, (v[i].Pos.X - 10000) / 9000, 1e-5);
        EXPECT_NEAR(v[i].TCoords.Y, (v[i].Pos.Z + 20000) / 20000, 1e-5);
    }
}

TEST_F(WallSceneTest, ItemsAreClippedToTheWallAndOversizedDoorsEmptyTheBand)
{
    CFlatFacility& picture =
        addFlat(wall(0), {55000, -30000}, {9000, 10000}); // over the end and top
    CFlatFacility& huge = addFlat(wall(1), {-1000, -30000}, {50000, 40000});
    build();
    EXPECT_NEAR(scenefix::meshArea(*vs::flatFacilityNode(picture)->getMesh()), 2 * 5000.0 * 4000.0,
                1e3);
    // The clipped picture still shows the part of its picture that lies on the wall.
    scene::IMeshBuffer* front = vs::flatFacilityNode(picture)->getMesh()->getMeshBuffer(0);
    const auto* v = static_cast<const video::S3DVertex*>(front->getVertices());
    for (u32 i = 0; i < front->getVertexCount(); ++i)
        EXPECT_LE(v[i].TCoords.X, 5000.0f / 9000 + 1e-5f);

    CWallPart& emptied = *wall(1).wallParts[0];
    ASSERT_NE(vs::wallPartNode(emptied), nullptr);
    EXPECT_TRUE(vs::wallPartNode(emptied)->isVisible());
    EXPECT_EQ(vs::wallPartNode(emptied)->getMesh()->getMeshBufferCount(), 0u);
    ASSERT_NE(vs::flatFacilityNode(huge), nullptr);

    // Moving the picture fully onto the wall gives it its whole rectangle again.
    picture.position = {1000, -15000};
    vs::RebuildFlatFacility(wall(0), picture);
    EXPECT_NEAR(scenefix::meshArea(*vs::flatFacilityNode(picture)->getMesh()), 2 * 9000.0 * 10000.0,
                1e3);
}

TEST_F(WallSceneTest, NewPictureResetsTheTileSizeAndPickingHitsTheFace)
{
    CWallPart& part = *wall(0).wallParts[0];
    part.ceramicTileSize = IntSize{1000, 1000};
    build();
    const u32 smallTiles = vs::wallPartNode(part)->getMesh()->getMeshBuffer(0)->getVertexCount();
    vs::SetWallPartPicture(wall(0), part, catalogue.facilityModel(-2, 0)); // 6000 x 6000
    EXPECT_EQ(part.ceramicTileSize, IntSize());
    EXPECT_EQ(part.facilityModel->id, -2);
    EXPECT_LT(vs::wallPartNode(part)->getMesh()->getMeshBuffer(0)->getVertexCount(), smallTiles);

    scenefix::updateChain(vs::wallGroupNode(wall(0)));
    core::vector3df p;
    // Wall 0 lies in z = 0, from x 0 to 60000, up to 24000.
    core::line3df ray(3000, 1000, 20000, 3000, 1000, -20000);
    ASSERT_TRUE(scenefix::hit(engine.smgr(), vs::wallFaceSelector(wall(0)), ray, p));
    EXPECT_NEAR(p.Z, 0, 0.05);
    EXPECT_NEAR(p.Y, 1000, 0.05);
    core::line3df beyond(70000, 1000, 20000, 70000, 1000, -20000);
    EXPECT_FALSE(scenefix::hit(engine.smgr(), vs::wallFaceSelector(wall(0)), beyond, p));
    ASSERT_TRUE(scenefix::hit(engine.smgr(), vs::wallPlaneSelector(wall(0)), beyond, p));
    EXPECT_NEAR(p.X, 70000, 0.05);
}

TEST(WallBandTest, DefaultWallsShowTheirBandAndLowerTilesUntilTheBandIsSwitchedOff)
{
    SceneTestDevice engine;
    SceneCatalogue catalogue;
    // A design without a 3D part gets default walls: the band and lower tiles are stored
    // with visible false, which hides nothing.
    std::unique_ptr<CSolidDocument> document =
        scenefix::readRoom(scenefix::roomDesign(60000, 40000), catalogue);
    vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document);
    ASSERT_FALSE(document->walls.empty());
    for (auto& wall : document->walls) {
        ASSERT_EQ(wall->wallParts.size(), 3u);
        EXPECT_FALSE(wall->wallParts[1]->definition.visible);
        EXPECT_FALSE(wall->wallParts[2]->definition.visible);
        for (auto& part : wall->wallParts) {
            ASSERT_NE(vs::wallPartNode(*part), nullptr);
            EXPECT_TRUE(vs::wallPartNode(*part)->isVisible());
        }
    }
    CWall& first = *document->walls[0];
    EXPECT_NEAR(scenefix::meshArea(*vs::wallPartNode(*first.wallParts[1])->getMesh()),
                2 * 60000.0 * 2000.0,
                1e3); // the band, front and back

    // The wall setup's band off hides the band alone, on every wall it is applied to.
    for (auto& wall : document->walls) {
        wall->setBand(false, 2000, 6000);
        vs::BuildWallScene(document->roomNode, *wall, *document);
    }
    EXPECT_FALSE(vs::wallPartNode(*first.wallParts[1])->isVisible());
    EXPECT_TRUE(vs::wallPartNode(*first.wallParts[0])->isVisible());
    EXPECT_TRUE(vs::wallPartNode(*first.wallParts[2])->isVisible());

    // On again, wider and higher.
    first.setBand(true, 3000, 9000);
    vs::BuildWallScene(document->roomNode, first, *document);
    ASSERT_TRUE(vs::wallPartNode(*first.wallParts[1])->isVisible());
    EXPECT_DOUBLE_EQ(first.wallParts[1]->definition.relativeBottom, 9000);
    EXPECT_NEAR(scenefix::meshArea(*vs::wallPartNode(*first.wallParts[1])->getMesh()),
                2 * 60000.0 * 3000.0, 1e3);

    // A wall without a band part is left alone.
    CWall bare(0);
    bare.setBand(false, 1, 1);
    EXPECT_EQ(bare.bandPart(), nullptr);
    vs::ReleaseRoomScene(*document);
}

TEST_F(WallSceneTest, AReleasedFlatItemLeavesItsWallsGroup)
{
    CFlatFacility& door = addFlat(wall(0), {10000, -20000}, {9000, 20000});
    build();
    scene::ISceneNode* group = vs::wallGroupNode(wall(0));
    ASSERT_NE(vs::flatFacilityNode(door), nullptr);
    const size_t shown = group->getChildren().size();

    vs::releaseFlatFacilityScene(door);
    EXPECT_EQ(vs::flatFacilityNode(door), nullptr);
    EXPECT_EQ(vs::flatFacilityMesh(door), nullptr);
    EXPECT_TRUE(door.clippedPolygon.contours.empty());
    EXPECT_EQ(group->getChildren().size(), shown - 1);
    vs::releaseFlatFacilityScene(door); // nothing left to release
    EXPECT_EQ(group->getChildren().size(), shown - 1);
}
