// Drops and context menus at real pixels of a bundled design on the null device: the point
// dropped on comes from the pick of that pixel.
#include "EditFixture.h"

#include "catalogue/CCandyType.h"
#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "edit/ContextMenu.h"
#include "edit/DesignInput.h"
#include "edit/Drops.h"
#include "edit/Picker.h"
#include "edit/Selection.h"
#include "scene/CRoomSceneNode.h"

#include <QAction>
#include <QMenu>

#include <climits>
#include <cmath>
#include <functional>

namespace {

using edittest::EditFixture;
using irr::core::vector3df;

class MouseDropTest : public EditFixture
{
protected:
    void SetUp() override
    {
        EditFixture::SetUp();
        open("kitchen");
        // Standing in the kitchen, 1.6 m up.
        eye_ = roomOfPlan(15000, 12000, 16000);
    }

    QPoint screenOf(const vector3df& room)
    {
        const QPoint client = clientOf(room);
        EXPECT_TRUE(QRect(QPoint(0, 0), wnd().size()).contains(client));
        return wnd().mapToGlobal(client);
    }

    /** The pixel nearest the window's centre (on a 10-pixel grid) whose pick is of `kind`
     *  and passes `accept`; (-1, -1) when there is none. */
    QPoint findPixel(PickResult::Kind kind,
                     const std::function<bool(const PickResult&)>& accept = {})
    {
        QPoint best(-1, -1);
        int bestDistance = INT_MAX;
        for (int y = 5; y < wnd().height(); y += 10)
            for (int x = 5; x < wnd().width(); x += 10) {
                const PickResult hit = vs::pick(wnd(), x, y);
                const int d = (x - 400) * (x - 400) + (y - 300) * (y - 300);
                if (hit.kind == kind && (!accept || accept(hit)) && d < bestDistance) {
                    best = QPoint(x, y);
                    bestDistance = d;
                }
            }
        return best;
    }

    vector3df roomPoint(const PickResult& hit) const
    {
        irr::core::matrix4 toRoom;
        doc().roomNode->getAbsoluteTransformation().getInverse(toRoom);
        vector3df p = hit.point;
        toRoom.transformVect(p);
        return p;
    }

    vector3df eye_;
};

TEST_F(MouseDropTest, AModelDroppedOnTheFloorStandsWhereThePixelShowsTheFloor)
{
    const QPoint pixel = findPixel(PickResult::Kind::Floor);
    ASSERT_GE(pixel.x(), 0);
    const vector3df target = roomPoint(vs::pick(wnd(), pixel.x(), pixel.y()));
    CFacilityModel* fridge = catalogue().facilities.findModel(5201, 0);
    ASSERT_NE(fridge, nullptr);
    const std::string start = solidText();
    const std::size_t count = doc().solidFacilities.size();

    wnd().designInput().dropFacilityModel(wnd().mapToGlobal(pixel), *fridge);
    ASSERT_EQ(doc().solidFacilities.size(), count + 1);
    const CSolidFacility& placed = *doc().solidFacilities.back();
    EXPECT_EQ(placed.facilityModel, fridge);
    EXPECT_NEAR(placed.position.x, target.X, 1);
    EXPECT_NEAR(placed.position.z, target.Z, 1);
    EXPECT_FLOAT_EQ(placed.position.y, 0);
    EXPECT_FLOAT_EQ(placed.size.y, 18000); // the model's natural size
    ASSERT_EQ(stack().count(), 1);
    stack().undo();
    EXPECT_EQ(solidText(), start);
}

TEST_F(MouseDropTest, ADoorDroppedOnAWallIsCentredOnThePixel)
{
    const QPoint pixel =
        findPixel(PickResult::Kind::Wall, [](const PickResult& hit) { return !hit.flat; });
    ASSERT_GE(pixel.x(), 0);
    const PickResult hit = vs::pick(wnd(), pixel.x(), pixel.y());
    CWall& wall = *hit.wall;
    CFacilityModel* door = catalogue().facilities.findModel(5401, 0);
    ASSERT_NE(door, nullptr);
    const std::size_t flats = wall.flatFacilities.size();

    vs::dropFacilityModel(wnd(), wnd().mapToGlobal(pixel), *door, false);
    ASSERT_EQ(wall.flatFacilities.size(), flats + 1);
    const CFlatFacility& flat = *wall.flatFacilities.back();
    EXPECT_NEAR(flat.position.x + flat.flatSize.width / 2.0, hit.wallPoint.X, 1);
    EXPECT_NEAR(-flat.position.y - flat.flatSize.height / 2.0, hit.wallPoint.Y, 1);
    // The new door shows: picking its pixel now finds it.
    EXPECT_EQ(vs::pick(wnd(), pixel.x(), pixel.y()).flat, &flat);
}

TEST_F(MouseDropTest, ACatalogueItemDroppedOnTheCeilingIsAddedThroughTheHost)
{
    lookFrom(eye_, roomOfPlan(19500, 4500, 24000));
    const QPoint pixel =
        findPixel(PickResult::Kind::Ceiling, [](const PickResult& hit) { return !hit.host; });
    ASSERT_GE(pixel.x(), 0);
    CCandyType* vent = catalogue().candies.findType(2201);
    ASSERT_NE(vent, nullptr);
    const std::size_t hosts = doc().ceiling->root->hosts.size();
    const QSize picture(40, 30);
    vs::dropCatalogueItem(wnd(), wnd().mapToGlobal(pixel) + QPoint(20, 15), *vent, picture);
    ASSERT_EQ(doc().ceiling->root->hosts.size(), hosts + 1);
    ASSERT_FALSE(edittest::testHost().calls.empty());
    EXPECT_EQ(edittest::testHost().calls.back().rfind("AddCeilingHost", 0), 0u);
}

TEST_F(MouseDropTest, AFreelyPlacedItemTakesThePointOnTheCeilingNotItsCell)
{
    lookFrom(eye_, roomOfPlan(19500, 4500, 24000));
    const QPoint pixel =
        findPixel(PickResult::Kind::Ceiling, [](const PickResult& hit) { return !hit.host; });
    ASSERT_GE(pixel.x(), 0);
    const PickResult hit = vs::pick(wnd(), pixel.x(), pixel.y());
    const RPoint expected = vs::gridRelativePoint(*hit.plane, RPoint{hit.ceilingX, hit.ceilingY});
    CCandyType* spot = catalogue().candies.findType(2103);
    ASSERT_NE(spot, nullptr);
    ASSERT_TRUE(spot->placedFreely());
    vs::dropCatalogueItem(wnd(), wnd().mapToGlobal(pixel), *spot, QSize());
    const CHost& host = *hit.plane->hosts.back();
    EXPECT_TRUE(host.freePosition);
    EXPECT_NEAR(host.rect.left, expected.x, 1);
    EXPECT_NEAR(host.rect.top, expected.y, 1);
    const std::string& call = edittest::testHost().calls.back();
    EXPECT_EQ(call.substr(call.find(" -> ") - 2, 2), " 1"); // isFree
}

TEST_F(MouseDropTest, NothingIsDroppedInTheCeilingOnlyView)
{
    wnd().SetModes(CSolidWnd::Designing, CSolidWnd::Globe, false);
    CFacilityModel* fridge = catalogue().facilities.findModel(5201, 0);
    const std::size_t count = doc().solidFacilities.size();
    for (int x = 100; x < 800; x += 100)
        vs::dropFacilityModel(wnd(), wnd().mapToGlobal(QPoint(x, 300)), *fridge, false);
    EXPECT_EQ(doc().solidFacilities.size(), count);
    EXPECT_EQ(stack().count(), 0);
}

TEST_F(MouseDropTest, TheContextMenuOfAPickedFacilityTurnsIt)
{
    const QPoint pixel = findPixel(PickResult::Kind::Facility);
    ASSERT_GE(pixel.x(), 0);
    const PickResult hit = vs::pick(wnd(), pixel.x(), pixel.y());
    std::unique_ptr<QMenu> menu = vs::buildContextMenu(wnd(), hit, &wnd());
    ASSERT_TRUE(menu);
    EXPECT_EQ(wnd().selection().items(), (std::vector<CSolidFacility*>{hit.facility}));
    QAction* left = menu->actions().at(1);
    EXPECT_EQ(left->text(), QStringLiteral("左转90度"));
    const float before = hit.facility->rotateDegree;
    left->trigger();
    EXPECT_FLOAT_EQ(hit.facility->rotateDegree, std::fmod(before + 90, 360.0f));
}

} // namespace
