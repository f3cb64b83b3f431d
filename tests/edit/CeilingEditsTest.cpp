// Ceiling host items added, deleted and turned as undo steps reported to the host, and panels
// laid over cells repainting the plan picture the scene shows.
#include "EditFixture.h"

#include "ceiling/ExactFit.h"
#include "document/CGridMapping.h"
#include "document/CSolidLight.h"
#include "document/SolidCeiling.h"
#include "edit/CeilingEdits.h"
#include "edit/EditCommand.h"
#include "edit/HostCommands.h"
#include "scene/LightScene.h"

#include <cmath>

namespace {

using edittest::EditFixture;
using edittest::testHost;

class CeilingEditsTest : public EditFixture
{
protected:
    CGridMapping& root() const { return *doc().ceiling->root; }
    CCandyType& type(int id) const { return *catalogue().candies.findType(id); }
    /** The id the host returned in its last AddCeilingHost answer. */
    static int lastAddedId()
    {
        const std::string& call = testHost().calls.back();
        return std::stoi(call.substr(call.rfind("-> ") + 3));
    }
    /** The plan picture's pixel at the centre of cell (col, row) of the root plane. */
    QRgb cellPixel(int col, int row) const
    {
        const CGridMapping& p = root();
        const double x = (col + 0.5) * p.gridWidth, y = (row + 0.5) * p.gridHeight;
        return p.picture.pixel(int(std::lround(x * p.zoomX)) - p.pixelRect.left,
                               int(std::lround(y * p.zoomY)) - p.pixelRect.top);
    }
};

TEST_F(CeilingEditsTest, AnAddedHostItemTakesTheHostsIdAndGoesAgainOnUndo)
{
    open("kitchen");
    const std::string ceiling = ceilingItems(), host = hostItems(), solid = solidText();
    CHost* added = vs::addCeilingHost(wnd(), root(), type(2101), false, 1, 6);
    ASSERT_NE(nullptr, added);
    ASSERT_EQ(1u, testHost().calls.size());
    EXPECT_EQ("AddCeilingHost 1 2101 1 6 0 0 -> 13", testHost().calls[0]);
    EXPECT_EQ(13, added->id);
    EXPECT_EQ(1, added->gx);
    EXPECT_EQ(6, added->gy);
    EXPECT_EQ(added, root().hostAt({4500, 19500}));
    stack().undo();
    EXPECT_EQ("DeleteCeilingHost 1 13", testHost().calls.back());
    EXPECT_EQ(nullptr, root().hostAt({4500, 19500}));
    EXPECT_EQ(ceiling, ceilingItems());
    EXPECT_EQ(host, hostItems());
    EXPECT_EQ(solid, solidText());
    stack().redo();
    EXPECT_EQ(lastAddedId(), added->id);
    EXPECT_EQ(added, root().hostAt({4500, 19500}));
}

TEST_F(CeilingEditsTest, ADeletedLampComesBackWithItsLightAndTheHostsNewId)
{
    open("kitchen");
    CHost& lamp = *root().hostById(11);
    CSolidLight* light = lamp.light;
    ASSERT_NE(nullptr, light);
    const size_t lights = doc().solidLights.size();
    const std::string ceiling = ceilingItems(), host = hostItems(), solid = solidText();
    vs::deleteCeilingHost(wnd(), lamp);
    EXPECT_EQ(std::vector<std::string>{"DeleteCeilingHost 1 11"}, testHost().calls);
    EXPECT_EQ(nullptr, root().hostById(11));
    EXPECT_EQ(lights - 1, doc().solidLights.size());
    EXPECT_EQ(nullptr, vs::lightNode(*light)) << "its light left the scene with it";

    stack().undo();
    EXPECT_EQ("AddCeilingHost 1 2101 4 3 0 0 -> 13", testHost().calls.back());
    EXPECT_EQ(&lamp, root().hostById(13)) << "the very item, under the host's new id";
    EXPECT_EQ(light, lamp.light);
    EXPECT_EQ(&lamp, light->host);
    EXPECT_NE(nullptr, vs::lightNode(*light));
    EXPECT_EQ(lights, doc().solidLights.size());
    EXPECT_EQ(ceiling, ceilingItems());
    EXPECT_EQ(host, hostItems());
    // The light names its lamp by id: the only difference is the id the host gave.
    std::string renamed = solid;
    const size_t at = renamed.find("\"11\"");
    ASSERT_NE(std::string::npos, at);
    renamed.replace(at, 4, "\"13\"");
    EXPECT_EQ(renamed, solidText());
    stack().redo();
    EXPECT_EQ("DeleteCeilingHost 1 13", testHost().calls.back());
}

TEST_F(CeilingEditsTest, TurningReportsNinetyOrTwoHundredSeventyAndUndoTurnsBack)
{
    open("kitchen");
    CHost& vent = *root().hostById(12);
    const std::string host = hostItems(), solid = solidText();
    vs::rotateCeilingHost(wnd(), vent, 90);
    vs::rotateCeilingHost(wnd(), vent, 270);
    vs::rotateCeilingHost(wnd(), vent, 270);
    EXPECT_EQ(270, vent.rotateDegree);
    EXPECT_EQ((std::vector<std::string>{"RotateCeilingHost 1 12 90", "RotateCeilingHost 1 12 270",
                                        "RotateCeilingHost 1 12 270"}),
              testHost().calls);
    stack().undo();
    EXPECT_EQ("RotateCeilingHost 1 12 90", testHost().calls.back());
    stack().undo();
    stack().undo();
    EXPECT_EQ(0, vent.rotateDegree);
    EXPECT_EQ(host, hostItems());
    EXPECT_EQ(solid, solidText());
    vs::rotateCeilingHost(wnd(), vent, -90); // only 90 and 270 are turns
    EXPECT_EQ(0, vent.rotateDegree);
}

TEST_F(CeilingEditsTest, LayingPanelsRepaintsThePlanPictureAndUndoPaintsItBack)
{
    open("kitchen");
    ASSERT_FALSE(root().picture.isNull());
    const QRgb white = cellPixel(2, 1);
    const QImage before = root().picture.copy();
    const FitResult cols = vs::exactFitCols(root(), 3000, 1, 3);
    const FitResult rows = vs::exactFitRows(root(), 3000, 1, 2);
    vs::runEdit(wnd(),
                std::make_unique<vs::LayPanelsCommand>(wnd(), root(), type(1103), cols, rows));
    EXPECT_NE(white, cellPixel(2, 1)) << "the laid panels show on the picture";
    EXPECT_EQ(white, cellPixel(5, 1)) << "outside the cells nothing changed";
    stack().undo();
    EXPECT_EQ(before, root().picture);
}

TEST_F(CeilingEditsTest, RangeTextsListTheRangeThenEveryRun)
{
    FitResult fit;
    fit.first = -2;
    fit.last = 3;
    fit.runs = {{-2, -1, 2, 0, 0, 0}, {0, 1, 2, 0, 0, 0}};
    EXPECT_EQ("-2,3,-2,-1,0,1", vs::rangeText(fit));
    fit.runs.clear();
    EXPECT_EQ("-2,3", vs::rangeText(fit));
}

} // namespace
