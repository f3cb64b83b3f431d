#include "CeilingSceneFixtures.h"
#include "SceneFixtures.h"
#include "SceneTestDevice.h"

#include "ceiling/CeilingLoad.h"
#include "ceiling/GridLayout.h"
#include "ceiling/PlanPicture.h"
#include "document/CHost.h"
#include "document/CSolidLight.h"
#include "document/CTile.h"
#include "scene/CBendGridMappingSceneNode.h"
#include "scene/CRoofSceneNode.h"
#include "scene/CeilingScene.h"
#include "scene/GridMappingScene.h"
#include "scene/TowerScene.h"

#include <gtest/gtest.h>

using namespace irr;
using namespace ceilingscene;

namespace {

/** A 36 m x 24 m root with 6000 cells and a docked child over columns 1..3, rows 1..2 (x 6000 to
 *  24000, y 6000 to 18000), raised by 1000 with bends of 1000. */
class CeilingSceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        document = makeDocument(36000, 24000, 6000);
        CGridMapping& root = rootOf(*document);
        root.specialGridCols = {{1, 6000}, {4, 6000}};
        root.specialGridRows = {{1, 6000}, {3, 6000}};
        vs::finishOutlines(root);
        panel = makeType(11, 6000, 6000);
        raised = makeType(12, 6000, 6000, 0, &pictureCallbacks());
        addTile(root, *panel, 0, 0);
        addTile(root, *panel, 2, 0);
        CGridMapping& child = addChild(root, 6000, 6000, 24000, 18000, 1000);
        child.installType = 2;
        child.bendHeight = 1000;
        vs::resolveDock(child, {1, 4, 1, 3});
        room = engine.smgr()->addEmptySceneNode();
    }

    CGridMapping& root() { return rootOf(*document); }
    CGridMapping& child() { return *root().children[0]; }

    void show()
    {
        finishTree(root());
        vs::buildCeilingScene(*document, room);
        updateScene(engine.smgr());
    }

    SceneTestDevice engine;
    std::unique_ptr<CSolidDocument> document;
    std::unique_ptr<CCandyType> panel;
    std::unique_ptr<CCandyType> raised;
    scene::ISceneNode* room = nullptr;
};

} // namespace

TEST_F(CeilingSceneTest, BuildHangsThePlanesUnderTheRoofAtTheBaseHeight)
{
    show();
    SolidCeiling& ceiling = *document->ceiling;
    ASSERT_NE(ceiling.roofNode, nullptr);
    EXPECT_EQ(ceiling.roofNode->getParent(), room);
    EXPECT_EQ(ceiling.roofNode->getRelativeTransformation().getTranslation(),
              core::vector3df(0, 24000, 0));
    ASSERT_NE(vs::planeNode(root()), nullptr);
    EXPECT_EQ(vs::planeNode(root())->getParent(), ceiling.roofNode);
    ASSERT_NE(vs::planeNode(child()), nullptr);
    EXPECT_EQ(vs::planeNode(child())->getParent(), vs::planeNode(root()));
    EXPECT_EQ(vs::planeNode(child())->getAbsolutePosition(), core::vector3df(0, 25000, 0));
    EXPECT_NE(vs::planeSelectors(root())[0], nullptr);
    EXPECT_NE(vs::planeSelectors(root())[1], nullptr);
    EXPECT_NE(ceiling.sceneHooks, nullptr);
    for (auto& bend : child().bends) {
        ASSERT_NE(bend, nullptr);
        ASSERT_NE(vs::planeNode(*bend), nullptr);
        EXPECT_EQ(vs::planeNode(*bend)->getParent(), vs::planeNode(root()));
    }
}

TEST_F(CeilingSceneTest, DockedChildWithoutBendHeightGetsNoBendNodes)
{
    child().bendHeight = 0;
    show();
    for (auto& bend : child().bends)
        EXPECT_EQ(bend, nullptr);
    // The child's own node is the only child of the root's grid node.
    EXPECT_EQ(vs::planeNode(root())->getChildren().size(), 1u);
}

TEST_F(CeilingSceneTest, ReleaseClearsEveryReferenceAndRemovesTheRoof)
{
    addTile(root(), *raised, 5, 3, 200);
    show();
    const u32 textures = engine.driver()->getTextureCount();
    vs::releaseCeilingScene(*document);
    SolidCeiling& ceiling = *document->ceiling;
    EXPECT_EQ(ceiling.roofNode, nullptr);
    EXPECT_EQ(ceiling.sceneHooks, nullptr);
    EXPECT_TRUE(room->getChildren().empty());
    for (CGridMapping* plane : {&root(), &child(), child().bends[0].get()}) {
        EXPECT_EQ(vs::planeNode(*plane), nullptr);
        EXPECT_EQ(vs::planeSelectors(*plane)[0], nullptr);
        EXPECT_EQ(vs::planeSelectors(*plane)[1], nullptr);
    }
    EXPECT_EQ(vs::towerTop(*root().tiles.back()), nullptr);
    // The planes' textures (root, child, four bends) left the driver.
    EXPECT_EQ(engine.driver()->getTextureCount(), textures - 6);
    vs::releaseCeilingScene(*document); // nothing left to release
}

// The top bend runs along the child's top edge from (minX, minY) to (maxX, minY); its strip
// stands up from the parent's level to the bend height.
TEST_F(CeilingSceneTest, BendNodeStandsAlongItsBaseLine)
{
    show();
    auto* top = dynamic_cast<CBendGridMappingSceneNode*>(vs::planeNode(*child().bends[0]));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->start(), (RPoint{6000, 6000}));
    EXPECT_EQ(top->end(), (RPoint{24000, 6000}));
    auto* right = dynamic_cast<CBendGridMappingSceneNode*>(vs::planeNode(*child().bends[1]));
    ASSERT_NE(right, nullptr);
    const core::matrix4 m = right->getRelativeTransformation();
    auto at = [&](f32 x, f32 planY) {
        core::vector3df p(x, 0, planY);
        m.transformVect(p);
        return p;
    };
    // The right bend runs from (24000, 6000) to (24000, 18000).
    EXPECT_TRUE(at(0, 0).equals({24000, 0, 6000}, 0.5f));
    EXPECT_TRUE(at(12000, 0).equals({24000, 0, 18000}, 0.5f));
    EXPECT_TRUE(at(0, 1000).equals({24000, 1000, 6000}, 0.5f));
}

TEST_F(CeilingSceneTest, BendMirrorReflectsItsBaseLineAndTwiceRestores)
{
    show();
    auto* node = dynamic_cast<CBendGridMappingSceneNode*>(vs::planeNode(*child().bends[1]));
    ASSERT_NE(node, nullptr);
    const MeshSnapshot drawn = snapshot(*node->drawMesh());
    const std::vector<u16> up = node->reversedIndices(0);
    node->mirror(24000);
    EXPECT_EQ(node->start(), (RPoint{24000, 18000}));
    EXPECT_EQ(node->end(), (RPoint{24000, 6000}));
    EXPECT_EQ(snapshot(*node->drawMesh()).indices, up);
    EXPECT_EQ(snapshot(*node->drawMesh()).vertices, drawn.vertices);
    node->mirror(24000);
    EXPECT_EQ(snapshot(*node->drawMesh()), drawn);
    EXPECT_EQ(node->start(), (RPoint{24000, 6000}));
}

TEST_F(CeilingSceneTest, InvertingTwiceRestoresTheWholeCeiling)
{
    CTile* tile = addTile(root(), *raised, 5, 3, 300);
    auto host = std::make_unique<CHost>();
    host->candyType = panel.get();
    host->plane = &root();
    root().hosts.push_back(std::move(host));
    auto light = std::make_unique<CSolidLight>(document.get());
    light->position = {100, 2300, 5000};
    root().hosts[0]->light = light.get();
    show();
    auto* rootNode = dynamic_cast<CGridMappingSceneNode*>(vs::planeNode(root()));
    const MeshSnapshot drawn = snapshot(*rootNode->drawMesh());
    const MeshSnapshot face = snapshot(*rootNode->faceMesh());
    const MeshSnapshot tower =
        snapshot(*static_cast<scene::IMeshSceneNode*>(vs::towerTop(*tile))->getMesh());

    vs::invertCeiling(*document);
    EXPECT_TRUE(document->inverted);
    EXPECT_EQ(light->position.z, 24000 - 5000);
    const MeshSnapshot mirroredTower =
        snapshot(*static_cast<scene::IMeshSceneNode*>(vs::towerTop(*tile))->getMesh());
    EXPECT_EQ(mirroredTower.vertices[0].Pos.Z, 24000 - tower.vertices[0].Pos.Z);
    EXPECT_NE(snapshot(*rootNode->drawMesh()), drawn);

    vs::invertCeiling(*document);
    EXPECT_FALSE(document->inverted);
    EXPECT_EQ(light->position.z, 5000);
    EXPECT_EQ(snapshot(*rootNode->drawMesh()), drawn);
    EXPECT_EQ(snapshot(*rootNode->faceMesh()), face);
    EXPECT_EQ(snapshot(*static_cast<scene::IMeshSceneNode*>(vs::towerTop(*tile))->getMesh()),
              tower);
    root().hosts[0]->light = nullptr;
}

TEST_F(CeilingSceneTest, RayFromBelowHitsTheCeilingPlaneAtTheRightPoint)
{
    show();
    const core::line3df ray({3000, 0, 4000}, {3000, 40000, 4000});
    const vs::CeilingPick pick = vs::pickCeiling(root(), ray, engine.smgr());
    EXPECT_EQ(pick.plane, &root());
    EXPECT_TRUE(pick.point.equals({3000, 24000, 4000}, 0.5f));
    // Through the opening the raised child is hit, a level higher.
    const vs::CeilingPick inside = vs::pickCeiling(
        root(), core::line3df({12000, 0, 12000}, {12000, 40000, 12000}), engine.smgr());
    EXPECT_EQ(inside.plane, &child());
    EXPECT_TRUE(inside.point.equals({12000, 25000, 12000}, 0.5f));
}

TEST_F(CeilingSceneTest, RayFromAboveSeesOnlyBackFacesAndPicksNothing)
{
    show();
    const core::line3df ray({3000, 40000, 4000}, {3000, 0, 4000});
    EXPECT_EQ(vs::pickCeiling(root(), ray, engine.smgr()).plane, nullptr);
}

// Two levels over the same spot: the nearer one wins even though the farther one is tested
// first.
TEST_F(CeilingSceneTest, NearestOfTwoLevelsWins)
{
    document = makeDocument(12000, 12000);
    CGridMapping& lower = addChild(rootOf(*document), 0, 0, 6000, 6000, -500);
    finishTree(rootOf(*document));
    // Keep the root whole over the child so both levels lie on the ray.
    rootOf(*document).openPolygon = rootOf(*document).indentedPolygon;
    vs::buildCeilingScene(*document, room);
    updateScene(engine.smgr());
    const core::line3df ray({3000, 0, 3000}, {3000, 40000, 3000});
    const vs::CeilingPick pick = vs::pickCeiling(rootOf(*document), ray, engine.smgr());
    EXPECT_EQ(pick.plane, &lower);
    EXPECT_TRUE(pick.point.equals({3000, 23500, 3000}, 0.5f));
    // Starting between the levels only the root lies ahead.
    const vs::CeilingPick above = vs::pickCeiling(
        rootOf(*document), core::line3df({3000, 23800, 3000}, {3000, 40000, 3000}), engine.smgr());
    EXPECT_EQ(above.plane, &rootOf(*document));
}

TEST_F(CeilingSceneTest, RepaintThroughTheHooksReplacesTheTexture)
{
    show();
    auto* node = dynamic_cast<CGridMappingSceneNode*>(vs::planeNode(root()));
    video::ITexture* before = node->texture();
    ASSERT_NE(before, nullptr);
    const io::path oldName = before->getName().getPath();
    const u32 textures = engine.driver()->getTextureCount();
    vs::repaintPlanRect(root(), {0, 0, 20, 20});
    video::ITexture* after = node->texture();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after->getName().getPath(), oldName);
    EXPECT_EQ(engine.driver()->findTexture(oldName), nullptr);
    EXPECT_EQ(engine.driver()->getTextureCount(), textures);
}

// Laying panels builds the new tiles' towers through the hooks; replacing them removes them.
TEST_F(CeilingSceneTest, LaidAndRemovedTilesGetAndLoseTheirTowers)
{
    show();
    auto towered = makeType(14, 6000, 6000, 250);
    const size_t before = vs::planeNode(root())->getChildren().size();
    FitResult cols;
    cols.runs.push_back({5, 5, 1, 0, 0, 0});
    cols.first = cols.last = 5;
    FitResult rows = cols;
    rows.runs[0].first = rows.runs[0].last = 3;
    rows.first = rows.last = 3;
    vs::layPanels(root(), *towered, cols, rows);
    CTile* laid = root().tiles.back().get();
    ASSERT_EQ(laid->gx, 5);
    ASSERT_NE(vs::towerTop(*laid), nullptr);
    EXPECT_EQ(vs::planeNode(root())->getChildren().size(), before + 5);
    vs::removeTilesUnder(root(), cols, rows);
    EXPECT_EQ(vs::planeNode(root())->getChildren().size(), before);
}

// A split ceiling read from a design: each child gets its grid node under the roof (the split
// plane has none), and the split line's bend stands under the lower child's node on its base
// line.
TEST(CeilingSplitSceneTest, SplitChildrenAndTheirBendAreBuilt)
{
    SceneTestDevice engine;
    scenefix::SceneCatalogue catalogue;
    const std::string child = "gridWidth='6000' gridHeight='6000' hoist='0' ";
    const std::string text =
        "<design name='Split' gridWidth='6000' gridHeight='6000' horizontalSplit='true' "
        "outlinePoints='0,0 60000,0 60000,40000 0,40000'>"
        "<splitLines><s hoistSide='1' hoist='1000' installType='2' pos='30000' "
        "pt1='30000,0,0' pt2='30000,40000,0'/></splitLines>"
        "<children><c " +
        child + "outlinePoints='0,0 30000,0 30000,40000 0,40000'/><c " + child +
        "outlinePoints='30000,0 60000,0 60000,40000 30000,40000'/></children></design>";
    std::unique_ptr<CSolidDocument> document = scenefix::readRoom(text, catalogue);
    CGridMapping& root = *document->ceiling->root;
    ASSERT_EQ(root.children.size(), 2u);
    ASSERT_NE(root.splitLines[0]->bend, nullptr);
    scene::ISceneNode* room = engine.smgr()->addEmptySceneNode();
    vs::buildCeilingScene(*document, room);
    EXPECT_EQ(vs::planeNode(root), nullptr);
    CGridMapping& lower = *root.children[1];
    ASSERT_NE(vs::planeNode(lower), nullptr);
    EXPECT_EQ(vs::planeNode(lower)->getParent(), document->ceiling->roofNode);
    EXPECT_EQ(vs::planeNode(*root.children[0])->getRelativeTransformation().getTranslation().Y,
              1000);
    auto* bend = dynamic_cast<CBendGridMappingSceneNode*>(vs::planeNode(*root.splitLines[0]->bend));
    ASSERT_NE(bend, nullptr);
    EXPECT_EQ(bend->getParent(), vs::planeNode(lower));
    EXPECT_EQ(bend->start(), root.splitLines[0]->bendStart);
    EXPECT_EQ(bend->end(), root.splitLines[0]->bendEnd);
    vs::releaseCeilingScene(*document);
    EXPECT_EQ(vs::planeNode(*root.splitLines[0]->bend), nullptr);
}
