#include "scene/FacilityScene.h"

#include "FacilityFixtures.h"
#include "SceneTestDevice.h"
#include "document/CustomMaterial.h"
#include "scene/CCubicCloakSceneNode.h"
#include "scene/CCustomSceneNode.h"
#include "scene/WallScene.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace irr;
using namespace vs::fixtures;

namespace {

/** A mesh box, a model holding it (the fixture drops its own reference) and a room. */
struct FacilityRoom
{
    explicit FacilityRoom(const core::vector3df& min, const core::vector3df& max, u32 buffers = 1,
                          int kindAndFlags = 0,
                          std::unique_ptr<CSolidDocument> room = rectangularRoom())
        : document(std::move(room))
    {
        scene::SMesh* mesh = boxMesh(min, max, buffers);
        model = modelWithMesh(1, mesh, kindAndFlags);
        mesh->drop();
    }
    ~FacilityRoom() { vs::releaseFacilityNodes(*document); }
    FacilityRoom(const FacilityRoom&) = delete;
    FacilityRoom& operator=(const FacilityRoom&) = delete;

    scene::IMesh* modelMesh() const { return model->mesh(nullptr); }
    CWall& wall(size_t i) const { return *document->walls[i]; }
    CSolidFacility& add(const Vec3f& size) { return addFacility(*document, model.get(), size); }
    void build(CSolidFacility& f)
    {
        vs::buildFacilityNode(f, engine.smgr()->getRootSceneNode(), *document);
    }

    SceneTestDevice engine;
    std::unique_ptr<CFacilityModel> model;
    std::unique_ptr<CSolidDocument> document;
};

void expectBox(const core::aabbox3df& box, const core::vector3df& min, const core::vector3df& max)
{
    const float tolerance = 0.05f;
    EXPECT_NEAR(box.MinEdge.X, min.X, tolerance);
    EXPECT_NEAR(box.MinEdge.Y, min.Y, tolerance);
    EXPECT_NEAR(box.MinEdge.Z, min.Z, tolerance);
    EXPECT_NEAR(box.MaxEdge.X, max.X, tolerance);
    EXPECT_NEAR(box.MaxEdge.Y, max.Y, tolerance);
    EXPECT_NEAR(box.MaxEdge.Z, max.Z, tolerance);
}

} // namespace

TEST(FacilityTransformTest, FreeStandingScalesToSizeAndStandsOnItsPosition)
{
    FacilityRoom room({-10, 5, 0}, {30, 25, 40});
    CSolidFacility& f = room.add({80, 40, 20});
    f.position = {1000, 300, 2000};
    room.build(f);

    // The extent comes from the mesh; the bottom centre of the box lands on the position.
    EXPECT_EQ(f.correctExtent, (Vec3f{40, 20, 40}));
    expectBox(worldBox(vs::facilityNode(f)), {960, 300, 1990}, {1040, 340, 2010});

    f.rotateDegree = 90;
    vs::updateFacilityTransformation(f, *room.document);
    expectBox(worldBox(vs::facilityNode(f)), {990, 300, 1960}, {1010, 340, 2040});
    // The stored matrix is the one the node carries.
    EXPECT_EQ(core::matrix4(vs::facilityNode(f)->relativeTransformationMatrix()).pointer()[12],
              f.transformation[12]);
}

TEST(FacilityTransformTest, ZUpModelExchangesHeightAndDepth)
{
    FacilityRoom room({0, 0, 0}, {10, 20, 30});
    room.model->zUp = true;
    CSolidFacility& f = room.add({20, 60, 40});
    f.position = {500, 0, 500};
    room.build(f);

    EXPECT_EQ(f.correctExtent, (Vec3f{10, 30, 20}));
    expectBox(worldBox(vs::facilityNode(f)), {490, 0, 480}, {510, 60, 520});
}

TEST(FacilityTransformTest, BaseRotationTurnsTheMeshBeforeSizing)
{
    FacilityRoom room({0, 0, 0}, {40, 10, 10});
    room.model->baseRotation = {0, 90, 0};
    CSolidFacility& f = room.add({10, 10, 40});
    room.build(f);

    EXPECT_NEAR(f.correctExtent.x, 10, 0.001);
    EXPECT_NEAR(f.correctExtent.z, 40, 0.001);
    expectBox(worldBox(vs::facilityNode(f)), {-5, 0, -20}, {5, 10, 20});
}

TEST(FacilityTransformTest, GivenCorrectExtentIsKeptAndFlatAxesStayFinite)
{
    FacilityRoom room({0, 0, 0}, {10, 0, 10}); // no height at all
    CSolidFacility& f = room.add({20, 50, 20});
    room.build(f);
    for (float v : f.transformation)
        EXPECT_TRUE(std::isfinite(v));

    CSolidFacility& g = room.add({20, 20, 20});
    g.correctExtent = {5, 5, 5};
    room.build(g);
    EXPECT_EQ(g.correctExtent, (Vec3f{5, 5, 5}));
    expectBox(worldBox(vs::facilityNode(g)), {-20, 0, -20}, {20, 0, 20}); // 4 times the flat mesh
}

TEST(FacilityWallTest, BackKeepsTwoPlusPositionZOffTheWall)
{
    FacilityRoom room({-50, 0, -30}, {50, 200, 30});
    CSolidFacility& f = room.add({1000, 2000, 600});
    f.stickWall = &room.wall(1); // x = 60000, running down the plan
    f.position = {5000, 300, 100};
    room.build(f);
    expectBox(worldBox(vs::facilityNode(f)), {59298, 300, 4500}, {59898, 2300, 5500});

    f.rotateDegree = 90; // the width now faces the wall
    vs::updateFacilityTransformation(f, *room.document);
    expectBox(worldBox(vs::facilityNode(f)), {58898, 300, 4700}, {59898, 2300, 5300});
}

TEST(FacilityWallTest, WallFrameFollowsTheIndentedCorner)
{
    FacilityRoom room({-50, 0, -30}, {50, 200, 30}, 1, 0,
                      roomDocument({{0, 0}, {60000, 0}, {60000, 40000}, {0, 40000}}, 1000, 500));
    CSolidFacility& f = room.add({1000, 2000, 600});
    f.stickWall = &room.wall(1);
    f.position = {5000, 300, 100};
    room.build(f);
    expectBox(worldBox(vs::facilityNode(f)), {58298, 300, 4000}, {58898, 2300, 5000});
}

TEST(FacilityWallTest, StaysInsideARoomWhoseOutlineRunsTheOtherWay)
{
    FacilityRoom room({-50, 0, -30}, {50, 200, 30}, 1, 0,
                      roomDocument({{0, 0}, {0, 40000}, {60000, 40000}, {60000, 0}}));
    CSolidFacility& f = room.add({1000, 2000, 600});
    f.stickWall = &room.wall(2); // from (60000, 40000) up the plan to (60000, 0)
    f.position = {5000, 300, 100};
    room.build(f);
    expectBox(worldBox(vs::facilityNode(f)), {59298, 300, 34500}, {59898, 2300, 35500});
}

TEST(FacilityWallTest, StickToWallSetsPlacementAndWallLists)
{
    FacilityRoom room({-50, 0, -50}, {50, 100, 50}, 1, 1 << 16); // bit 0: cuts walls
    CSolidFacility& f = room.add({100, 100, 100});
    f.position = {100, 300, 200};
    room.build(f);

    vs::stickFacilityToWall(f, 45, 7000, &room.wall(1), *room.document);
    EXPECT_EQ(f.stickWall, &room.wall(1));
    EXPECT_FLOAT_EQ(f.rotateDegree, 45);
    EXPECT_EQ(f.position, (Vec3f{7000, 300, 0}));
    ASSERT_EQ(vs::wallFacilities(*room.document, room.wall(1)).size(), 1u);
    EXPECT_EQ(vs::wallCuttingFacilities(*room.document, room.wall(1)).size(), 1u);
    EXPECT_TRUE(vs::wallFacilities(*room.document, room.wall(0)).empty());

    vs::stickFacilityToWall(f, 0, 100, &room.wall(0), *room.document);
    EXPECT_TRUE(vs::wallFacilities(*room.document, room.wall(1)).empty());
    EXPECT_EQ(vs::wallFacilities(*room.document, room.wall(0)).size(), 1u);

    vs::unstickFacility(f);
    EXPECT_EQ(f.stickWall, nullptr);
    EXPECT_TRUE(vs::wallCuttingFacilities(*room.document, room.wall(0)).empty());
}

TEST(FacilityWallTest, OnlyCuttingModelsJoinTheCuttingList)
{
    FacilityRoom room({-50, 0, -50}, {50, 100, 50}, 1, 1 << 18); // bit 2 only
    CSolidFacility& f = room.add({100, 100, 100});
    vs::stickFacilityToWall(f, 0, 100, &room.wall(0), *room.document);
    EXPECT_EQ(vs::wallFacilities(*room.document, room.wall(0)).size(), 1u);
    EXPECT_TRUE(vs::wallCuttingFacilities(*room.document, room.wall(0)).empty());
}

TEST(FacilityMeshTest, CustomMaterialsGetAPrivateCopyAndLeaveTheModelAlone)
{
    FacilityRoom room({0, 0, 0}, {10, 10, 10}, 2);
    video::ITexture* texture = room.engine.driver()->addTexture({4, 4}, "custom");
    CSolidFacility& plain = room.add({10, 10, 10});
    CSolidFacility& dressed = room.add({10, 10, 10});
    auto custom = std::make_unique<CustomMaterial>();
    custom->index = 0;
    custom->offsetX = 0.25f;
    custom->offsetY = 0.5f;
    custom->scaleX = 2;
    custom->scaleY = 3;
    custom->texture = texture;
    dressed.customMaterials.push_back(std::move(custom));
    room.build(plain);
    room.build(dressed);

    EXPECT_EQ(vs::facilityMesh(plain), room.modelMesh());
    EXPECT_FALSE(vs::ownsFacilityMesh(plain));
    ASSERT_NE(vs::facilityMesh(dressed), nullptr);
    EXPECT_NE(vs::facilityMesh(dressed), room.modelMesh());
    EXPECT_TRUE(vs::ownsFacilityMesh(dressed));

    const video::SMaterial& first = vs::facilityNode(dressed)->meshNode()->getMaterial(0);
    EXPECT_EQ(first.getTexture(0), texture);
    const core::matrix4& m = first.getTextureMatrix(0);
    EXPECT_FLOAT_EQ(m[0], 2);
    EXPECT_FLOAT_EQ(m[5], 3);
    EXPECT_FLOAT_EQ(m[8], 0.25f);
    EXPECT_FLOAT_EQ(m[9], 0.5f);
    EXPECT_EQ(vs::facilityNode(dressed)->meshNode()->getMaterial(1).getTexture(0), nullptr);
    EXPECT_EQ(room.modelMesh()->getMeshBuffer(0)->getMaterial().getTexture(0), nullptr);
    EXPECT_TRUE(room.modelMesh()->getMeshBuffer(0)->getMaterial().getTextureMatrix(0).isIdentity());

    // Removing every custom material restores the model's own look and mesh.
    dressed.customMaterials.clear();
    vs::ApplyCustomMaterials(dressed);
    EXPECT_EQ(vs::facilityMesh(dressed), room.modelMesh());
    EXPECT_FALSE(vs::ownsFacilityMesh(dressed));
    EXPECT_EQ(vs::facilityNode(dressed)->meshNode()->getMaterial(0).getTexture(0), nullptr);
}

TEST(FacilityMeshTest, CustomMaterialForAMissingBufferIsIgnored)
{
    FacilityRoom room({0, 0, 0}, {10, 10, 10});
    CSolidFacility& f = room.add({10, 10, 10});
    auto custom = std::make_unique<CustomMaterial>();
    custom->index = 7;
    custom->texture = room.engine.driver()->addTexture({4, 4}, "custom");
    f.customMaterials.push_back(std::move(custom));
    room.build(f);
    ASSERT_NE(vs::facilityNode(f)->meshNode(), nullptr);
    EXPECT_EQ(vs::facilityNode(f)->meshNode()->getMaterial(0).getTexture(0), nullptr);
}

TEST(FacilityMeshTest, BrightnessIsAGreyEmissionOnTheNodeOnly)
{
    FacilityRoom room({0, 0, 0}, {10, 10, 10}, 2);
    CSolidFacility& f = room.add({10, 10, 10});
    f.emissive = 100;
    room.build(f);
    scene::IMeshSceneNode* meshNode = vs::facilityNode(f)->meshNode();
    ASSERT_NE(meshNode, nullptr);
    EXPECT_EQ(meshNode->getMaterial(1).EmissiveColor, video::SColor(255, 255, 255, 255));
    EXPECT_TRUE(meshNode->getMaterial(0).NormalizeNormals);

    vs::setFacilityBrightness(f, 50);
    EXPECT_EQ(vs::facilityNode(f)->meshNode()->getMaterial(0).EmissiveColor,
              video::SColor(255, 127, 127, 127));
    vs::setFacilityBrightness(f, 0);
    EXPECT_EQ(vs::facilityNode(f)->meshNode()->getMaterial(0).EmissiveColor,
              video::SColor(255, 0, 0, 0));
    vs::setFacilityBrightness(f, 250);
    EXPECT_EQ(f.emissive, 100);
    EXPECT_EQ(room.modelMesh()->getMeshBuffer(0)->getMaterial().EmissiveColor,
              video::SMaterial().EmissiveColor);
}

TEST(FacilityNodeTest, FacilityWithoutMeshHasACloakOfItsBox)
{
    SceneTestDevice engine;
    auto document = rectangularRoom();
    auto missing = modelWithMesh(3, nullptr); // the host gave no usable mesh
    CSolidFacility& box = addFacility(*document, nullptr, {800, 200, 600});
    box.correctExtent = {400, 200, 600};
    CSolidFacility& broken = addFacility(*document, missing.get(), {100, 100, 100});
    vs::buildFacilityNode(box, nullptr, *document);
    vs::buildFacilityNode(broken, nullptr, *document);

    for (CSolidFacility* f : {&box, &broken}) {
        ASSERT_NE(vs::facilityNode(*f), nullptr);
        EXPECT_EQ(vs::facilityNode(*f)->meshNode(), nullptr);
        EXPECT_EQ(vs::facilitySelector(*f), nullptr);
        ASSERT_NE(vs::cloakNode(*f), nullptr);
        EXPECT_FALSE(vs::cloakNode(*f)->isVisible());
    }
    EXPECT_EQ(vs::cloakNode(box)->getPosition(), core::vector3df(-200, 0, -300));
    EXPECT_EQ(vs::cloakNode(box)->getScale(), core::vector3df(400, 200, 600));
    expectBox(worldBox(vs::cloakNode(box)->faceNode(0)), {-400, 0, -300}, {400, 200, -300});
    vs::releaseFacilityNodes(*document);
}

TEST(FacilityNodeTest, GroupMembersArePlacedRelativeToTheirGroup)
{
    FacilityRoom room({-50, 0, -50}, {50, 100, 50});
    CSolidFacility& group = addFacility(*room.document, nullptr, {2000, 1000, 2000});
    group.correctExtent = group.size;
    group.position = {5000, 0, 5000};
    group.rotateDegree = 90;
    auto member = std::make_unique<CSolidFacility>();
    member->facilityModel = room.model.get();
    member->size = {100, 100, 100};
    member->position = {1000, 0, 0};
    member->stickWall = &room.wall(1); // members never use a wall frame
    CSolidFacility& m = *member;
    group.children.push_back(std::move(member));
    room.build(group);

    ASSERT_NE(vs::facilityNode(m), nullptr);
    EXPECT_EQ(vs::facilityNode(m)->getParent(), vs::facilityNode(group));
    EXPECT_NE(vs::facilitySelector(m), nullptr);
    const core::aabbox3df box = worldBox(vs::facilityNode(m));
    expectBox(box, {4950, 0, 3950}, {5050, 100, 4050});
}

TEST(FacilityNodeTest, ReleaseRemovesNodesAndClearsPointers)
{
    FacilityRoom room({-50, 0, -50}, {50, 100, 50});
    scene::ISceneNode* root = room.engine.smgr()->getRootSceneNode();
    const u32 before = root->getChildren().size();
    const s32 meshRefs = room.modelMesh()->getReferenceCount();
    CSolidFacility& group = addFacility(*room.document, nullptr, {100, 100, 100});
    auto member = std::make_unique<CSolidFacility>();
    member->facilityModel = room.model.get();
    member->size = {100, 100, 100};
    CSolidFacility& m = *member;
    group.children.push_back(std::move(member));
    room.build(group);
    EXPECT_EQ(root->getChildren().size(), before + 1);
    EXPECT_GT(room.modelMesh()->getReferenceCount(), meshRefs);

    vs::releaseFacilityNodes(*room.document);
    EXPECT_EQ(root->getChildren().size(), before);
    for (CSolidFacility* f : {&group, &m}) {
        EXPECT_EQ(vs::facilityNode(*f), nullptr);
        EXPECT_EQ(vs::cloakNode(*f), nullptr);
        EXPECT_EQ(vs::facilitySelector(*f), nullptr);
        EXPECT_EQ(vs::facilityMesh(*f), nullptr);
        EXPECT_EQ(vs::facilitySceneManager(*f), nullptr);
    }
    EXPECT_EQ(room.modelMesh()->getReferenceCount(), meshRefs);
    vs::releaseFacilityNode(group); // a second release does nothing

    room.build(group); // and the scene can be built again
    EXPECT_NE(vs::facilityNode(m), nullptr);
}

TEST(FacilityNodeTest, BuildingAgainOnlyMovesTheNode)
{
    FacilityRoom room({-50, 0, -50}, {50, 100, 50});
    CSolidFacility& f = room.add({100, 100, 100});
    room.build(f);
    CCustomSceneNode* node = vs::facilityNode(f);
    scene::ISceneNode* other = room.engine.smgr()->addEmptySceneNode();
    vs::buildFacilityNode(f, other, *room.document);
    EXPECT_EQ(vs::facilityNode(f), node);
    EXPECT_EQ(node->getParent(), other);
}

TEST(FacilityNodeTest, NothingIsBuiltWithoutAnEngine)
{
    auto document = rectangularRoom();
    CSolidFacility& f = addFacility(*document, nullptr, {100, 100, 100});
    vs::buildFacilityNode(f, nullptr, *document);
    EXPECT_EQ(vs::facilityNode(f), nullptr);
    vs::setFacilityBrightness(f, 40);
    vs::ApplyCustomMaterials(f);
    EXPECT_EQ(f.emissive, 40);
}

TEST(FacilityWallTest, NullWallOnlyUnsticks)
{
    FacilityRoom room({-50, 0, -50}, {50, 100, 50});
    CSolidFacility& f = room.add({100, 100, 100});
    vs::stickFacilityToWall(f, 30, 4000, &room.wall(2), *room.document);
    vs::stickFacilityToWall(f, 0, 0, nullptr, *room.document);
    EXPECT_EQ(f.stickWall, nullptr);
    EXPECT_FLOAT_EQ(f.rotateDegree, 30);
    EXPECT_FLOAT_EQ(f.position.x, 4000);
    EXPECT_TRUE(vs::wallFacilities(*room.document, room.wall(2)).empty());
}

TEST(FacilityWallTest, CuttingFacilityJoiningOrLeavingRebuildsTheWall)
{
    FacilityRoom room({-50, 0, -50}, {50, 100, 50}, 1, 1 << 17); // bit 1: cuts walls
    CWall& wall = room.wall(0);
    wall.wallParts.push_back(
        std::move(CWall::makeDefault(0, nullptr, nullptr, nullptr)->wallParts.front()));
    scene::ISceneNode* roomNode = room.engine.smgr()->addEmptySceneNode();
    vs::BuildWallScene(roomNode, wall, *room.document);
    CWallPart& part = *wall.wallParts.front();
    ASSERT_NE(vs::wallPartMesh(part), nullptr);
    auto vertexCount = [&] {
        u32 n = 0;
        for (u32 i = 0; i < vs::wallPartMesh(part)->getMeshBufferCount(); ++i)
            n += vs::wallPartMesh(part)->getMeshBuffer(i)->getVertexCount();
        return n;
    };
    const u32 plain = vertexCount();

    CSolidFacility& door = room.add({9000, 20000, 600});
    room.build(door);
    vs::stickFacilityToWall(door, 0, 15000, &wall, *room.document);
    EXPECT_NE(vertexCount(), plain);

    vs::unstickFacility(door);
    EXPECT_EQ(vertexCount(), plain);
    vs::releaseWallScene(wall);
}

TEST(FacilitySceneRecordTest, AFacilityDeletedWhileShownGivesBackItsHoldOnTheMeshes)
{
    FacilityRoom room({0, 0, 0}, {10, 10, 10});
    CSolidFacility& plain = room.add({10, 10, 10});
    room.build(plain);
    scene::IMesh* shared = room.modelMesh();
    const s32 held = shared->getReferenceCount();
    scene::ITriangleSelector* selector = vs::facilitySelector(plain);
    ASSERT_NE(selector, nullptr);
    selector->grab(); // watched past the facility's end
    const s32 selectorHeld = selector->getReferenceCount();

    room.document->solidFacilities.clear(); // no release first
    EXPECT_EQ(shared->getReferenceCount(), held - 1);
    EXPECT_EQ(selector->getReferenceCount(), selectorHeld - 1);
    selector->drop();
}
