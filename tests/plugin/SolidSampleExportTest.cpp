// ApplySolidSample through the module's export, with the design dialog open (one undo step on
// its stack, the scene following) and without it.
#include "VantrelSolid.h"

#include "ceiling/SolidWriter.h"
#include "scene/FacilityScene.h"
#include "scene/WallScene.h"
#include "view/DialogTestFixture.h"

#include <QString>
#include <QUndoStack>

#include <string>

namespace {

using dialogtest::DialogTest;

std::u16string utf16(const std::string& text)
{
    return QString::fromStdString(text).toStdU16String();
}

/** The written solid element without its view state. */
std::string withoutViewState(const std::string& solid)
{
    const size_t start = solid.find("<_dk");
    const size_t end = solid.find("</_dk>");
    if (start == std::string::npos || end == std::string::npos)
        return solid;
    return solid.substr(0, start) + solid.substr(end + 6);
}

std::string wallItem(int index, int tile, bool door = false)
{
    return "<wall index='" + std::to_string(index) +
           "'><wallParts><wallPart visible='true' relativeBottom='0' height='24000' "
           "facilityModelId='" +
           std::to_string(tile) + "' ceramicTileSize='3000,3000'/></wallParts><flatFacilities>" +
           (door ? "<flatFacility facilityModelId='6201' position='3000,0' flatSize='9000,21000'/>"
                 : "") +
           "</flatFacilities></wall>";
}

std::string facilityItem(int model, const std::string& position, int rotate = 0)
{
    return "<solidFacility facilityModelId='" + std::to_string(model) + "' position='" + position +
           "' size='6000,9000,6000' rotateDegree='" + std::to_string(rotate) + "'/>";
}

std::string designText(const std::string& outline, const std::string& walls,
                       const std::string& facilities)
{
    return "<design name='Room' gridWidth='3000' gridHeight='3000' outlinePoints='" + outline +
           "' realGridOffset='0,0'><solid decimillimeter='1' outlinePoints='" + outline +
           "'><viewState workMode='5' viewMode='4'><trackball currentQuaternion='0,0,0,1' "
           "displayFull='true'/></viewState><floor facilityModelId='6101'/><walls>" +
           walls + "</walls><solidFacilities>" + facilities + "</solidFacilities></solid></design>";
}

/** The open room: 3 m x 2.4 m, plain walls, a door on wall 1 and one facility. */
std::string roomText()
{
    return designText("0,0 30000,0 30000,24000 0,24000",
                      wallItem(0, 6102) + wallItem(1, 6102, true) + wallItem(2, 6102) +
                          wallItem(3, 6102),
                      facilityItem(5001, "15000,0,12000"));
}

/** The sample: 4 m x 3 m, tiled walls, two free facilities and one stuck to wall 0. */
std::string sampleText()
{
    return designText("0,0 40000,0 40000,30000 0,30000",
                      wallItem(0, 6103) + wallItem(1, 6104) + wallItem(2, 6103, true) +
                          wallItem(3, 6104),
                      facilityItem(5002, "5000,0,5000", 90) + facilityItem(5003, "30000,0,20000") +
                          "<solidFacility facilityModelId='5004' position='1000,0,0' "
                          "size='6000,9000,6000' stickWallIndex='0'/>");
}

class SolidSampleExportTest : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        CFacilityCatalogue& facilities = CVantrelSolidApp::instance().facilities;
        addPicture(facilities, 6101, 3); // floor
        addPicture(facilities, 6102, 4); // wall tiles
        addPicture(facilities, 6103, 4);
        addPicture(facilities, 6104, 4);
        addPicture(facilities, 6201, 2); // door
    }

    static void addPicture(CFacilityCatalogue& facilities, int id, int kind)
    {
        FacilityModelInfo info;
        info.id = id;
        info.name = "picture";
        info.kindAndFlags = kind;
        const QByteArray& png = dialogtest::pictureBytes(16, 16, QColor(200, 200, 200));
        info.pictureData = png.constData();
        info.pictureSize = int(png.size());
        info.width = 3000;
        info.height = 3000;
        facilities.addModel(info);
    }

    CSolidDocument& openRoom(bool withDialog)
    {
        vs::openCurrentDocument(roomText());
        if (withDialog) {
            openDialog();
            EXPECT_NE(nullptr, vs::currentDocument()->roomNode);
        } else {
            CVantrelSolidApp& app = CVantrelSolidApp::instance();
            app.candies.link();
            app.facilities.link();
        }
        return *vs::currentDocument();
    }

    static void apply(const std::string& sample, int angle, int scale = 1)
    {
        const std::u16string text = utf16(sample);
        ApplySolidSample(0, text.c_str(), angle, scale);
    }

    static void expectShown(const CSolidDocument& doc)
    {
        for (const auto& f : doc.solidFacilities)
            EXPECT_NE(nullptr, vs::facilityNode(*f));
        for (const auto& w : doc.walls) {
            EXPECT_NE(nullptr, vs::wallGroupNode(*w));
            for (const auto& part : w->wallParts)
                EXPECT_NE(nullptr, vs::wallPartNode(*part));
        }
    }
};

TEST_F(SolidSampleExportTest, InTheOpenDialogItIsOneUndoStepBackToTheSameDocument)
{
    CSolidDocument& doc = openRoom(true);
    CSolidWnd& wnd = *view_->solidWnd();
    QUndoStack& stack = *view_->undoStack();
    wnd.selection().add(*doc.solidFacilities[0]);
    const std::string before = vs::writeSolid(doc);
    const int steps = stack.count();

    apply(sampleText(), 90);
    ASSERT_EQ(steps + 1, stack.count());
    const std::string after = vs::writeSolid(doc);
    EXPECT_NE(before, after);
    // The two free facilities arrive (the stuck one stays behind), shown; the room's own left
    // the document and the selection.
    ASSERT_EQ(2u, doc.solidFacilities.size());
    EXPECT_EQ(5002, doc.solidFacilities[0]->facilityModel->id);
    EXPECT_FLOAT_EQ(180, doc.solidFacilities[0]->rotateDegree);
    EXPECT_TRUE(wnd.selection().empty());
    expectShown(doc);
    EXPECT_EQ(6103, doc.walls[1]->wallParts[0]->facilityModel->id);

    stack.undo();
    EXPECT_EQ(before, vs::writeSolid(doc));
    expectShown(doc);
    stack.redo();
    EXPECT_EQ(after, vs::writeSolid(doc));

    // A resize rebuilds every node (and saves the view state); the step reaches its objects
    // through the document again.
    wnd.RecreateEngine();
    stack.undo();
    EXPECT_EQ(withoutViewState(before), withoutViewState(vs::writeSolid(doc)));
    expectShown(doc);
    EXPECT_EQ(1u, doc.solidFacilities.size());
}

TEST_F(SolidSampleExportTest, WithoutADialogOnlyTheDocumentChanges)
{
    CSolidDocument& doc = openRoom(false);
    apply(sampleText(), 0);
    ASSERT_EQ(2u, doc.solidFacilities.size());
    EXPECT_EQ(nullptr, vs::facilityNode(*doc.solidFacilities[0]));
    EXPECT_EQ(6103, doc.walls[0]->wallParts[0]->facilityModel->id);
    EXPECT_TRUE(doc.walls[1]->flatFacilities.empty());
    EXPECT_EQ(1u, doc.walls[2]->flatFacilities.size());
}

TEST_F(SolidSampleExportTest, ASampleThatIsNoDesignChangesNothing)
{
    CSolidDocument& doc = openRoom(true);
    const std::string before = vs::writeSolid(doc);
    const int steps = view_->undoStack()->count();
    apply("", 0);
    apply("<design outlinePoints='0,0 10,0", 0);
    apply(sampleText(), 0, 0); // a ceiling scale below 1
    apply("<design/>", 0);     // no room outline
    ApplySolidSample(0, nullptr, 0, 1);
    EXPECT_EQ(before, vs::writeSolid(doc));
    EXPECT_EQ(steps, view_->undoStack()->count());
}

int loadedStaticSamples = 0;

TEST_F(SolidSampleExportTest, TheSamplesStaticSampleIsNotLoadedIntoTheOpenDesign)
{
    CSolidDocument& doc = openRoom(false);
    CVantrelSolidApp::instance().callbacks.loadStaticSample = [](int32) { ++loadedStaticSamples; };
    std::string sample = sampleText();
    sample.replace(sample.find("<solid "), 7, "<solid staticSolidSampleId='3' ");
    apply(sample, 0);
    EXPECT_EQ(0, loadedStaticSamples);
    EXPECT_EQ(0, doc.staticSolidSampleId);
    EXPECT_EQ(2u, doc.solidFacilities.size());
}

TEST_F(SolidSampleExportTest, WithoutAnOpenDesignNothingHappens)
{
    ASSERT_EQ(nullptr, vs::currentDocument());
    apply(sampleText(), 0);
    EXPECT_EQ(nullptr, vs::currentDocument());
}

} // namespace
