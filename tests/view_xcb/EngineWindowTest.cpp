// The window the engine draws into under a real X server: its visual is the one the engine
// draws with, pointer input still reaches the widget through it, the software driver when it
// is asked for or when the server has no OpenGL at all. Everything skips off xcb.
#include "XcbTestSupport.h"
#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "scene/CRoomSceneNode.h"
#include "view/CSolidWnd.h"
#include "view/XErrorTrap.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

using xcbtest::onX;

/** The server's input faked through the XTest extension, as a user's hand would give it: the
 *  events travel through the X server, not straight to the widget. */
class FakeInput
{
public:
    FakeInput() : display_(vs::openXDisplay())
    {
        void* lib = dlopen("libXtst.so.6", RTLD_NOW);
        if (lib != nullptr) {
            motion_ = reinterpret_cast<Motion>(dlsym(lib, "XTestFakeMotionEvent"));
            button_ = reinterpret_cast<Button>(dlsym(lib, "XTestFakeButtonEvent"));
        }
        void* x11 = dlopen("libX11.so.6", RTLD_NOW);
        if (x11 != nullptr)
            flush_ = reinterpret_cast<Flush>(dlsym(x11, "XFlush"));
    }
    ~FakeInput() { vs::closeXDisplay(display_); }

    bool usable() const { return display_ && motion_ && button_ && flush_; }

    void moveTo(QPoint global)
    {
        motion_(display_, -1, global.x(), global.y(), 0);
        flush_(display_);
        settle();
    }
    void button(bool press)
    {
        button_(display_, 1, press ? 1 : 0, 0);
        flush_(display_);
        settle();
    }

private:
    static void settle() { QTest::qWait(60); }

    using Motion = int (*)(void*, int, int, int, unsigned long);
    using Button = int (*)(void*, unsigned, int, unsigned long);
    using Flush = int (*)(void*);
    void* display_;
    Motion motion_ = nullptr;
    Button button_ = nullptr;
    Flush flush_ = nullptr;
};

class EngineWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!onX())
            GTEST_SKIP() << "needs the xcb platform";
        xcbtest::useBuiltInCatalogue();
        // The bundled kitchen without its catalogue: walls and floor of built-in tiles.
        QFile design(QStringLiteral(VS_TEST_SOURCE_DIR "/data/designs/kitchen.xml"));
        ASSERT_TRUE(design.open(QIODevice::ReadOnly));
        doc_ = &vs::openCurrentDocument(design.readAll().toStdString());
        wnd_ = std::make_unique<CSolidWnd>(*doc_);
        wnd_->resize(320, 240);
        wnd_->move(40, 40);
        wnd_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd_.get()));
    }

    void TearDown() override
    {
        wnd_.reset();
        if (doc_ != nullptr)
            vs::closeCurrentDocument();
        CVantrelSolidApp::instance().clearMasterData();
        unsetenv("VANTREL_SOLID_DRIVER");
    }

    /** The exported frame: not one flat colour when the room was drawn. */
    void expectDrawnFrame(const char* name)
    {
        wnd_->DrawScene();
        const fs::path path =
            fs::temp_directory_path() / ("vs-engine-window-" + std::to_string(::getpid()) + name);
        ASSERT_TRUE(wnd_->ExportPicture(QString::fromStdString(path.string())));
        const QImage frame(QString::fromStdString(path.string()));
        if (std::getenv("VS_KEEP_FRAMES") != nullptr)
            frame.save(QString::fromStdString("/tmp/engine-" + std::string(name) + ".png"));
        fs::remove(path);
        ASSERT_EQ(frame.size(), wnd_->size());
        int differing = 0;
        for (int y = 0; y < frame.height(); y += 8)
            for (int x = 0; x < frame.width(); x += 8)
                differing += frame.pixel(x, y) != frame.pixel(0, 0);
        EXPECT_GT(differing, 100) << name;
    }

    CSolidDocument* doc_ = nullptr;
    std::unique_ptr<CSolidWnd> wnd_;
};

TEST_F(EngineWindowTest, OpenGlDrawsOnAWindowWithItsOwnVisual)
{
    wnd_->CreateEngine();
    ASSERT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::OpenGL);
    void* display = vs::openXDisplay();
    ASSERT_NE(display, nullptr);
    ASSERT_NE(wnd_->engineVisual(), 0u);
    EXPECT_EQ(vs::xWindowVisual(display, wnd_->engineXWindow()), wnd_->engineVisual());
    vs::closeXDisplay(display);
    expectDrawnFrame("gl.jpg");

    // A resize makes the engine anew, again on a window of its visual.
    wnd_->resize(360, 260);
    QTest::qWait(50);
    ASSERT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::OpenGL);
    display = vs::openXDisplay();
    EXPECT_EQ(vs::xWindowVisual(display, wnd_->engineXWindow()), wnd_->engineVisual());
    vs::closeXDisplay(display);
    expectDrawnFrame("gl-resized.jpg");
}

// Run by ctest on an X server of its own (VS_TEST_OWN_SERVER set): other tests' windows on a
// shared server could lie under the pointer. A drag through the server turns the room, so
// pointer events pass the engine's window on to the widget.
TEST_F(EngineWindowTest, PointerInputReachesTheWidgetThroughTheEnginesWindow)
{
    if (std::getenv("VS_TEST_OWN_SERVER") == nullptr)
        GTEST_SKIP() << "runs on an X server of its own";
    FakeInput input;
    if (!input.usable())
        GTEST_SKIP() << "no XTest";
    wnd_->CreateEngine();
    ASSERT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::OpenGL);
    const irr::core::matrix4 before = doc_->roomNode->getRelativeTransformation();
    const QPoint centre = wnd_->mapToGlobal(wnd_->rect().center());
    input.moveTo(centre);
    input.button(true);
    input.moveTo(centre + QPoint(60, 10));
    input.moveTo(centre + QPoint(90, 20));
    input.button(false);
    EXPECT_NE(doc_->roomNode->getRelativeTransformation(), before);
}

TEST_F(EngineWindowTest, SoftwareDriverWhenAskedFor)
{
    setenv("VANTREL_SOLID_DRIVER", "software", 1);
    wnd_->CreateEngine();
    ASSERT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::Software);
    EXPECT_NE(wnd_->engineXWindow(), 0u);
    expectDrawnFrame("software.jpg");
    wnd_->resize(300, 200);
    QTest::qWait(50);
    EXPECT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::Software);
    expectDrawnFrame("software-resized.jpg");

    setenv("VANTREL_SOLID_DRIVER", "null", 1);
    wnd_->RecreateEngine();
    EXPECT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::Null);
}

// Run by ctest on a server started without the GLX extension (VS_TEST_NO_GLX set): OpenGL
// cannot start, and the window falls back to the software driver instead of ending the
// process or staying black.
TEST_F(EngineWindowTest, SoftwareDriverWhenTheServerHasNoOpenGl)
{
    if (std::getenv("VS_TEST_NO_GLX") == nullptr)
        GTEST_SKIP() << "runs on a server without GLX";
    wnd_->CreateEngine();
    ASSERT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::Software);
    expectDrawnFrame("no-glx.jpg");
}

} // namespace
