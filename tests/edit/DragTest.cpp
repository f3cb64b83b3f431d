// The four drags replayed as real mouse input into the 3D window on the null device: what they
// do to the document, the scene and the host, and that one undo takes each back exactly.
#include "EditFixture.h"

#include "ceiling/PlanHighlight.h"
#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "edit/DesignModeController.h"
#include "edit/DragCommands.h"
#include "edit/Drags.h"
#include "edit/Picker.h"
#include "edit/Selection.h"
#include "scene/FacilityScene.h"
#include "scene/LightScene.h"
#include "scene/WallScene.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

using edittest::EditFixture;
using edittest::testHost;
using irr::core::vector3df;
using Kind = PickResult::Kind;

class DragTest : public EditFixture
{
protected:
    CGridMapping& root() const { return *doc().ceiling->root; }
    CHost& lamp() const { return *root().hostById(11); }
    CSolidFacility& facility(size_t i) const { return *doc().solidFacilities.at(i); }
    DesignModeController& controller() const
    {
        return dynamic_cast<DesignModeController&>(wnd().designInput());
    }
    /** The panel drag's overlay on the plan picture; an inactive one while none is drawn. */
    vs::PlanHighlight highlight() const
    {
        const vs::PlanHighlight* h = controller().dragHighlight();
        return h ? *h : vs::PlanHighlight();
    }
    /** What must come back after undo: the solid element, the ceiling's items, the host's. */
    struct State
    {
        std::string solid, ceiling, host;
        bool operator==(const State& o) const
        {
            return solid == o.solid && ceiling == o.ceiling && host == o.host;
        }
    };
    State state() const { return {solidText(), ceilingItems(), hostItems()}; }

    /** Undo, then redo: back to `before`, then to `after`. */
    void expectUndoRedo(const State& before, const State& after)
    {
        stack().undo();
        EXPECT_EQ(before.solid, solidText());
        EXPECT_EQ(before.ceiling, ceilingItems());
        EXPECT_EQ(before.host, hostItems());
        stack().redo();
        EXPECT_EQ(after.solid, solidText());
        EXPECT_EQ(after.ceiling, ceilingItems());
        EXPECT_EQ(after.host, hostItems());
    }

    /** The window on wall 1 (x = 30000) moved onto the wall: along 8000 ... 18000, 1 to 2 m up. */
    CFlatFacility& windowOnWall()
    {
        CWall& wall = *doc().walls[1];
        CFlatFacility& window = *wall.flatFacilities.front();
        window.position = {8000, -20000};
        vs::RebuildFlatFacility(wall, window);
        return window;
    }
};

TEST_F(DragTest, Kind1MovesALampByCellsOnceTheHostAccepts)
{
    open("kitchen");
    const State before = state();
    const CSolidLight& light = *lamp().light;
    const float lightX = light.position.x;
    lookFrom({13500, 12000, 18000}, {15000, 24000, 10500});
    const QPoint from = clientOf({13500, 24000, 10500});
    const QPoint to = clientOf({19500, 24000, 10500});
    press(from);
    EXPECT_EQ(1, controller().dragKind());
    EXPECT_EQ(&wnd(), QWidget::mouseGrabber());
    moveTo((from + to) / 2);
    moveTo(to);
    EXPECT_EQ(6, lamp().gx) << "shown where the pointer is";
    EXPECT_TRUE(testHost().calls.empty()) << "nothing is reported before the release";
    release(to);
    EXPECT_EQ(nullptr, QWidget::mouseGrabber());
    EXPECT_EQ(0, controller().dragKind());
    ASSERT_EQ(std::vector<std::string>{"MoveCeilingHost 1 11 2 0"}, testHost().calls);
    EXPECT_EQ(6, lamp().gx);
    EXPECT_EQ(3, lamp().gy);
    EXPECT_FLOAT_EQ(lightX + 6000, light.position.x) << "the lamp's light follows it";
    EXPECT_EQ(1, stack().count());
    const State after = state();
    expectUndoRedo(before, after);
    EXPECT_EQ((std::vector<std::string>{"MoveCeilingHost 1 11 2 0", "MoveCeilingHost 1 11 -2 0",
                                        "MoveCeilingHost 1 11 2 0"}),
              testHost().calls);
}

TEST_F(DragTest, Kind1MovesAFreeHostItemByDecimillimetres)
{
    open("living_room");
    CGridMapping& raised = *root().children.at(0); // plane 2, 150 mm up
    CHost& spot = *raised.hostById(14);            // placed freely
    ASSERT_TRUE(spot.freePosition);
    const std::string solid = solidText();
    const RRect start = spot.rect;
    const float cx = float(raised.realGridOffset.x + (start.left + start.right) / 2);
    const float cy = float(raised.realGridOffset.y + (start.top + start.bottom) / 2);
    const float h = float(24000 + raised.hoist);
    lookFrom({cx + 2000, 12000, cy + 12000}, {cx + 2000, h, cy});
    const QPoint from = clientOf({cx, h, cy});
    const PickResult hit = vs::pick(wnd(), from.x(), from.y());
    ASSERT_EQ(&spot, hit.host);
    // Along the raised plane's own level.
    const vector3df on = vs::worldToRoom(wnd(), hit.point);
    drag(from, clientOf(on + vector3df(4000, 0, -1000)));
    ASSERT_EQ(1u, testHost().calls.size());
    EXPECT_EQ(0u, testHost().calls[0].find("MoveCeilingHost 2 14 "));
    EXPECT_NEAR(start.left + 4000, spot.rect.left, 40);
    EXPECT_NEAR(start.top - 1000, spot.rect.top, 40);
    const vhost::DesignItem moved = testHost().design->hosts(2).back();
    EXPECT_NEAR(2000 + 4000, moved.x, 40) << "the host moved its copy by the same offset";
    stack().undo();
    EXPECT_EQ(start.left, spot.rect.left) << "back exactly, not by a rounded offset";
    EXPECT_EQ(start.top, spot.rect.top);
    EXPECT_NEAR(2000, testHost().design->hosts(2).back().x, 1e-6);
    EXPECT_EQ(solid, solidText());
}

TEST_F(DragTest, Kind1RefusedByTheHostLeavesNothingMoved)
{
    open("kitchen");
    testHost().acceptMoves = 0;
    const State before = state();
    lookFrom({13500, 12000, 18000}, {15000, 24000, 10500});
    drag(clientOf({13500, 24000, 10500}), clientOf({19500, 24000, 13500}));
    EXPECT_EQ(std::vector<std::string>{"MoveCeilingHost 1 11 2 1"}, testHost().calls);
    EXPECT_EQ(4, lamp().gx);
    EXPECT_EQ(3, lamp().gy);
    EXPECT_TRUE(before == state());
    EXPECT_EQ(0, stack().count());
}

TEST_F(DragTest, Kind2LaysTheCurrentPanelTypeOverTheDraggedCells)
{
    open("kitchen");
    setCurrentPanelType(1102); // 300 mm, like the kitchen's own panels
    const State before = state();
    lookFrom({9000, 12000, 18000}, {9000, 24000, 6000});
    const QPoint from = clientOf({4500, 24000, 4500}); // cell (1, 1)
    const QPoint to = clientOf({10500, 24000, 7500});  // cell (3, 2)
    press(from);
    EXPECT_EQ(2, controller().dragKind());
    EXPECT_TRUE(highlight().active);
    moveTo(to);
    EXPECT_EQ(1, highlight().cols.first);
    EXPECT_EQ(3, highlight().cols.last);
    release(to);
    EXPECT_FALSE(highlight().active);
    ASSERT_EQ(std::vector<std::string>{"LayTiles 1 1102 0 1,3,1,1,2,2,3,3 1,2,1,1,2,2"},
              testHost().calls);
    int silver = 0;
    for (const auto& tile : root().tiles)
        silver += tile->candyType != nullptr && tile->candyType->id == 1102;
    EXPECT_EQ(6, silver);
    EXPECT_EQ(before.solid, solidText());
    EXPECT_EQ(1, stack().count());
    const State after = state();
    EXPECT_NE(before.ceiling, after.ceiling);
    EXPECT_NE(before.host, after.host);
    expectUndoRedo(before, after);
}

TEST_F(DragTest, Kind2WithoutACurrentPanelTypeDoesNothing)
{
    open("kitchen");
    lookFrom({9000, 12000, 18000}, {9000, 24000, 6000});
    drag(clientOf({4500, 24000, 4500}), clientOf({10500, 24000, 7500}));
    EXPECT_TRUE(testHost().calls.empty());
    EXPECT_EQ(0, stack().count());
}

TEST_F(DragTest, Kind3MovesADoorOrWindowAlongItsWall)
{
    open("kitchen");
    CFlatFacility& window = windowOnWall();
    const State before = state();
    lookFrom({15000, 15000, 13000}, {30000, 15000, 13000});
    const QPoint from = clientOf({30000, 15000, 13000});
    press(from);
    ASSERT_EQ(3, controller().dragKind());
    moveTo(clientOf({30000, 16000, 16000}));
    EXPECT_NEAR(11000, window.position.x, 60) << "shown as it goes";
    release(clientOf({30000, 16000, 16000}));
    EXPECT_NEAR(11000, window.position.x, 60);
    EXPECT_NEAR(-21000, window.position.y, 60);
    EXPECT_EQ(1u, doc().walls[1]->flatFacilities.size());
    EXPECT_EQ(1, stack().count());
    expectUndoRedo(before, state());
}

TEST_F(DragTest, Kind3TakesOffAWindowWithLessThanATenthLeftOnTheWall)
{
    open("kitchen");
    CWall& wall = *doc().walls[1]; // 24000 long
    CFlatFacility& window = windowOnWall();
    EXPECT_NEAR(100, vs::flatShareOnWall(wall, window, window.position), 1e-6);
    EXPECT_NEAR(11, vs::flatShareOnWall(wall, window, {22900, -20000}), 1e-6);
    EXPECT_NEAR(9, vs::flatShareOnWall(wall, window, {23100, -20000}), 1e-6);
    EXPECT_NEAR(0, vs::flatShareOnWall(wall, window, {8000, 10000}), 1e-6) << "below the floor";

    const State before = state();
    lookFrom({15000, 15000, 13000}, {30000, 15000, 13000});
    drag(clientOf({30000, 15000, 13000}), clientOf({30000, 15000, 28500}));
    EXPECT_TRUE(wall.flatFacilities.empty());
    EXPECT_EQ(1, stack().count());
    const State after = state();
    stack().undo();
    ASSERT_EQ(1u, wall.flatFacilities.size());
    EXPECT_EQ(&window, wall.flatFacilities.front().get()) << "the very window comes back";
    EXPECT_EQ(8000, window.position.x);
    EXPECT_TRUE(before == state());
    stack().redo();
    EXPECT_TRUE(after == state());
}

TEST_F(DragTest, Kind4MovesTheSelectedFacilitiesOnTheFloorPlane)
{
    open("kitchen");
    CSolidFacility& table = facility(9);  // (19500, 0, 16000)
    CSolidFacility& chair = facility(10); // (12000, 0, 16000)
    const State before = state();
    click(clientOf({12000, 9100, 16000}));
    ASSERT_TRUE(wnd().selection().contains(&chair));
    const QPoint from = clientOf({19500, 7500, 16000});
    press(from, Qt::ControlModifier);
    EXPECT_EQ(4, controller().dragKind());
    EXPECT_EQ(2u, wnd().selection().size());
    const QPoint to = clientOf({21500, 7500, 14000});
    moveTo(to);
    EXPECT_EQ(19500, table.position.x) << "the stored position waits for the release";
    release(to);
    EXPECT_NEAR(21500, table.position.x, 80);
    EXPECT_NEAR(14000, table.position.z, 80);
    EXPECT_EQ(0, table.position.y);
    EXPECT_FLOAT_EQ(table.position.x - 19500, chair.position.x - 12000);
    EXPECT_FLOAT_EQ(table.position.z - 16000, chair.position.z - 16000);
    EXPECT_EQ(1, stack().count());
    expectUndoRedo(before, state());
}

TEST_F(DragTest, Kind4MovesAWallFacilityAlongItsWallOnly)
{
    open("kitchen");
    CSolidFacility& cabinet = facility(1);
    vs::stickFacilityToWall(cabinet, 0, 10000, doc().walls[0].get(), doc());
    wnd().DrawScene();
    const State before = state();
    const Vec3f start = cabinet.position;
    lookFrom({12000, 16000, 16000}, {10000, 4000, 2000});
    const QPoint from = clientOf({10000, 4000, 2000});
    const PickResult hit = vs::pick(wnd(), from.x(), from.y());
    ASSERT_EQ(&cabinet, hit.facility);
    // Up and along the wall on the drag plane; only the part along the wall counts.
    drag(from, clientOf(vs::worldToRoom(wnd(), hit.point) + vector3df(4000, 2000, 0)));
    EXPECT_NEAR(start.x + 4000, cabinet.position.x, 150);
    EXPECT_EQ(start.y, cabinet.position.y);
    EXPECT_EQ(start.z, cabinet.position.z);
    EXPECT_EQ(doc().walls[0].get(), cabinet.stickWall);
    expectUndoRedo(before, state());
}

TEST_F(DragTest, Kind4MovesALampThroughItsLightMarker)
{
    open("kitchen");
    doc().viewState->simpleLighting = false;
    lookFrom({13500, 12000, 18000}, {15000, 23000, 10500});
    vs::applyLightingModelToLights(false, doc());
    CSolidLight& light = *lamp().light; // over the lamp at 2.3 m
    vs::setLightMarkerShown(light, true);
    const vector3df at(light.position.x, light.position.y, light.position.z);
    const State before = state();
    const QPoint from = clientOf(at);
    ASSERT_EQ(Kind::LightMarker, vs::pick(wnd(), from.x(), from.y()).kind);
    drag(from, clientOf(at + vector3df(6000, 0, 3000)));
    EXPECT_EQ(std::vector<std::string>{"MoveCeilingHost 1 11 2 1"}, testHost().calls);
    EXPECT_EQ(6, lamp().gx);
    EXPECT_EQ(4, lamp().gy);
    EXPECT_FLOAT_EQ(at.X + 6000, light.position.x) << "snapped to the grid with its lamp";
    expectUndoRedo(before, state());
}

TEST_F(DragTest, Kind4MovesAFreeLight)
{
    open("kitchen");
    doc().viewState->simpleLighting = false;
    lookFrom({15000, 20000, 22000}, {15000, 14000, 12000});
    vs::applyLightingModelToLights(false, doc());
    CSolidLight& light = *doc().solidLights.front(); // (15000, 14000, 12000), no lamp
    vs::setLightMarkerShown(light, true);
    const State before = state();
    const QPoint from = clientOf({15000, 14000, 12000});
    const PickResult hit = vs::pick(wnd(), from.x(), from.y());
    ASSERT_EQ(&light, hit.light);
    drag(from, clientOf(vs::worldToRoom(wnd(), hit.point) + vector3df(-3000, 0, 2000)));
    EXPECT_NEAR(12000, light.position.x, 80);
    EXPECT_NEAR(14000, light.position.z, 80);
    EXPECT_EQ(14000, light.position.y);
    EXPECT_TRUE(testHost().calls.empty());
    expectUndoRedo(before, state());
}

TEST_F(DragTest, APressDuringADragEndsItFirst)
{
    open("kitchen");
    CSolidFacility& table = facility(9);
    press(clientOf({19500, 7500, 16000}));
    moveTo(clientOf({21500, 7500, 16000}));
    press({2, 2}); // a second press before the release
    EXPECT_EQ(1, stack().count());
    EXPECT_NEAR(21500, table.position.x, 80);
    EXPECT_EQ(0, controller().dragKind());
    release({2, 2});
    EXPECT_EQ(1, stack().count());
}

TEST_F(DragTest, UndoAndRedoKeysWorkWhileTheWindowHasTheFocus)
{
    open("kitchen");
    CSolidFacility& table = facility(9);
    drag(clientOf({19500, 7500, 16000}), clientOf({21500, 7500, 16000}));
    const float moved = table.position.x;
    ASSERT_NE(19500, moved);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(19500, table.position.x);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(moved, table.position.x);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(moved, table.position.x);

    // The window keeps its keys from the dialog's shortcuts, but not undo and redo.
    QKeyEvent undo(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
    undo.ignore();
    QApplication::sendEvent(&wnd(), &undo);
    EXPECT_FALSE(undo.isAccepted());
    QKeyEvent escape(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier);
    escape.ignore();
    QApplication::sendEvent(&wnd(), &escape);
    EXPECT_TRUE(escape.isAccepted());
}

} // namespace
