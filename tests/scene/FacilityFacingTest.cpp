// Which way a facility faces: its front (the mesh's smallest z) into the room and its back
// against the wall, whichever way the room's outline runs, for every wall-stuck rotation, free
// standing and in a group; and the side of a wall's frame the room lies on.
#include "scene/FacilityScene.h"

#include "FacilityFixtures.h"
#include "SceneTestDevice.h"
#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "scene/CCustomSceneNode.h"
#include "scene/WallScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace irr;
using namespace vs::fixtures;

namespace {

constexpr double kPi = 3.14159265358979323846;

/** Mesh box of the model, and the centre of its front plate (a second buffer at the box's
 *  smallest z); the back is the box's largest z. */
const core::vector3df kBoxMin(-50, 0, -30);
const core::vector3df kBoxMax(50, 200, 30);
const core::vector3df kFront(0, 100, -30);
const core::vector3df kBack(0, 100, 30);
const core::vector3df kMiddle(0, 100, 0);

/** A body box with a small plate on its front: a model whose front and back differ. */
scene::SMesh* frontMarkedMesh()
{
    scene::SMesh* mesh = boxMesh(kBoxMin, kBoxMax);
    scene::SMesh* plate = boxMesh({-10, 90, -30}, {10, 110, -25});
    mesh->addMeshBuffer(plate->getMeshBuffer(0));
    plate->drop();
    mesh->recalculateBoundingBox();
    return mesh;
}

/** The two outline directions of one 6 m x 4 m room. */
std::unique_ptr<CSolidDocument> room(bool positiveWinding)
{
    if (positiveWinding)
        return roomDocument({{0, 0}, {60000, 0}, {60000, 40000}, {0, 40000}});
    return roomDocument({{0, 0}, {0, 40000}, {60000, 40000}, {60000, 0}});
}

struct Plan
{
    double x = 0;
    double y = 0;
};

Plan unit(double x, double y)
{
    const double length = std::hypot(x, y);
    return {x / length, y / length};
}

/** Plan direction (scene x, z) from the node-local point `from` to `to` in world space. */
Plan worldDirection(scene::ISceneNode* node, core::vector3df from, core::vector3df to)
{
    worldBox(node); // brings the chain's absolute transformations up to date
    node->getAbsoluteTransformation().transformVect(from);
    node->getAbsoluteTransformation().transformVect(to);
    return unit(to.X - from.X, to.Z - from.Z);
}

core::vector3df worldPoint(scene::ISceneNode* node, core::vector3df p)
{
    worldBox(node);
    node->getAbsoluteTransformation().transformVect(p);
    return p;
}

/** Plan direction of `v` turned by `degrees` counter-clockwise in x-right, y-up axes. */
Plan turned(Plan v, double degrees)
{
    const double a = degrees * kPi / 180;
    return {v.x * std::cos(a) - v.y * std::sin(a), v.x * std::sin(a) + v.y * std::cos(a)};
}

/** Where free standing puts the front at rotateDegree r: (0, -1) at 0, turned by -r. */
Plan freeFront(double r)
{
    return turned({0, -1}, -r);
}

/** The wall's edge, and its normal pointing to the room's centre (worked out from the
 *  outline alone). */
struct Edge
{
    RPoint a;
    RPoint b;
    Plan inward;
};

Edge edgeOf(const CSolidDocument& document, size_t i)
{
    const std::vector<RPoint>& outline = document.ceiling->root->indentedOutline;
    Edge e{outline[i], outline[(i + 1) % outline.size()], {}};
    Plan normal = unit(-(e.b.y - e.a.y), e.b.x - e.a.x);
    const double toCentre =
        (30000 - (e.a.x + e.b.x) / 2) * normal.x + (20000 - (e.a.y + e.b.y) / 2) * normal.y;
    if (toCentre < 0)
        normal = {-normal.x, -normal.y};
    e.inward = normal;
    return e;
}

/** Distance of a scene point from the wall's line, into the room. */
double intoRoom(const Edge& e, const core::vector3df& p)
{
    return (p.X - e.a.x) * e.inward.x + (p.Z - e.a.y) * e.inward.y;
}

std::string label(bool positiveWinding, size_t wall, int r)
{
    return std::string(positiveWinding ? "positive" : "negative") + " outline, wall " +
           std::to_string(wall) + ", rotateDegree " + std::to_string(r);
}

class FacilityFacingTest : public ::testing::Test
{
protected:
    FacilityFacingTest()
    {
        scene::SMesh* mesh = frontMarkedMesh();
        model = modelWithMesh(1, mesh);
        mesh->drop();
    }

    SceneTestDevice engine;
    std::unique_ptr<CFacilityModel> model;
};

} // namespace

TEST_F(FacilityFacingTest, StuckFacilityHasItsBackOnTheWallAndTurnsAlikeInBothDirections)
{
    for (bool positiveWinding : {true, false}) {
        std::unique_ptr<CSolidDocument> document = room(positiveWinding);
        for (size_t w = 0; w < document->walls.size(); ++w) {
            const Edge edge = edgeOf(*document, w);
            CSolidFacility& f = addFacility(*document, model.get(), {1000, 2000, 600});
            f.stickWall = document->walls[w].get();
            f.position = {10000, 300, 100};
            vs::buildFacilityNode(f, engine.smgr()->getRootSceneNode(), *document);
            for (int r : {0, 90, 180, 270}) {
                SCOPED_TRACE(label(positiveWinding, w, r));
                f.rotateDegree = static_cast<float>(r);
                vs::updateFacilityTransformation(f, *document);
                // The front turns from "into the room" the way free standing turns it.
                const Plan front = worldDirection(vs::facilityNode(f), kMiddle, kFront);
                const Plan expected = turned(edge.inward, -r);
                EXPECT_NEAR(front.x * expected.x + front.y * expected.y, 1, 1e-4);
                // The whole footprint stays in the room, position.z + 2 off the wall.
                const core::aabbox3df box = worldBox(vs::facilityNode(f));
                const double nearest =
                    std::min({intoRoom(edge, box.MinEdge), intoRoom(edge, box.MaxEdge),
                              intoRoom(edge, {box.MinEdge.X, 0, box.MaxEdge.Z}),
                              intoRoom(edge, {box.MaxEdge.X, 0, box.MinEdge.Z})});
                EXPECT_NEAR(nearest, 102, 0.05);
            }
            f.rotateDegree = 0;
            vs::updateFacilityTransformation(f, *document);
            EXPECT_NEAR(intoRoom(edge, worldPoint(vs::facilityNode(f), kBack)), 102, 0.05)
                << label(positiveWinding, w, 0);
            EXPECT_NEAR(intoRoom(edge, worldPoint(vs::facilityNode(f), kFront)), 702, 0.05)
                << label(positiveWinding, w, 0);
        }
        vs::releaseFacilityNodes(*document);
    }
}

TEST_F(FacilityFacingTest, FreeStandingFacilityIgnoresTheOutlinesDirection)
{
    for (bool positiveWinding : {true, false}) {
        std::unique_ptr<CSolidDocument> document = room(positiveWinding);
        CSolidFacility& f = addFacility(*document, model.get(), {1000, 2000, 600});
        f.position = {20000, 0, 15000};
        vs::buildFacilityNode(f, engine.smgr()->getRootSceneNode(), *document);
        for (int r : {0, 45, 90, 180, 270}) {
            SCOPED_TRACE(label(positiveWinding, 0, r));
            f.rotateDegree = static_cast<float>(r);
            vs::updateFacilityTransformation(f, *document);
            const Plan front = worldDirection(vs::facilityNode(f), kMiddle, kFront);
            const Plan expected = freeFront(r);
            EXPECT_NEAR(front.x * expected.x + front.y * expected.y, 1, 1e-4);
        }
        vs::releaseFacilityNodes(*document);
    }
}

TEST_F(FacilityFacingTest, GroupStuckToAWallTurnsItsMembersFrontsIntoTheRoom)
{
    for (bool positiveWinding : {true, false}) {
        SCOPED_TRACE(positiveWinding ? "positive outline" : "negative outline");
        std::unique_ptr<CSolidDocument> document = room(positiveWinding);
        const Edge edge = edgeOf(*document, 1);
        CSolidFacility& group = addFacility(*document, nullptr, {2000, 1000, 2000});
        group.correctExtent = group.size;
        group.stickWall = document->walls[1].get();
        group.position = {8000, 0, 0};
        auto member = std::make_unique<CSolidFacility>();
        member->facilityModel = model.get();
        member->size = {1000, 1000, 600};
        CSolidFacility& m = *member;
        group.children.push_back(std::move(member));
        vs::buildFacilityNode(group, engine.smgr()->getRootSceneNode(), *document);

        const Plan front = worldDirection(vs::facilityNode(m), kMiddle, kFront);
        EXPECT_NEAR(front.x * edge.inward.x + front.y * edge.inward.y, 1, 1e-4);
        // The group's back (2000 deep) is 2 units off the wall; the member (600 deep) stands
        // at the group's middle, its front 300 further into the room.
        EXPECT_NEAR(intoRoom(edge, worldPoint(vs::facilityNode(group), {0, 0, 1000})), 2, 0.05);
        EXPECT_NEAR(intoRoom(edge, worldPoint(vs::facilityNode(m), kFront)), 1002 + 300, 0.05);
        vs::releaseFacilityNodes(*document);
    }
}

TEST(WallRoomSideTest, TheRoomsCentreLiesOnTheAnsweredSideOfEveryWall)
{
    SceneTestDevice engine;
    for (bool positiveWinding : {true, false}) {
        std::unique_ptr<CSolidDocument> document = room(positiveWinding);
        const float side = vs::wallRoomSide(*document);
        EXPECT_EQ(side, positiveWinding ? 1.0f : -1.0f);
        for (auto& wall : document->walls) {
            vs::BuildWallScene(engine.smgr()->getRootSceneNode(), *wall, *document);
            ASSERT_NE(vs::wallGroupNode(*wall), nullptr);
            // The room's centre, 1 m up, in the wall group's local space: its local y has the
            // room side's sign, as a renderer skipping walls seen from outside expects.
            core::matrix4 toLocal;
            vs::wallGroupNode(*wall)->getAbsoluteTransformation().getInverse(toLocal);
            core::vector3df centre(30000, 10000, 20000);
            toLocal.transformVect(centre);
            EXPECT_GT(centre.Y * side, 0) << "wall " << wall->index;
            vs::releaseWallScene(*wall);
        }
    }
    CSolidDocument empty;
    EXPECT_EQ(vs::wallRoomSide(empty), 1.0f);
}
