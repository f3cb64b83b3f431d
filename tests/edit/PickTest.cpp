// Picking in the 3D window on the null device: what lies under a pixel, the facing rules, the
// order that wins ties, and the selection a click leaves.
#include "EditFixture.h"

#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "edit/DesignModeController.h"
#include "edit/Picker.h"
#include "edit/Selection.h"
#include "scene/CCubicCloakSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/LightScene.h"

namespace {

using edittest::EditFixture;
using irr::core::vector3df;
using Kind = PickResult::Kind;

class PickTest : public EditFixture
{
protected:
    PickResult pickAt(QPoint p) { return vs::pick(wnd(), p.x(), p.y()); }
    /** Looks from `eye` at room point `at` and picks there. */
    PickResult pickFrom(const vector3df& eye, const vector3df& at)
    {
        lookFrom(eye, at);
        return pickAt(clientOf(at));
    }
    CSolidFacility& facility(size_t i) { return *doc().solidFacilities.at(i); }
    /** Puts a facility of the kitchen at a new place (turned 0) and refreshes its node. */
    CSolidFacility& placeFacility(size_t i, const Vec3f& position)
    {
        CSolidFacility& f = facility(i);
        f.rotateDegree = 0;
        f.position = position;
        vs::updateFacilityTransformation(f, doc());
        return f;
    }
};

// The kitchen: 3.0 m x 2.4 m, ceiling at 2.4 m, 300 mm cells; lamp 11 on cell (4, 3).

TEST_F(PickTest, CeilingHitGivesThePlaneTheCellAndTheHostItem)
{
    open("kitchen");
    PickResult hit = pickFrom({13500, 12000, 16000}, {13500, 24000, 10500});
    ASSERT_EQ(Kind::Ceiling, hit.kind);
    EXPECT_EQ(doc().ceiling->root.get(), hit.plane);
    ASSERT_NE(nullptr, hit.host);
    EXPECT_EQ(11, hit.host->id);
    EXPECT_EQ(4, hit.col);
    EXPECT_EQ(3, hit.row);
    EXPECT_NEAR(13500, hit.ceilingX, 30);
    EXPECT_NEAR(10500, hit.ceilingY, 30);

    hit = pickFrom({4500, 12000, 20000}, {4500, 24000, 4500});
    ASSERT_EQ(Kind::Ceiling, hit.kind);
    EXPECT_EQ(nullptr, hit.host);
    EXPECT_EQ(1, hit.col);
    EXPECT_EQ(1, hit.row);
}

TEST_F(PickTest, FloorIsHitFromAboveOnlyAndTheCeilingFromBelowOnly)
{
    open("kitchen");
    EXPECT_EQ(Kind::Floor, pickFrom({10000, 20000, 16000}, {10000, 0, 9000}).kind);
    // From below the floor, the floor lets the ray through to the ceiling.
    EXPECT_EQ(Kind::Ceiling, pickFrom({10000, -20000, 2000}, {10000, 0, 9000}).kind);
    // From above the roof, the ceiling lets the ray through to the floor.
    EXPECT_EQ(Kind::Floor, pickFrom({8000, 60000, -10000}, {8000, 24000, 5000}).kind);
}

TEST_F(PickTest, WallsAreHitFromTheRoomSideOnly)
{
    open("kitchen");
    // Wall 0 runs along plan y = 0; the room lies at y > 0.
    PickResult hit = pickFrom({7000, 12000, 12000}, {7000, 12000, 0});
    ASSERT_EQ(Kind::Wall, hit.kind);
    EXPECT_EQ(doc().walls[0].get(), hit.wall);
    EXPECT_NEAR(7000, hit.wallPoint.X, 30);  // along the wall
    EXPECT_NEAR(12000, hit.wallPoint.Y, 30); // the height
    EXPECT_NE(nullptr, hit.wallPart);
    // From outside the same spot of the wall: through it, onto the far wall.
    hit = pickFrom({7000, 12000, -12000}, {7000, 12000, 0});
    ASSERT_EQ(Kind::Wall, hit.kind);
    EXPECT_EQ(doc().walls[2].get(), hit.wall);
}

TEST_F(PickTest, LightMarkersAreHitWhenShownOnly)
{
    open("kitchen");
    CSolidLight& light = *doc().solidLights.front(); // (15000, 14000, 12000)
    const vector3df at(15000, 14000, 12000);
    lookFrom({15000, 20000, 20000}, at);
    EXPECT_NE(Kind::LightMarker, pickAt(clientOf(at)).kind);
    doc().viewState->simpleLighting = false;
    vs::applyLightingModelToLights(false, doc());
    vs::setLightMarkerShown(light, true);
    PickResult hit = pickAt(clientOf(at));
    ASSERT_EQ(Kind::LightMarker, hit.kind);
    EXPECT_EQ(&light, hit.light);
    EXPECT_LT(hit.point.getDistanceFrom(at), vs::lightMarkerRadius + 10);
    // From inside the sphere its far side faces away: the pick goes through to what lies behind.
    lookFrom({15000, 14100, 12000}, {15000, 0, 12000});
    vs::setLightMarkerShown(light, true);
    hit = pickAt(clientOf({15000, 0, 12000}));
    EXPECT_NE(Kind::LightMarker, hit.kind);
    EXPECT_NE(Kind::None, hit.kind);
}

TEST_F(PickTest, EqualDistancesGoToCeilingThenFloorThenWallThenFacility)
{
    open("kitchen");
    // A cabinet 900 x 700 x 350 (size from the design) whose bottom touches the ceiling.
    CSolidFacility& top = placeFacility(4, {15000, 24000, 12000});
    const vector3df up(15000, 24000, 12000);
    EXPECT_EQ(Kind::Ceiling, pickFrom({14000, 12000, 16000}, up).kind);
    // Its top at the floor's level, seen from above.
    placeFacility(4, {8000, -top.size.y, 9000});
    EXPECT_EQ(Kind::Floor, pickFrom({8000, 20000, 16000}, {8000, 0, 9000}).kind);
    // Its back in the plane of wall 0, seen from the room.
    placeFacility(4, {15000, 8000, -top.size.z / 2});
    EXPECT_EQ(Kind::Wall, pickFrom({14000, 11000, 12000}, {15000, 11000, 0}).kind);
    // Moved into the room a little, it is nearer than the wall and wins.
    placeFacility(4, {15000, 8000, -top.size.z / 2 + 20});
    const PickResult hit = pickFrom({14000, 11000, 12000}, {15000, 11000, 20});
    ASSERT_EQ(Kind::Facility, hit.kind);
    EXPECT_EQ(&top, hit.facility);
    EXPECT_GE(hit.faceIndex, 0);
}

TEST_F(PickTest, OnlyTheCeilingIsPickedInTheCeilingOnlyView)
{
    open("kitchen");
    // From inside the room, looking up at the ceiling over the table: whole room, then the
    // ceiling alone.
    const vector3df eye(19500, 3000, 30000), ceilingPoint(19500, 24000, 14000);
    wnd().SetModes(CSolidWnd::Designing, CSolidWnd::Globe, true);
    aimCamera(eye, ceilingPoint);
    int facilityHits = 0;
    for (int y = 0; y < 600; y += 25)
        for (int x = 0; x < 800; x += 25)
            facilityHits += pickAt({x, y}).kind == Kind::Facility;
    EXPECT_GT(facilityHits, 0);
    wnd().SetModes(CSolidWnd::Designing, CSolidWnd::Globe, false);
    ASSERT_TRUE(wnd().ceilingOnly());
    aimCamera(eye, ceilingPoint);
    int ceilingHits = 0;
    for (int y = 0; y < 600; y += 25)
        for (int x = 0; x < 800; x += 25) {
            const Kind kind = pickAt({x, y}).kind;
            EXPECT_TRUE(kind == Kind::None || kind == Kind::Ceiling) << x << "," << y;
            ceilingHits += kind == Kind::Ceiling;
        }
    EXPECT_GT(ceilingHits, 0);
}

TEST_F(PickTest, AClickSelectsCtrlClickAddsAndEmptySpaceClears)
{
    open("kitchen");
    CSolidFacility& table = facility(9);  // (19500, 0, 16000), 1000 x 750 x 700
    CSolidFacility& fridge = facility(0); // (3000, 0, 3400), 600 x 1800 x 675
    const QPoint onTable = clientOf({19500, 7500, 16000});
    const QPoint onFridge = clientOf({3000, 18000, 3400});
    ASSERT_EQ(&table, pickAt(onTable).facility);
    ASSERT_EQ(&fridge, pickAt(onFridge).facility);

    click(onTable);
    ASSERT_EQ(1u, wnd().selection().size());
    EXPECT_TRUE(vs::cloakNode(table)->isVisible());
    click(onFridge); // without Ctrl: the fridge alone
    EXPECT_EQ(std::vector<CSolidFacility*>{&fridge}, wnd().selection().items());
    EXPECT_FALSE(vs::cloakNode(table)->isVisible());
    click(onTable, Qt::ControlModifier);
    EXPECT_EQ((std::vector<CSolidFacility*>{&fridge, &table}), wnd().selection().items());
    EXPECT_TRUE(vs::cloakNode(fridge)->isVisible());
    EXPECT_TRUE(vs::cloakNode(table)->isVisible());

    click({2, 2}); // nothing there
    EXPECT_TRUE(wnd().selection().empty());
    EXPECT_FALSE(vs::cloakNode(fridge)->isVisible());
    EXPECT_FALSE(vs::cloakNode(table)->isVisible());
    EXPECT_EQ(0, stack().count()) << "clicks without a move change nothing";
}

TEST_F(PickTest, ASelectionKeepsItsCloaksThroughASceneRebuild)
{
    open("kitchen");
    CSolidFacility& table = facility(9);
    click(clientOf({19500, 7500, 16000}));
    ASSERT_TRUE(wnd().selection().contains(&table));
    wnd().resize(640, 480); // the scene is built again
    ASSERT_NE(nullptr, vs::cloakNode(table));
    EXPECT_TRUE(vs::cloakNode(table)->isVisible());
}

} // namespace
