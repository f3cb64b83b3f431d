#include "SceneFixtures.h"

#include "ceiling/SolidWriter.h"
#include "document/CGridMapping.h"
#include "document/CWall.h"
#include "document/CWallPart.h"
#include "document/SolidCeiling.h"
#include "scene/CFloorSceneNode.h"
#include "scene/CRoofSceneNode.h"
#include "scene/CRoomSceneNode.h"
#include "scene/CeilingScene.h"
#include "scene/DisplayPreferences.h"
#include "scene/GridMappingScene.h"
#include "scene/RoomScene.h"
#include "scene/WallScene.h"

#include <gtest/gtest.h>

using namespace irr;
using scenefix::SceneCatalogue;

namespace {

class RoomSceneTest : public ::testing::Test
{
protected:
    RoomSceneTest() : document(scenefix::readRoom(scenefix::roomDesign(60000, 40000), catalogue)) {}
    ~RoomSceneTest() override { vs::ReleaseRoomScene(*document); }
    scene::ISceneNode* root() { return engine.smgr()->getRootSceneNode(); }
    static bool hasChild(scene::ISceneNode* parent, scene::ISceneNode* child)
    {
        for (scene::ISceneNode* c : parent->getChildren())
            if (c == child)
                return true;
        return false;
    }

    SceneTestDevice engine;
    SceneCatalogue catalogue;
    std::unique_ptr<CSolidDocument> document;
};

} // namespace

TEST_F(RoomSceneTest, BuildsTheTreeAndReleasesItWhole)
{
    vs::BuildRoomScene(root(), *document);
    ASSERT_NE(document->roomNode, nullptr);
    scene::ISceneNode* room = document->roomNode;
    EXPECT_TRUE(hasChild(root(), room));
    ASSERT_NE(document->ceiling->roofNode, nullptr);
    EXPECT_TRUE(hasChild(room, document->ceiling->roofNode));
    ASSERT_TRUE(document->floor->scene);
    EXPECT_TRUE(hasChild(room, document->floor->scene->node));
    EXPECT_NE(document->floor->scene->selector, nullptr);
    ASSERT_EQ(document->walls.size(), 4u);
    for (auto& wall : document->walls) {
        ASSERT_NE(vs::wallGroupNode(*wall), nullptr);
        EXPECT_TRUE(hasChild(room, vs::wallGroupNode(*wall)));
        // Default walls: the wall's face, its band and its lower tiles, each a node.
        EXPECT_EQ(vs::wallGroupNode(*wall)->getChildren().size(), 3u);
        EXPECT_NE(vs::wallFaceSelector(*wall), nullptr);
    }
    EXPECT_EQ(room->getMaterialCount(), 1u);
    EXPECT_TRUE(room->getMaterial(0).Lighting);

    // Building again replaces the scene instead of adding a second room.
    vs::BuildRoomScene(root(), *document);
    EXPECT_EQ(root()->getChildren().size(), 1u);

    vs::ReleaseRoomScene(*document);
    EXPECT_EQ(document->roomNode, nullptr);
    EXPECT_FALSE(document->floor->scene);
    EXPECT_EQ(document->ceiling->roofNode, nullptr);
    for (auto& wall : document->walls) {
        EXPECT_EQ(vs::wallGroupNode(*wall), nullptr);
        for (auto& part : wall->wallParts)
            EXPECT_EQ(vs::wallPartNode(*part), nullptr);
    }
    EXPECT_TRUE(root()->getChildren().empty());
    vs::ReleaseRoomScene(*document); // nothing left: nothing happens
}

TEST_F(RoomSceneTest, RoomMatrixIgnoresPositionRotationAndScale)
{
    vs::BuildRoomScene(root(), *document);
    CRoomSceneNode* room = document->roomNode;
    room->setPosition(core::vector3df(5, 6, 7));
    room->setScale(core::vector3df(2, 2, 2));
    EXPECT_TRUE(room->getRelativeTransformation().isIdentity());
    core::matrix4 m;
    m.setTranslation(core::vector3df(-30000, -12000, -20000));
    room->setRelativeTransformationMatrix(m);
    EXPECT_EQ(room->getRelativeTransformation(), m);
}

TEST_F(RoomSceneTest, CeilingAloneStaysVisibleWhenTheRoomIsHidden)
{
    vs::BuildRoomScene(root(), *document);
    vs::ShowRoomParts(false, *document, false);
    EXPECT_TRUE(document->ceiling->roofNode->isVisible());
    EXPECT_FALSE(document->floor->scene->node->isVisible());
    for (auto& wall : document->walls)
        EXPECT_FALSE(vs::wallGroupNode(*wall)->isVisible());
    vs::ShowRoomParts(false, *document, true);
    EXPECT_TRUE(document->floor->scene->node->isVisible());
    EXPECT_TRUE(vs::wallGroupNode(*document->walls[2])->isVisible());
}

TEST_F(RoomSceneTest, DisplayPreferencesReachTheScene)
{
    vs::BuildRoomScene(root(), *document);
    SolidViewState state;
    state.roofBackAlphaPercent = 40;
    EXPECT_EQ(vs::roofBackAlpha(state), 102);
    state.roofBackAlphaPercent = 400;
    EXPECT_EQ(vs::roofBackAlpha(state), 255);
    state.roofBackSemitransparent = false;
    EXPECT_EQ(vs::roofBackAlpha(state), 0);

    vs::applyAmbient(engine.smgr(), 0x102030); // a COLORREF: red 0x30, blue 0x10
    const video::SColorf ambient = engine.smgr()->getAmbientLight();
    EXPECT_NEAR(ambient.r, 0x30 / 255.0, 1e-6);
    EXPECT_NEAR(ambient.g, 0x20 / 255.0, 1e-6);
    EXPECT_NEAR(ambient.b, 0x10 / 255.0, 1e-6);
    vs::applyAmbient(nullptr, 0);

    document->viewState = std::make_unique<SolidViewState>();
    document->viewState->roofUseLighting = false;
    vs::applyDisplayPreferences(*document, engine.smgr());
    scene::ISceneNode* plane = vs::planeNode(*document->ceiling->root);
    ASSERT_NE(plane, nullptr);
    EXPECT_FALSE(plane->getMaterial(0).Lighting);

    CSolidDocument empty; // no ceiling, no lights: nothing to do, nothing breaks
    vs::applyDisplayPreferences(empty, engine.smgr());
    vs::ShowRoomParts(true, empty, false);
    vs::BuildRoomScene(nullptr, empty);
}

// A room whose outline does not start at the plan origin: floor, walls and ceiling all stand
// relative to the corner of the root plane's indented bounds, so the ceiling lies over the floor.
TEST(RoomSceneFrameTest, CeilingLiesOverTheFloorWhenTheOutlineIsAwayFromTheOrigin)
{
    SceneTestDevice engine;
    SceneCatalogue catalogue;
    auto document = scenefix::readRoom(scenefix::roomDesign(30000, 20000, 50000, 40000), catalogue);
    vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document);
    engine.smgr()->getRootSceneNode()->OnAnimate(0);
    CGridMapping& root = *document->ceiling->root;
    scenefix::updateChain(vs::planeNode(root));

    // Just inside the room's first corner, in room coordinates, both floor and ceiling are hit.
    const core::line3df up({1000, 100, 1000}, {1000, 40000, 1000});
    const vs::CeilingPick pick = vs::pickCeiling(root, up, engine.smgr());
    EXPECT_EQ(pick.plane, &root);
    EXPECT_TRUE(pick.point.equals({1000, 24000, 1000}, 0.5f));
    core::vector3df floorHit;
    EXPECT_TRUE(scenefix::hit(engine.smgr(), document->floor->scene->selector,
                              core::line3df({1000, 10000, 1000}, {1000, -100, 1000}), floorHit));
    // Beyond the room's far corner nothing of the ceiling is there.
    EXPECT_EQ(vs::pickCeiling(root, core::line3df({31000, 100, 1000}, {31000, 40000, 1000}),
                              engine.smgr())
                  .plane,
              nullptr);
    vs::ReleaseRoomScene(*document);
}

// The default first band is 50 m high; the wall and its bands still end at the ceiling above
// them, and a later band covers the earlier one instead of lying in the same place.
TEST(RoomSceneFrameTest, WallsEndAtTheCeilingAndLaterBandsCoverEarlierOnes)
{
    SceneTestDevice engine;
    SceneCatalogue catalogue;
    auto document = scenefix::readRoom(scenefix::roomDesign(30000, 20000), catalogue);
    ASSERT_FALSE(document->walls.empty());
    CWall& wall = *document->walls.front();
    ASSERT_GE(wall.wallParts.size(), 2u);
    wall.wallParts[1]->definition.visible = true; // the band at 600 mm, 200 mm high
    vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document);
    ASSERT_NE(vs::wallFaceMesh(wall), nullptr);
    EXPECT_GE(vs::wallFaceMesh(wall)->getBoundingBox().MinEdge.Y, -24000.5f);
    ASSERT_NE(vs::wallPartMesh(*wall.wallParts[0]), nullptr);
    const double first = scenefix::meshArea(*vs::wallPartMesh(*wall.wallParts[0]));
    const double band = scenefix::meshArea(*vs::wallPartMesh(*wall.wallParts[1]));
    // Front and back faces: twice the area of each part. The lower tiles (0 to 600 mm) cover
    // the first part's bottom as the band covers its stretch.
    EXPECT_NEAR(band, 2 * 30000.0 * 2000, 1);
    EXPECT_NEAR(first, 2 * 30000.0 * (24000 - 2000 - 6000), 1);
    vs::ReleaseRoomScene(*document);
}

TEST(AmbientColourTest, AColorrefTravelsFromTheDesignThroughTheSceneBackIntoTheDesign)
{
    // Designs hold the ambient colour as the colour dialog gives it: red in the low byte.
    const std::string solid =
        "<solid decimillimeter='1' outlinePoints='0,0 60000,0 60000,40000 0,40000'>"
        "<viewState viewMode='4' workMode='4'><trackball currentQuaternion='0,0,0,1'/>"
        "<displayPrefs fov='72' ambientColor='0x0000C0' "
        "eyeAboveFloor='1.35'/></viewState>"
        "<walls><wall index='0'><wallParts><p visible='true' height='24000' relativeBottom='0' "
        "facilityModelId='-2'/></wallParts></wall></walls></solid>";
    SceneTestDevice engine;
    SceneCatalogue catalogue;
    std::unique_ptr<CSolidDocument> document =
        scenefix::readRoom(scenefix::roomDesign(60000, 40000, 0, 0, solid), catalogue);
    ASSERT_NE(document->viewState, nullptr);
    EXPECT_EQ(document->viewState->ambientColor, 0xC0);

    vs::applyDisplayPreferences(*document, engine.smgr());
    const video::SColorf ambient = engine.smgr()->getAmbientLight();
    EXPECT_NEAR(ambient.r, 0xC0 / 255.0, 1e-6); // a red room light, not a blue one
    EXPECT_NEAR(ambient.g, 0, 1e-6);
    EXPECT_NEAR(ambient.b, 0, 1e-6);

    EXPECT_NE(vs::writeSolid(*document).find("_d6=\"192\""), std::string::npos);
}
