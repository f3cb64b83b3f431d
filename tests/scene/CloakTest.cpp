#include "SceneFixtures.h"

#include "scene/CCubicCloakSceneNode.h"
#include "scene/CCustomSceneNode.h"

#include <gtest/gtest.h>

using namespace irr;

TEST(CloakTest, SixFacesArePickableAroundTheScaledBox)
{
    SceneTestDevice engine;
    auto* cloak = new CCubicCloakSceneNode(core::vector3df(100, 0, 200), core::vector3df(0, 0, 0),
                                           nullptr, engine.smgr());
    cloak->setScale(core::vector3df(50, 80, 40));
    engine.smgr()->getRootSceneNode()->OnAnimate(0);
    EXPECT_EQ(cloak->getChildren().size(), 6u);
    EXPECT_EQ(cloak->getMaterialCount(), 0u);
    EXPECT_EQ(cloak->faceSelector(6), nullptr);
    EXPECT_EQ(cloak->faceIndex, -1);

    core::vector3df p;
    // Face 0 lies in z = 0 of the box, face 2 in z = 1 (world z 200 and 240).
    core::line3df ray(core::vector3df(125, 40, -1000), core::vector3df(125, 40, 1000));
    ASSERT_TRUE(scenefix::hit(engine.smgr(), cloak->faceSelector(0), ray, p));
    EXPECT_NEAR(p.Z, 200, 0.01);
    ASSERT_TRUE(scenefix::hit(engine.smgr(), cloak->faceSelector(2), ray, p));
    EXPECT_NEAR(p.Z, 240, 0.01);
    // Top (4) at y = 1, bottom (5) at y = 0.
    core::line3df down(core::vector3df(120, 1000, 220), core::vector3df(120, -1000, 220));
    ASSERT_TRUE(scenefix::hit(engine.smgr(), cloak->faceSelector(4), down, p));
    EXPECT_NEAR(p.Y, 80, 0.01);
    ASSERT_TRUE(scenefix::hit(engine.smgr(), cloak->faceSelector(5), down, p));
    EXPECT_NEAR(p.Y, 0, 0.01);
    // Sides 1 and 3 at x = 1 and x = 0.
    core::line3df across(core::vector3df(-1000, 40, 220), core::vector3df(1000, 40, 220));
    ASSERT_TRUE(scenefix::hit(engine.smgr(), cloak->faceSelector(1), across, p));
    EXPECT_NEAR(p.X, 150, 0.01);
    ASSERT_TRUE(scenefix::hit(engine.smgr(), cloak->faceSelector(3), across, p));
    EXPECT_NEAR(p.X, 100, 0.01);

    EXPECT_EQ(cloak->faceNode(0)->getMaterial(0).MaterialType, video::EMT_TRANSPARENT_VERTEX_ALPHA);
    EXPECT_FALSE(cloak->faceNode(0)->getMaterial(0).Lighting);
    engine.driver()->beginScene();
    cloak->render(); // the frame draws on any driver
    engine.driver()->endScene();
    cloak->drop();
}

TEST(CloakTest, CustomNodeSwapsItsMeshNode)
{
    SceneTestDevice engine;
    scene::IMesh* cube = engine.smgr()->getGeometryCreator()->createCubeMesh();
    scene::IMesh* big =
        engine.smgr()->getGeometryCreator()->createCubeMesh(core::vector3df(10, 10, 10));

    auto* bare = new CCustomSceneNode(nullptr, engine.smgr(), nullptr);
    bare->SetMesh(cube); // no child: nothing happens
    EXPECT_EQ(bare->meshNode(), nullptr);
    EXPECT_TRUE(bare->getChildren().empty());

    auto* node = new CCustomSceneNode(cube, engine.smgr(), nullptr);
    cube->drop(); // the child mesh node holds it now
    ASSERT_NE(node->meshNode(), nullptr);
    EXPECT_EQ(node->getBoundingBox().MaxEdge, cube->getBoundingBox().MaxEdge);
    node->SetMesh(nullptr); // same mesh, new child
    ASSERT_NE(node->meshNode(), nullptr);
    EXPECT_EQ(node->meshNode()->getMesh(), cube);
    EXPECT_EQ(node->getChildren().size(), 1u);
    node->SetMesh(big);
    EXPECT_EQ(node->meshNode()->getMesh(), big);
    EXPECT_EQ(node->getBoundingBox().MaxEdge, big->getBoundingBox().MaxEdge);
    node->meshNode()->remove(); // removed from outside: the node forgets it
    EXPECT_EQ(node->meshNode(), nullptr);
    big->drop();
    bare->drop();
    node->drop();
}
