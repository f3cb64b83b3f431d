#include "scene/LightScene.h"

#include "FacilityFixtures.h"
#include "SceneTestDevice.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

struct LitRoom
{
    LitRoom() : document(vs::fixtures::rectangularRoom())
    {
        document->viewState = std::make_unique<SolidViewState>();
        document->viewState->simpleLighting = false;
        user = add(document->solidLights, {1000, 14000, 2000});
        dark = add(document->solidLights, {3000, 14000, 2000});
        dark->isVisible = false;
        fallback = add(document->defaultSolidLights, {30000, 14000, 20000});
        fallback->isMain = true;
    }
    ~LitRoom() { vs::releaseLightNodes(*document); }
    LitRoom(const LitRoom&) = delete;
    LitRoom& operator=(const LitRoom&) = delete;

    static CSolidLight* add(std::vector<std::unique_ptr<CSolidLight>>& list, const Vec3f& at)
    {
        auto light = std::make_unique<CSolidLight>();
        light->position = at;
        list.push_back(std::move(light));
        return list.back().get();
    }

    void build() { vs::buildLightNodes(*document, engine.smgr()->getRootSceneNode()); }

    SceneTestDevice engine;
    std::unique_ptr<CSolidDocument> document;
    CSolidLight* user;
    CSolidLight* dark;
    CSolidLight* fallback;
};

bool lit(const CSolidLight* light)
{
    return vs::lightNode(*light) != nullptr && vs::lightNode(*light)->isVisible();
}

bool marked(const CSolidLight* light)
{
    return vs::lightMarkerNode(*light) != nullptr && vs::lightMarkerNode(*light)->isVisible();
}

} // namespace

TEST(LightNodeTest, NodeTakesTheWholeRecordAndPointsDown)
{
    LitRoom room;
    room.user->type = CSolidLight::Spot;
    room.user->radius = 100000;
    room.user->attenuation = {0, 0.002f, 0};
    room.user->diffuseColor = {0.75f, 0.75f, 0.75f, 1};
    room.user->outerCone = 30;
    room.user->castShadows = false;
    room.build();

    ASSERT_NE(vs::lightNode(*room.user), nullptr);
    const video::SLight& data = vs::lightNode(*room.user)->getLightData();
    EXPECT_EQ(data.Type, video::ELT_SPOT);
    EXPECT_FLOAT_EQ(data.Radius, 100000);
    // setRadius would have rewritten the attenuation; the record's own one must win.
    EXPECT_FLOAT_EQ(data.Attenuation.X, 0);
    EXPECT_FLOAT_EQ(data.Attenuation.Y, 0.002f);
    EXPECT_FLOAT_EQ(data.DiffuseColor.r, 0.75f);
    EXPECT_FLOAT_EQ(data.OuterCone, 30);
    EXPECT_FALSE(data.CastShadows);
    EXPECT_EQ(vs::lightNode(*room.user)->getPosition(), core::vector3df(1000, 14000, 2000));
    EXPECT_EQ(vs::lightNode(*room.user)->getRotation(), core::vector3df(90, 0, 0));
}

TEST(LightNodeTest, MarkerIsAnUnlitWireframeSphereWithASelector)
{
    LitRoom room;
    room.build();
    for (CSolidLight* light : {room.user, room.dark, room.fallback}) {
        ASSERT_NE(vs::lightMarkerNode(*light), nullptr);
        EXPECT_NE(vs::lightMarkerSelector(*light), nullptr);
        EXPECT_FALSE(vs::lightMarkerNode(*light)->getMaterial(0).Lighting);
        EXPECT_TRUE(vs::lightMarkerNode(*light)->getMaterial(0).Wireframe);
        EXPECT_EQ(vs::lightMarkerNode(*light)->getPosition(),
                  core::vector3df(light->position.x, light->position.y, light->position.z));
        EXPECT_FALSE(vs::lightMarkerNode(*light)->isVisible()); // markers start hidden
    }
    const core::aabbox3df box = vs::lightMarkerNode(*room.user)->getBoundingBox();
    EXPECT_NEAR(box.getExtent().X, 2 * vs::lightMarkerRadius, 1);
    EXPECT_GT(vs::lightMarkerSelector(*room.user)->getTriangleCount(), 0);
}

TEST(LightingModelTest, BuildFollowsTheViewStatesModel)
{
    LitRoom room;
    room.build(); // professional
    EXPECT_TRUE(lit(room.user));
    EXPECT_FALSE(lit(room.dark));
    EXPECT_FALSE(lit(room.fallback));

    LitRoom simple;
    simple.document->viewState.reset(); // no view state: simple lighting
    simple.build();
    EXPECT_FALSE(lit(simple.user));
    EXPECT_TRUE(lit(simple.fallback));
}

TEST(LightingModelTest, SwitchingToSimpleHidesUserLightsAndTheirMarkers)
{
    LitRoom room;
    room.build();
    vs::showLightMarkers(true, false, *room.document);
    EXPECT_TRUE(marked(room.user));
    EXPECT_FALSE(marked(room.fallback));

    vs::applyLightingModelToLights(true, *room.document);
    EXPECT_FALSE(lit(room.user));
    EXPECT_FALSE(marked(room.user));
    EXPECT_TRUE(lit(room.fallback));
    EXPECT_FALSE(marked(room.fallback)); // its own flag is still off

    // Back to professional: the user's lights and markers return as they were.
    vs::applyLightingModelToLights(false, *room.document);
    EXPECT_TRUE(lit(room.user));
    EXPECT_TRUE(marked(room.user));
    EXPECT_FALSE(lit(room.fallback));
}

TEST(LightingModelTest, SwitchedOffLightStaysDarkButShowsItsMarker)
{
    LitRoom room;
    room.build();
    vs::showLightMarkers(true, *room.document);
    EXPECT_FALSE(lit(room.dark));
    EXPECT_TRUE(marked(room.dark));
    vs::applyLightingModelToLights(true, *room.document);
    vs::applyLightingModelToLights(false, *room.document);
    EXPECT_FALSE(lit(room.dark));
    EXPECT_TRUE(marked(room.dark));
}

TEST(LightingModelTest, MarkersOfTheActiveListOnly)
{
    LitRoom room;
    room.document->viewState->simpleLighting = true;
    room.build();
    vs::showLightMarkers(true, *room.document);
    EXPECT_TRUE(room.fallback->markerShown);
    EXPECT_TRUE(marked(room.fallback));
    EXPECT_FALSE(room.user->markerShown);
    EXPECT_FALSE(marked(room.user));
}

TEST(LightNodeTest, ReleaseRemovesNodesAndClearsPointers)
{
    LitRoom room;
    scene::ISceneNode* root = room.engine.smgr()->getRootSceneNode();
    const u32 before = root->getChildren().size();
    room.build();
    EXPECT_EQ(root->getChildren().size(), before + 6); // a light and a marker each

    vs::releaseLightNodes(*room.document);
    EXPECT_EQ(root->getChildren().size(), before);
    for (CSolidLight* light : {room.user, room.dark, room.fallback}) {
        EXPECT_EQ(vs::lightNode(*light), nullptr);
        EXPECT_EQ(vs::lightMarkerNode(*light), nullptr);
        EXPECT_EQ(vs::lightMarkerSelector(*light), nullptr);
    }
    vs::releaseLightNodes(*room.document); // nothing left to release
    vs::applyLightingModelToLights(true, *room.document);
}

TEST(LightNodeTest, EditedRecordMovesLightAndMarker)
{
    LitRoom room;
    room.build();
    room.user->position = {500, 20000, 700};
    room.user->isVisible = false;
    room.user->radius = 5000;
    vs::updateLightNode(*room.user);
    EXPECT_EQ(vs::lightNode(*room.user)->getPosition(), core::vector3df(500, 20000, 700));
    EXPECT_EQ(vs::lightMarkerNode(*room.user)->getPosition(), core::vector3df(500, 20000, 700));
    EXPECT_FALSE(vs::lightNode(*room.user)->isVisible());
    EXPECT_FLOAT_EQ(vs::lightNode(*room.user)->getRadius(), 5000);
}

TEST(LightNodeTest, NothingIsBuiltWithoutAnEngine)
{
    CSolidLight light;
    vs::buildLightNode(light, nullptr);
    EXPECT_EQ(vs::lightNode(light), nullptr);
    vs::setLightMarkerShown(light, true);
    EXPECT_TRUE(light.markerShown);
}

TEST(LightNodeTest, CopiesCarryTheDataButNeverTheNodes)
{
    LitRoom room;
    room.build();
    scene::ILightSceneNode* node = vs::lightNode(*room.user);
    ASSERT_NE(node, nullptr);

    // A working copy has no nodes, so dropping it leaves the light's own alone.
    {
        CSolidLight copy = *room.user;
        EXPECT_EQ(vs::lightNode(copy), nullptr);
        EXPECT_EQ(vs::lightMarkerNode(copy), nullptr);
        copy.position = {7000, 12000, 3000};
        vs::previewLightNode(*room.user, copy);
        EXPECT_EQ(node->getPosition(), core::vector3df(7000, 12000, 3000));
        EXPECT_EQ(vs::lightMarkerNode(*room.user)->getPosition(),
                  core::vector3df(7000, 12000, 3000));
    }
    EXPECT_EQ(room.user->position, (Vec3f{1000, 14000, 2000})) << "the preview kept the record";
    EXPECT_EQ(vs::lightNode(*room.user), node);

    // Taking another light's data keeps the target's own nodes.
    *room.user = *room.dark;
    EXPECT_EQ(vs::lightNode(*room.user), node);
    EXPECT_NE(vs::lightNode(*room.dark), node);
}
