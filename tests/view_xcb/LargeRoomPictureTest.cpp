// Pictures of rooms far larger than a kitchen, and of designs with no room at all: the camera's
// clipping follows the room, and an export with nothing to draw fails instead of writing black.
#include "CataloguePack.h"
#include "HomeDirectory.h"
#include "HostDesign.h"
#include "HostSession.h"
#include "ModelOverrides.h"
#include "ModuleExports.h"

#include "XcbTestSupport.h"
#include "document/CSolidDocument.h"
#include "document/SolidViewState.h"
#include "plugin/DesignRun.h"
#include "view/CSolidWnd.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kSource = VS_TEST_SOURCE_DIR;

using xcbtest::onX;

std::string scratch(const std::string& name)
{
    const fs::path dir =
        fs::temp_directory_path() / ("vs-large-room-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return (dir / name).string();
}

/** A hall of `width` x `depth` metres under 600 mm white panels (pack type 1201), or with no
 *  panels at all. */
std::string hall(int width, int depth, bool panels)
{
    const int w = width * 10000, d = depth * 10000;
    std::ostringstream text;
    text << "<design name='Hall' id='1' gridWidth='6000' gridHeight='6000' outlinePoints='0,0 " << w
         << ",0 " << w << ',' << d << " 0," << d << "' realGridOffset='0,0'><tiles>";
    for (int gy = 0; panels && gy < d / 6000; ++gy)
        for (int gx = 0; gx < w / 6000; ++gx)
            text << "<tile tileTypeId='1201' rotateDegree='0' gx='" << gx << "' gy='" << gy
                 << "'/>";
    text << "</tiles></design>";
    return text.str();
}

class PackSession
{
public:
    PackSession()
        : session(vhost::ModuleExports::load(VS_LIBRARY_PATH),
                  vhost::CataloguePack::load(kSource + "/data/pack/index.xml"),
                  vhost::ModelOverrides::load(scratch("ov.xml")))
    {
        const std::string pack = kSource + "/data/pack/index.xml";
        session.pour(vhost::prepareHomeDirectory(scratch("home"), vhost::programDirectory(), pack));
    }
    bool picture(const std::string& designText, const std::string& path, int viewMode = 4)
    {
        vhost::HostDesign design = vhost::HostDesign::fromText(designText);
        return session.exportPicture(design, path, 320, 240, viewMode);
    }
    vhost::HostSession session;
};

/** The first and last column of row `y` brighter than black. */
std::pair<int, int> litSpan(const QImage& picture, int y)
{
    int first = -1, last = -1;
    for (int x = 0; x < picture.width(); ++x)
        if (qGray(picture.pixel(x, y)) > 40) {
            first = first < 0 ? x : first;
            last = x;
        }
    return {first, last};
}

std::string read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

TEST(LargeRoomPictureTest, TheGlobePictureOfA100MetreHallShowsItFromEndToEnd)
{
    if (!onX())
        GTEST_SKIP() << "needs the xcb platform";
    PackSession pack;
    const std::string path = scratch("hall100.jpg");
    ASSERT_TRUE(pack.picture(hall(100, 30, true), path));
    const QImage picture(QString::fromStdString(path));
    ASSERT_EQ(picture.size(), QSize(320, 240));
    picture.save(QString::fromStdString(scratch("hall100.png")));
    // Fitted to its length: panels near both picture edges, and lit across the middle.
    const auto [first, last] = litSpan(picture, 120);
    EXPECT_GE(first, 0);
    EXPECT_LT(first, 40);
    EXPECT_GT(last, 280);
    for (int x = 60; x <= 260; x += 40)
        EXPECT_GT(qGray(picture.pixel(x, 120)), 40) << x;
}

TEST(LargeRoomPictureTest, FirstPersonInAHallCornerSeesTheFarCorner)
{
    if (!onX())
        GTEST_SKIP() << "needs the xcb platform";
    xcbtest::useBuiltInCatalogue();
    {
        // 141 m across: beyond any fixed far plane this window used to have.
        CSolidDocument& doc = vs::openCurrentDocument(hall(100, 100, false));
        CSolidWnd wnd(doc);
        wnd.resize(320, 240);
        wnd.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&wnd));
        wnd.CreateEngine();
        ASSERT_NE(wnd.driverKind(), CSolidWnd::DriverKind::Null);
        SolidViewState state;
        state.firstPersonPosition = {5000, 13500, 5000};
        state.cameraYaw = 45;
        state.cameraPitch = 0;
        wnd.RestoreViewState(state);
        wnd.SetModes(CSolidWnd::Designing, CSolidWnd::FirstPerson, true);
        const QImage frame = wnd.RenderToImage();
        ASSERT_FALSE(frame.isNull());
        frame.save(QString::fromStdString(scratch("corner.png")));
        EXPECT_GT(qGray(frame.pixel(160, 120)), 20);
        EXPECT_GT(wnd.firstPersonCamera()->getFarValue(), 1.41e6f);
    }
    vs::closeCurrentDocument();
}

TEST(LargeRoomPictureTest, FirstPersonInTheMiddleOfTheLargestRoomSeesFloorAndWalls)
{
    if (!onX())
        GTEST_SKIP() << "needs the xcb platform";
    // 100 km a side, the largest outline a design may have: the eye stands 50 km from the
    // origin, where a unit step is lost in the rounding of a coordinate.
    PackSession pack;
    const std::string path = scratch("hall100km.jpg");
    ASSERT_TRUE(pack.picture(hall(100000, 100000, false), path, 5));
    const QImage picture(QString::fromStdString(path));
    ASSERT_EQ(picture.size(), QSize(320, 240));
    // The floor fills the lower half, the far walls the upper half.
    EXPECT_GT(qGray(picture.pixel(160, 220)), 12);
    EXPECT_GT(qGray(picture.pixel(160, 40)), 12);
}

TEST(LargeRoomPictureTest, AnExportWithNoRoomToDrawFailsAndKeepsTheEarlierPicture)
{
    if (!onX())
        GTEST_SKIP() << "needs the xcb platform";
    PackSession pack;
    const std::string path = scratch("degenerate.jpg");
    ASSERT_TRUE(pack.picture(hall(6, 4, true), path));
    const std::string earlier = read(path);
    ASSERT_FALSE(earlier.empty());
    EXPECT_FALSE(pack.picture("<design id='1' gridWidth='6000' gridHeight='6000' "
                              "outlinePoints='0,0 60000,0'/>",
                              path));
    EXPECT_FALSE(pack.picture("<design id='1'/>", path));
    EXPECT_FALSE(pack.picture("<design id='1' gridWidth='6000' gridHeight='6000' "
                              "outlinePoints='0,0 60000,0 120000,0'/>",
                              path, 5));
    EXPECT_EQ(read(path), earlier);
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path()))
        files += entry.path().filename().string().rfind(".degenerate.jpg", 0) == 0;
    EXPECT_EQ(files, 0u) << "a temporary picture was left behind";
}
