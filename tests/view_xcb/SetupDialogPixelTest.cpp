// Setup dialogs run from the design dialog on the kitchen under a real X display with OpenGL:
// the edit shows in the drawn room (the waist band on the walls, a lamp's colour on what it
// lights), and undoing it brings the picture back. Pictures are written to the temporary
// directory to be looked at. Everything skips when Qt does not run on xcb.
#include "XcbTestSupport.h"
#include "dialogs/DialogInput.h"

#include "dialogs/CLightSetupDialog.h"
#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "view/CSolidWnd.h"
#include "view/CVantrelSolidView.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using dialoginput::typeInto;
using xcbtest::onX;

std::string scratch(const std::string& name)
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("vs-setup-dialogs-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

std::string kitchen()
{
    std::ifstream in(std::string(VS_TEST_SOURCE_DIR) + "/data/designs/kitchen.xml");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/** Pixels of `a` and `b` (same size) in `area` whose colours differ by more than 24 in a
 *  channel. */
int differing(const QImage& a, const QImage& b, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            count += std::abs(p.red() - q.red()) > 24 || std::abs(p.green() - q.green()) > 24 ||
                     std::abs(p.blue() - q.blue()) > 24;
        }
    return count;
}

/** Mean red minus mean green over `area`. */
double redness(const QImage& image, const QRect& area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            sum += p.red() - p.green();
        }
    return sum / (area.width() * area.height());
}

class SetupDialogPixelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!onX())
            GTEST_SKIP() << "needs the xcb platform";
        xcbtest::useBuiltInCatalogue();
        CSolidDocument& doc = vs::openCurrentDocument(kitchen());
        view_ = std::make_unique<CVantrelSolidView>(doc);
        view_->resize(1000, 700);
        view_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
        wnd_ = view_->solidWnd();
        ASSERT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::OpenGL);
        // Standing in the room looking at a wall: ceiling above, wall in the middle.
        wnd_->SetModes(CSolidWnd::Viewing, CSolidWnd::FirstPerson, true);
    }

    void TearDown() override
    {
        view_.reset();
        vs::closeCurrentDocument();
        CVantrelSolidApp::instance().clearMasterData();
    }

    QImage frame(const char* name)
    {
        const QImage image = wnd_->RenderToImage().convertToFormat(QImage::Format_RGB32);
        image.save(QString::fromStdString(scratch(name)));
        return image;
    }

    std::unique_ptr<CVantrelSolidView> view_;
    CSolidWnd* wnd_ = nullptr;
};

} // namespace

TEST_F(SetupDialogPixelTest, WaistBandSetThroughTheWallSetupButtonShowsOnTheWalls)
{
    const QImage before = frame("band-before.png");
    ASSERT_FALSE(before.isNull());
    dialoginput::whenModal([](QWidget* dialog) {
        auto* check = dialog->findChild<QCheckBox*>("bandCheck");
        if (!check->isChecked())
            check->click();
        typeInto(dialog->findChild<QLineEdit*>("bandWidthEdit"), "40");
        typeInto(dialog->findChild<QLineEdit*>("bandHeightEdit"), "110");
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    view_->findChild<QPushButton*>("wallSetupButton")->click();
    const QImage after = frame("band-after.png");
    const QRect wallRows(0, before.height() / 3, before.width(), before.height() / 3);
    EXPECT_GT(differing(before, after, wallRows), before.width() * 4)
        << "the band crosses the wall in view";

    ASSERT_EQ(view_->undoStack()->count(), 1);
    view_->undoStack()->undo();
    const QImage undone = frame("band-undone.png");
    EXPECT_LT(differing(before, undone, before.rect()), before.width());
}

TEST_F(SetupDialogPixelTest, LightColourReachesTheRoomInView)
{
    CSolidDocument& doc = wnd_->document();
    doc.viewState->simpleLighting = false; // the room's own lights
    wnd_->ApplyDisplayPreferences();
    ASSERT_FALSE(doc.solidLights.empty());
    CSolidLight* light = doc.solidLights.front().get();
    const QImage before = frame("light-before.png");
    // The first-person view looks up at the ceiling, which the lamp lights.
    const QRect litRows(0, 0, before.width(), before.height() / 2);

    dialoginput::ColourAnswer red(QColor(255, 40, 40));
    dialoginput::whenModal(
        [](QWidget* dialog) { dialog->findChild<QPushButton*>("colourButton")->click(); });
    QTimer::singleShot(50, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->findChild<QPushButton*>("okButton")->click();
    });
    ASSERT_TRUE(vs::runLightSetup(*wnd_, light, nullptr, view_->undoStack(), view_.get()));
    const QImage after = frame("light-after.png");
    EXPECT_GT(redness(after, litRows), redness(before, litRows) + 10);

    view_->undoStack()->undo();
    const QImage undone = frame("light-undone.png");
    EXPECT_NEAR(redness(undone, litRows), redness(before, litRows), 2);
}
