#include "SceneTestDevice.h"
#include "scene/CSolidSceneNode.h"

#include <gtest/gtest.h>

TEST(SolidSceneNodeTest, ExplicitMatrixReplacesPositionRotationAndScale)
{
    SceneTestDevice engine;
    auto* node = new CSolidSceneNode(nullptr, engine.smgr());
    node->drop(); // the root holds it
    node->setPosition({100, 0, 0});
    EXPECT_FLOAT_EQ(node->getRelativeTransformation().getTranslation().X, 100);

    irr::core::matrix4 m;
    m.setTranslation({0, 0, 50});
    node->setRelativeTransformationMatrix(m);
    EXPECT_FLOAT_EQ(node->getRelativeTransformation().getTranslation().X, 0);
    EXPECT_FLOAT_EQ(node->getRelativeTransformation().getTranslation().Z, 50);
    node->updateAbsolutePosition();
    EXPECT_FLOAT_EQ(node->getAbsolutePosition().Z, 50);

    node->setRelativeTransformationMatrix(irr::core::matrix4());
    EXPECT_FLOAT_EQ(node->getRelativeTransformation().getTranslation().X, 100);
}

TEST(SolidSceneNodeTest, NearlyUnitScaleCountsAsNoScale)
{
    SceneTestDevice engine;
    auto* node = new CSolidSceneNode(nullptr, engine.smgr());
    node->drop();
    node->setScale({1.0000005f, 1, 1});
    EXPECT_TRUE(node->getRelativeTransformation().isIdentity());
    node->setScale({2, 1, 1});
    EXPECT_FLOAT_EQ(node->getRelativeTransformation()[0], 2);
}

TEST(SolidSceneNodeTest, OwnMaterialOnlyWhenAsked)
{
    SceneTestDevice engine;
    auto* plain = new CSolidSceneNode(nullptr, engine.smgr());
    auto* lit = new CSolidSceneNode(nullptr, engine.smgr(), true);
    plain->drop();
    lit->drop();
    EXPECT_EQ(plain->getMaterialCount(), 0u);
    EXPECT_EQ(lit->getMaterialCount(), 1u);
    lit->getMaterial(0).Lighting = false;
    EXPECT_FALSE(lit->getMaterial(0).Lighting);
}
