// The 3D window: cameras, modes and their survival across a resize, change-top corner drags.
// The unit tests run it on the engine's null driver (offscreen platform); the X tests run the
// same cases with OpenGL under Xvfb.
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "document/SolidCeiling.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "samples/StaticSamplePictures.h"
#include "scene/CRoomSceneNode.h"
#include "view/CSolidWnd.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include <unistd.h>

namespace {

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CVantrelSolidApp& app = CVantrelSolidApp::instance();
        app.clearMasterData();
        app.addBuiltIns();
        app.candies.link();
        app.facilities.link();
        doc_ = &vs::openCurrentDocument(std::string()); // the default room
        wnd_ = std::make_unique<CSolidWnd>(*doc_);
        wnd_->setLeaveQuestion([this] {
            ++questions_;
            return answer_;
        });
        wnd_->resize(400, 300);
        wnd_->CreateEngine();
        ASSERT_NE(wnd_->device(), nullptr);
        ASSERT_NE(doc_->roomNode, nullptr);
    }

    void TearDown() override
    {
        wnd_.reset();
        vs::closeCurrentDocument();
        CVantrelSolidApp::instance().clearMasterData();
    }

    void wheel(int delta)
    {
        QWheelEvent e(QPointF(200, 150), QPointF(200, 150), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(wnd_.get(), &e);
    }

    void mouse(QEvent::Type type, QPoint p)
    {
        const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(p), QPointF(wnd_->mapToGlobal(p)), b,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                         : Qt::MouseButtons(Qt::LeftButton),
                      Qt::NoModifier);
        QApplication::sendEvent(wnd_.get(), &e);
    }

    void key(int k)
    {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(wnd_.get(), &e);
    }

    irr::core::matrix4 roomMatrix() const { return doc_->roomNode->getRelativeTransformation(); }

    CSolidDocument* doc_ = nullptr;
    std::unique_ptr<CSolidWnd> wnd_;
    int questions_ = 0;
    bool answer_ = false;
};

TEST_F(WindowTest, StartsViewingTheGlobeFromTheFittedDistance)
{
    EXPECT_EQ(wnd_->workMode(), CSolidWnd::Viewing);
    EXPECT_EQ(wnd_->viewMode(), CSolidWnd::Globe);
    ASSERT_NE(wnd_->activeCamera(), nullptr);
    EXPECT_EQ(wnd_->activeCamera(), wnd_->orbitCamera(0));
    EXPECT_NEAR(wnd_->orbitCamera(0)->getPosition().Y, -wnd_->ComputeGlobeDistance(), 1e-2);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        EXPECT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::OpenGL);
        EXPECT_EQ(wnd_->lastFrame().size(), QSize(400, 300));
    } else {
        EXPECT_EQ(wnd_->driverKind(), CSolidWnd::DriverKind::Null);
        EXPECT_TRUE(wnd_->lastFrame().isNull()); // the null driver draws nothing
        EXPECT_FALSE(wnd_->ExportPicture(QStringLiteral("/tmp/never-written.jpg")));
    }
}

TEST_F(WindowTest, StoredOrbitCamerasAreRestoredWhereverTheyStand)
{
    // Opens a new window on the document whose saved state holds the two orbit positions.
    auto reopen = [this](const Vec3f& globe, const Vec3f& changeTop) {
        wnd_.reset(); // saves its own view state first
        doc_->viewState->trackballPosition = globe;
        doc_->viewState->staticSolidPosition = changeTop;
        wnd_ = std::make_unique<CSolidWnd>(*doc_);
        wnd_->resize(400, 300);
        wnd_->CreateEngine();
        ASSERT_NE(wnd_->orbitCamera(0), nullptr);
    };
    const auto at = [](irr::scene::ICameraSceneNode* camera) {
        const irr::core::vector3df p = camera->getPosition();
        return Vec3f{p.X, p.Y, p.Z};
    };

    // Above the room and far off its axis, as a saved living room holds it.
    reopen({24000, 30000, -26000}, {0, -150000, 5});
    EXPECT_EQ(at(wnd_->orbitCamera(0)), (Vec3f{24000, 30000, -26000}));
    EXPECT_EQ(at(wnd_->orbitCamera(1)), (Vec3f{0, -150000, 5}));
    // Closing the window again saves what it restored, not a fitted view.
    wnd_.reset();
    EXPECT_EQ(doc_->viewState->trackballPosition, (Vec3f{24000, 30000, -26000}));

    // What cannot be a camera falls back to the fitted view.
    const float nan = std::nanf("");
    reopen({0, 0, 0}, {nan, -1000, 0});
    const float fitted = -static_cast<float>(wnd_->ComputeGlobeDistance());
    EXPECT_NEAR(at(wnd_->orbitCamera(0)).y, fitted, 1e-2);
    EXPECT_NEAR(at(wnd_->orbitCamera(1)).y, fitted, 1e-2);
    EXPECT_EQ(at(wnd_->orbitCamera(0)).x, 0);
}

TEST_F(WindowTest, TrackballDragTurnsTheRoomAndATinyOneDoesNot)
{
    const irr::core::matrix4 before = roomMatrix();
    mouse(QEvent::MouseButtonPress, QPoint(200, 150));
    mouse(QEvent::MouseMove, QPoint(201, 150));
    EXPECT_EQ(roomMatrix(), before);
    mouse(QEvent::MouseMove, QPoint(260, 170));
    const irr::core::matrix4 turned = roomMatrix();
    EXPECT_FALSE(turned == before);
    // Leaving the window ends the drag and keeps the turn reached.
    mouse(QEvent::MouseMove, QPoint(-5, 170));
    EXPECT_FALSE(wnd_->trackball(0).dragging());
    EXPECT_EQ(wnd_->trackball(0).baseRotation(), wnd_->trackball(0).rotation());
    mouse(QEvent::MouseMove, QPoint(300, 250));
    EXPECT_EQ(roomMatrix(), turned);
}

TEST_F(WindowTest, WheelNeverReachesTheCentreNorPasses120000)
{
    irr::scene::ICameraSceneNode* camera = wnd_->orbitCamera(0);
    wheel(-120 * 20); // 10000 further out
    const float start = camera->getPosition().Y;
    wheel(120);
    EXPECT_NEAR(camera->getPosition().Y, start + 500, 1e-2);
    wheel(120 * 10000); // would go through the centre: ignored
    EXPECT_NEAR(camera->getPosition().Y, start + 500, 1e-2);
    wheel(-120 * 10000); // beyond 120000: ignored
    EXPECT_NEAR(camera->getPosition().Y, start + 500, 1e-2);
    for (int i = 0; i < 1000; ++i)
        wheel(120 * 7);
    EXPECT_LT(camera->getPosition().Y, 0);
    for (int i = 0; i < 1000; ++i)
        wheel(-120 * 7);
    EXPECT_GT(camera->getPosition().Y, -120000);
    EXPECT_LT(camera->getPosition().Y, -110000);
}

TEST_F(WindowTest, FirstPersonArrowsTurnAndWalkAtEyeHeightOtherKeysAskToLeave)
{
    wnd_->show();
    wnd_->SetModes(CSolidWnd::Viewing, CSolidWnd::FirstPerson, true);
    EXPECT_EQ(wnd_->activeCamera(), wnd_->firstPersonCamera());
    EXPECT_EQ(roomMatrix(), irr::core::matrix4()); // first person works in room coordinates
    const float height = wnd_->eye().position.Y;
    EXPECT_FLOAT_EQ(height, 13500); // 1.35 m
    key(Qt::Key_Right);
    EXPECT_DOUBLE_EQ(wnd_->eye().yaw, 3);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_DOUBLE_EQ(wnd_->eye().yaw, 357);
    const irr::core::vector3df before = wnd_->eye().position;
    key(Qt::Key_Up);
    EXPECT_FLOAT_EQ(wnd_->eye().position.Y, height);
    EXPECT_NEAR((wnd_->eye().position - before).getLength(), 600, 1e-2);
    EXPECT_EQ(wnd_->firstPersonCamera()->getPosition(), wnd_->eye().position);
    EXPECT_EQ(questions_, 0);

    answer_ = false;
    key(Qt::Key_Escape);
    EXPECT_EQ(questions_, 1);
    EXPECT_EQ(wnd_->workMode(), CSolidWnd::Viewing);
    int left = 0;
    QObject::connect(wnd_.get(), &CSolidWnd::leftViewing, [&] { ++left; });
    answer_ = true;
    key(Qt::Key_A);
    EXPECT_EQ(questions_, 2);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(wnd_->workMode(), CSolidWnd::Designing);
    EXPECT_EQ(wnd_->viewMode(), CSolidWnd::FirstPerson);
}

TEST_F(WindowTest, ResizeKeepsCameraTrackballModesAndPreferences)
{
    wheel(240);
    mouse(QEvent::MouseButtonPress, QPoint(200, 150));
    mouse(QEvent::MouseMove, QPoint(250, 120));
    mouse(QEvent::MouseButtonRelease, QPoint(250, 120));
    wnd_->SetModes(CSolidWnd::Designing, CSolidWnd::Globe, false, true);
    doc_->viewState->fov = 50;
    doc_->viewState->eyeAboveFloor = 1.6;
    wnd_->ApplyDisplayPreferences();
    const float cameraY = wnd_->orbitCamera(0)->getPosition().Y;
    const Quat4f rotation = wnd_->trackball(0).rotation();
    int rebuilt = 0;
    QObject::connect(wnd_.get(), &CSolidWnd::sceneRebuilt, [&] { ++rebuilt; });

    wnd_->show(); // a hidden widget gets its resize event only when shown
    wnd_->resize(500, 320);
    QApplication::processEvents();
    EXPECT_NE(wnd_->device(), nullptr);
    EXPECT_EQ(rebuilt, 1); // rebuilt once for the new size
    EXPECT_FLOAT_EQ(wnd_->orbitCamera(0)->getPosition().Y, cameraY);
    EXPECT_EQ(wnd_->trackball(0).rotation(), rotation);
    EXPECT_EQ(wnd_->workMode(), CSolidWnd::Designing);
    EXPECT_EQ(wnd_->viewMode(), CSolidWnd::Globe);
    EXPECT_FALSE(wnd_->displayFull());
    EXPECT_TRUE(wnd_->showLightPositions());
    EXPECT_NEAR(wnd_->firstPersonCamera()->getFOV(), 50 * 3.14159265 / 180, 1e-5);
    EXPECT_FLOAT_EQ(wnd_->eye().position.Y, 16000);
    EXPECT_EQ(doc_->viewState->pictureExtent, (IntSize{500, 320})); // saved at the rebuild
}

TEST_F(WindowTest, VividColoursRebuildTheSceneAndUnknownModesAreIgnored)
{
    int rebuilt = 0;
    QObject::connect(wnd_.get(), &CSolidWnd::sceneRebuilt, [&] { ++rebuilt; });
    wnd_->ApplyDisplayPreferences();
    EXPECT_EQ(rebuilt, 0); // nothing to remake
    doc_->viewState->gammaCorrection = true;
    wnd_->ApplyDisplayPreferences();
    EXPECT_EQ(rebuilt, 1);
    EXPECT_NE(doc_->roomNode, nullptr);

    wnd_->SetModes(17, -3, true);
    EXPECT_EQ(wnd_->workMode(), CSolidWnd::Viewing);
    EXPECT_EQ(wnd_->viewMode(), CSolidWnd::Globe);
    wnd_->DestroyEngine();
    EXPECT_EQ(doc_->roomNode, nullptr);
    wnd_->DrawScene(); // no device: nothing happens
    EXPECT_EQ(wnd_->HitCorner(0, 0), -1);
}

} // namespace

TEST_F(WindowTest, ChangeTopCornerDragMovesTheStoredCornerAndRewarpsThePicture)
{
    QImage photo(200, 100, QImage::Format_ARGB32);
    photo.fill(0xff808080u);
    doc_->samplePhoto = Picture(photo);
    doc_->staticSolidSampleId = 7;
    // A plan picture that shows where it is warped to.
    ASSERT_TRUE(doc_->ceiling && doc_->ceiling->root);
    doc_->ceiling->root->picture = QImage(64, 48, QImage::Format_RGB32);
    doc_->ceiling->root->picture.fill(0xff2050a0u);
    wnd_->RefreshStaticSample(); // as applying a sample to an open window does
    wnd_->SetModes(CSolidWnd::Viewing, CSolidWnd::ChangeTop, false);
    const vs::StaticSamplePictures& pictures = wnd_->samplePictures();
    ASSERT_TRUE(pictures.hasOverlays());
    const QImage before = pictures.picture(vs::SamplePicture::Perspective);
    ASSERT_FALSE(before.isNull());
    const QPoint corner = pictures.corners()[2];
    const std::vector<RPoint> storedBefore = doc_->staticSolidProjectedPoints;

    // Hovering a corner shows the module's corner cursor, centred on the corner.
    QMouseEvent hover(QEvent::MouseMove, QPointF(corner), QPointF(wnd_->mapToGlobal(corner)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(wnd_.get(), &hover);
    ASSERT_EQ(wnd_->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(wnd_->cursor().pixmap().size(), QSize(32, 32));
    EXPECT_EQ(wnd_->cursor().hotSpot(), QPoint(16, 16));

    const QPoint target = corner + QPoint(30, 20);
    mouse(QEvent::MouseButtonPress, corner);
    mouse(QEvent::MouseMove, target);
    mouse(QEvent::MouseButtonRelease, target);
    EXPECT_EQ(pictures.corners()[2], target);
    ASSERT_EQ(doc_->staticSolidProjectedPoints.size(), 4u);
    EXPECT_GT(doc_->staticSolidProjectedPoints[2].x, storedBefore[2].x);
    EXPECT_GT(doc_->staticSolidProjectedPoints[2].y, storedBefore[2].y);
    EXPECT_EQ(doc_->staticSolidProjectedPoints[0].x, storedBefore[0].x);
    EXPECT_NE(pictures.picture(vs::SamplePicture::Perspective), before);

    // The exported picture is the photo's rectangle (only drivers that draw give one).
    if (wnd_->driverKind() != CSolidWnd::DriverKind::Null) {
        const QString path =
            QDir::temp().filePath(QStringLiteral("vs-change-top-%1.jpg").arg(::getpid()));
        ASSERT_TRUE(wnd_->ExportPicture(path));
        const IRect& rect = pictures.pictureRect();
        EXPECT_EQ(QImage(path).size(), QSize(rect.right - rect.left, rect.bottom - rect.top));
        QFile::remove(path);
    }

    // A press away from every corner drags nothing.
    const QImage afterDrag = pictures.picture(vs::SamplePicture::Perspective);
    mouse(QEvent::MouseButtonPress, QPoint(5, 5));
    mouse(QEvent::MouseMove, QPoint(60, 60));
    mouse(QEvent::MouseButtonRelease, QPoint(60, 60));
    EXPECT_EQ(pictures.picture(vs::SamplePicture::Perspective), afterDrag);
}
