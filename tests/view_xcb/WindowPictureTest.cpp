// Pictures of the 3D window under a real X display with OpenGL: the exported frame of a shown
// window and the headless ExportSolidPicture of a bundled design through the reference host.
// Everything skips when Qt does not run on xcb.
#include "CataloguePack.h"
#include "HomeDirectory.h"
#include "HostDesign.h"
#include "HostSession.h"
#include "ModelOverrides.h"
#include "ModuleExports.h"

#include "XcbTestSupport.h"
#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "plugin/PictureExport.h"
#include "view/CSolidWnd.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kSource = VS_TEST_SOURCE_DIR;

using xcbtest::onX;

std::string scratch(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("vs-view-xcb-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return (dir / name).string();
}

TEST(WindowPictureTest, ExportPictureWritesAJpegOfTheWindowSize)
{
    if (!onX())
        GTEST_SKIP() << "needs the xcb platform";
    xcbtest::useBuiltInCatalogue();
    CVantrelSolidApp& app = CVantrelSolidApp::instance();
    {
        CSolidDocument& doc = vs::openCurrentDocument(std::string());
        CSolidWnd wnd(doc);
        wnd.resize(320, 240);
        wnd.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&wnd));
        wnd.CreateEngine();
        ASSERT_EQ(wnd.driverKind(), CSolidWnd::DriverKind::OpenGL);
        wnd.SetModes(CSolidWnd::Designing, CSolidWnd::Globe, true);
        wnd.DrawScene();
        const std::string path = scratch("window.jpg");
        ASSERT_TRUE(wnd.ExportPicture(QString::fromStdString(path)));
        const QImage picture(QString::fromStdString(path));
        EXPECT_EQ(picture.size(), QSize(320, 240));
        picture.save(QString::fromStdString(scratch("window.png")));
        // A bigger window after a resize gives a bigger picture.
        wnd.resize(360, 200);
        wnd.DrawScene();
        ASSERT_TRUE(wnd.ExportPicture(QString::fromStdString(path)));
        EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(360, 200));
        EXPECT_FALSE(wnd.ExportPicture(QStringLiteral("/nonexistent-dir/x.jpg")));
    }
    vs::closeCurrentDocument();
    app.clearMasterData();
}

TEST(WindowPictureTest, ExportSolidPictureOfTheKitchenHasTheAskedSize)
{
    if (!onX())
        GTEST_SKIP() << "needs the xcb platform";
    const std::string pack = kSource + "/data/pack/index.xml";
    const std::string home = scratch("home");
    vhost::HostSession session(vhost::ModuleExports::load(VS_LIBRARY_PATH),
                               vhost::CataloguePack::load(pack),
                               vhost::ModelOverrides::load(scratch("ov.xml")));
    session.pour(vhost::prepareHomeDirectory(home, vhost::programDirectory(), pack));
    vhost::HostDesign design = vhost::HostDesign::load(kSource + "/data/designs/kitchen.xml");
    const std::string path = scratch("kitchen.jpg");
    ASSERT_TRUE(session.exportPicture(design, path, 640, 360, 5)); // first person
    const QImage picture(QString::fromStdString(path));
    ASSERT_EQ(picture.size(), QSize(640, 360));
    picture.save(QString::fromStdString(scratch("kitchen.png")));
    // Not one flat colour: the room was drawn.
    EXPECT_NE(picture.pixel(320, 180), picture.pixel(5, 5));
    // The kitchen's first-person view looks up at the ceiling: its panels' grid lines cross a
    // row and a column of the picture's upper part, runs of darker pixels between lighter panels.
    auto crossings = [&](QPoint from, QPoint step, int count) {
        int lines = 0;
        bool inLine = false;
        int lightest = 0;
        for (int i = 0; i < count; ++i)
            lightest = std::max(lightest, qGray(picture.pixel(from + step * i)));
        for (int i = 0; i < count; ++i) {
            const bool dark = qGray(picture.pixel(from + step * i)) < lightest - 30;
            lines += dark && !inLine;
            inLine = dark;
        }
        return lines;
    };
    EXPECT_GE(crossings(QPoint(100, 60), QPoint(1, 0), 440), 6);
    EXPECT_GE(crossings(QPoint(180, 5), QPoint(0, 1), 110), 3);
}

TEST(WindowPictureTest, ExportSolidPictureRefusesBadArgumentsWithoutDrawing)
{
    const std::string path = scratch("bad.jpg");
    EXPECT_THROW(vs::exportSolidPicture("", path, 0, 100, 4), std::invalid_argument);
    EXPECT_THROW(vs::exportSolidPicture("", path, 100, 100000, 4), std::invalid_argument);
    EXPECT_THROW(vs::exportSolidPicture("", path, 100, 100, 9), std::invalid_argument);
    EXPECT_FALSE(fs::exists(path));
}

} // namespace
