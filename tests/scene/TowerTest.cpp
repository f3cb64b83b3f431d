#include "CeilingSceneFixtures.h"
#include "SceneTestDevice.h"

#include "ceiling/CeilingLoad.h"
#include "document/CTile.h"
#include "scene/CeilingScene.h"
#include "scene/GridMappingScene.h"
#include "scene/TowerScene.h"

#include <gtest/gtest.h>

using namespace irr;
using namespace ceilingscene;

namespace {

class TowerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        document = makeDocument(12000, 9000);
        type = makeType(11, 3000, 3000, 0, &pictureCallbacks());
    }

    void show()
    {
        finishTree(rootOf(*document));
        room = engine.smgr()->addEmptySceneNode();
        vs::buildCeilingScene(*document, room);
    }

    static const MeshSnapshot quad(scene::ISceneNode* node)
    {
        return snapshot(*static_cast<scene::IMeshSceneNode*>(node)->getMesh());
    }

    SceneTestDevice engine;
    std::unique_ptr<CSolidDocument> document;
    std::unique_ptr<CCandyType> type;
    scene::ISceneNode* room = nullptr;
};

} // namespace

TEST_F(TowerTest, FlatTileHasNoNodesRaisedTileHasFive)
{
    CTile* flat = addTile(rootOf(*document), *type, 0, 0, 0);
    CTile* raised = addTile(rootOf(*document), *type, 1, 1, 1);
    show();
    EXPECT_EQ(vs::towerTop(*flat), nullptr);
    for (scene::ISceneNode* side : vs::towerSides(*flat))
        EXPECT_EQ(side, nullptr);
    ASSERT_NE(vs::towerTop(*raised), nullptr);
    for (scene::ISceneNode* side : vs::towerSides(*raised))
        ASSERT_NE(side, nullptr);
    scene::ISceneNode* grid = vs::planeNode(rootOf(*document));
    EXPECT_EQ(vs::towerTop(*raised)->getParent(), grid);
    EXPECT_EQ(grid->getChildren().size(), 5u);

    vs::removeTower(*raised);
    EXPECT_EQ(vs::towerTop(*raised), nullptr);
    EXPECT_TRUE(grid->getChildren().empty());
}

TEST_F(TowerTest, TopFaceIsLoweredOverTheRectInTheGridFrame)
{
    CGridMapping& root = rootOf(*document);
    CTile* tile = addTile(root, *type, 1, 0, 400);
    show();
    const MeshSnapshot top = quad(vs::towerTop(*tile));
    ASSERT_EQ(top.vertices.size(), 4u);
    const core::vector3df expected[4] = {
        {3000, -400, 0}, {6000, -400, 0}, {6000, -400, 3000}, {3000, -400, 3000}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(top.vertices[size_t(i)].Pos, expected[i]) << i;
    EXPECT_LT(
        triangleNormal(*static_cast<scene::IMeshSceneNode*>(vs::towerTop(*tile))->getMesh(), 0, 0)
            .Y,
        0);
}

TEST_F(TowerTest, TurnedGridPlacesTheTowerByRotationAndOffset)
{
    CGridMapping& root = rootOf(*document);
    root.rotateDegree = 90;
    root.realGridOffset = {1000, 2000};
    vs::finishOutlines(root);
    CTile* tile = addTile(root, *type, root.originCol, root.originRow, 100);
    show();
    const RRect r = tile->rect;
    const MeshSnapshot top = quad(vs::towerTop(*tile));
    // Grid-relative (x, y) turned by +90 degrees is (-y, x), then moved by the offset.
    EXPECT_NEAR(top.vertices[0].Pos.X, -r.top + 1000, 1e-2);
    EXPECT_NEAR(top.vertices[0].Pos.Z, r.left + 2000, 1e-2);
}

// Every side runs from the plane down to the top face and faces away from the box.
TEST_F(TowerTest, SidesHangFromThePlaneAndFaceOutwards)
{
    CTile* tile = addTile(rootOf(*document), *type, 1, 1, 600);
    show();
    const core::vector3df centre(4500, -300, 4500);
    for (scene::ISceneNode* side : vs::towerSides(*tile)) {
        const scene::IMesh& mesh = *static_cast<scene::IMeshSceneNode*>(side)->getMesh();
        const MeshSnapshot s = snapshot(mesh);
        core::vector3df middle;
        for (const video::S3DVertex& v : s.vertices) {
            EXPECT_TRUE(v.Pos.Y == 0 || v.Pos.Y == -600);
            middle += v.Pos / 4;
        }
        EXPECT_GT(triangleNormal(mesh, 0, 0).dotProduct(middle - centre), 0);
        EXPECT_GT(triangleNormal(mesh, 0, 1).dotProduct(middle - centre), 0);
    }
}

// Side k shows the type's side texture (k + (360 - rotateDegree) / 90) mod 4.
TEST_F(TowerTest, SideTexturesFollowTheItemsRotation)
{
    CTile* tile = addTile(rootOf(*document), *type, 0, 0, 100);
    tile->rotateDegree = 90;
    show();
    for (int k = 0; k < 4; ++k) {
        video::ITexture* texture = vs::towerSides(*tile)[size_t(k)]->getMaterial(0).getTexture(0);
        ASSERT_NE(texture, nullptr) << k;
        const std::string name = texture->getName().getPath().c_str();
        EXPECT_NE(name.find("side" + std::to_string((k + 3) % 4)), std::string::npos) << name;
    }
    ASSERT_NE(vs::towerTop(*tile)->getMaterial(0).getTexture(0), nullptr);
}

TEST_F(TowerTest, ItemsWithoutPlaneNodeOrTypeGetNone)
{
    CTile* tile = addTile(rootOf(*document), *type, 0, 0, 100);
    EXPECT_EQ(vs::buildTower(*tile, engine.smgr()), 0); // the plane is not shown
    show();
    tile->candyType = nullptr;
    EXPECT_EQ(vs::buildTower(*tile, engine.smgr()), 0);
    EXPECT_EQ(vs::towerTop(*tile), nullptr);
}
