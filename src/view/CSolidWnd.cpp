#include "view/CSolidWnd.h"

#include "catalogue/ModuleCatalogues.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "edit/DesignModeController.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/ModuleResource.h"
#include "samples/StaticSampleHook.h"
#include "scene/CRoomSceneNode.h"
#include "scene/CeilingScene.h"
#include "scene/DisplayPreferences.h"
#include "scene/EngineTexture.h"
#include "scene/LightScene.h"
#include "scene/RoomScene.h"
#include "scene/SceneEngine.h"
#include "view/XErrorTrap.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QSocketNotifier>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

using namespace irr;

namespace {

constexpr double Pi = 3.14159265358979323846;
// Starting clipping planes; every frame fits them to the room (fitClipping).
constexpr float OrbitFarPlane = 300000.0f;
constexpr float FirstPersonFarPlane = 1000000.0f;
// The wheel's reach for rooms up to about 15 m; larger rooms get twice their fitted distance.
constexpr float MaxOrbitDistance = 120000.0f;
// Nearest clipping distance: 5 mm. Anything nearer is inside the eye; a nearer plane would only
// cost depth precision at the far end of a large hall.
constexpr float MinNearPlane = 50.0f;
constexpr char LeaveQuestion[] = "要退出查看模式并切换到设计模式吗？";
constexpr char MarkerName[] = "DragMarker.bmp";
/** The module cursor shown over a change-top corner. */
constexpr int kCornerCursor = 115;

struct OutlineBox
{
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool valid = false;
};

OutlineBox outlineBox(const CSolidDocument& doc)
{
    OutlineBox box;
    if (!doc.ceiling || !doc.ceiling->root)
        return box;
    const RRect& r = doc.ceiling->root->outlineBounds;
    if (!(r.right >= r.left) || !(r.bottom >= r.top) || !std::isfinite(r.right - r.left) ||
        !std::isfinite(r.bottom - r.top))
        return box;
    box = {r.left, r.top, r.right, r.bottom, true};
    return box;
}

bool usable(const core::vector3df& v)
{
    return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

core::vector3df toEngine(const Vec3f& v)
{
    return core::vector3df(v.x, v.y, v.z);
}

Vec3f fromEngine(const core::vector3df& v)
{
    return Vec3f{v.X, v.Y, v.Z};
}

bool isModifier(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

/** Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z. */
bool isUndoOrRedo(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods =
        event.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    return (event.key() == Qt::Key_Z &&
            (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))) ||
           (event.key() == Qt::Key_Y && mods == Qt::ControlModifier);
}

core::rect<s32> engineRect(const QRect& r)
{
    return core::rect<s32>(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

QRect qtRect(const IRect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

CSolidWnd::CSolidWnd(CSolidDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc)
{
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setWindowTitle(QStringLiteral("Irrlicht"));
    designInput_ = std::make_unique<DesignModeController>(*this);
}

CSolidWnd::~CSolidWnd()
{
    DestroyEngine();
    vs::clearStaticSampleView(&doc_);
    vs::closeXDisplay(xDisplay_);
}

void CSolidWnd::setEngineWindow(unsigned long xWindow, void* xDisplay)
{
    engineWindow_ = xWindow;
    engineDisplay_ = xDisplay;
}

bool CSolidWnd::vividColours() const
{
    return doc_.viewState && doc_.viewState->gammaCorrection;
}

// ---------------------------------------------------------------------------------------
// Engine life

void CSolidWnd::createCameras()
{
    const OutlineBox box = outlineBox(doc_);
    const float cx = box.valid ? float((box.minX + box.maxX) / 2) : 0.0f;
    const float cy = box.valid ? float((box.minY + box.maxY) / 2) : 0.0f;
    const float d = static_cast<float>(ComputeGlobeDistance());

    firstPersonCamera_ = smgr_->addCameraSceneNode(nullptr, core::vector3df(0, 0, 0),
                                                   core::vector3df(0, 0, 100), -1, true);
    firstPersonCamera_->setFarValue(FirstPersonFarPlane);
    eye_ = CFirstPersonEye{};
    eye_.position = core::vector3df(cx, 13500, cy);

    for (auto& camera : orbitCameras_) {
        camera = smgr_->addCameraSceneNode(smgr_->getRootSceneNode(), core::vector3df(0, -d, 0),
                                           core::vector3df(0, 0, 0), -1, true);
        camera->setUpVector(core::vector3df(0, 0, -1));
        camera->setFarValue(OrbitFarPlane);
    }
}

void CSolidWnd::CreateEngine()
{
    if (device_ != nullptr)
        return;
    if (!createDevice())
        return;
    driver_ = device_->getVideoDriver();
    smgr_ = device_->getSceneManager();
    engineSize_ = size();
    driver_->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, true);
    vs::setSceneEngine(device_);

    const bool savedState = doc_.viewState != nullptr;
    if (!savedState)
        doc_.viewState = std::make_unique<SolidViewState>();

    createCameras();
    vs::BuildRoomScene(smgr_->getRootSceneNode(), doc_);
    builtWithVividColours_ = vividColours();

    samples_.refresh(doc_, IntSize{width(), height()});
    syncCorners();
    uploadSampleTextures(true);
    ApplyDisplayPreferences();
    if (savedState)
        RestoreViewState(*doc_.viewState);
    if (doc_.viewState->invertTop && !doc_.inverted)
        vs::invertCeiling(doc_);

    QImage marker(9, 9, QImage::Format_ARGB32);
    marker.fill(QColor(0, 0, 0));
    for (int y = 2; y < 7; ++y)
        for (int x = 2; x < 7; ++x)
            marker.setPixelColor(x, y, QColor(255, 255, 255));
    markerTexture_ = vs::makeEngineTexture(driver_, marker, MarkerName);

    vs::setStaticSampleView(&doc_, [this] { RefreshStaticSample(); });
    CenterRoom(displayFull_);
    SetModes(workMode_, viewMode_, displayFull_, showLightPositions_);
    selection_.showCloaks(); // the rebuilt facilities start with hidden cloaks
    emit sceneRebuilt();
}

void CSolidWnd::undoInversion()
{
    if (doc_.inverted && doc_.roomNode != nullptr)
        vs::invertCeiling(doc_);
    doc_.inverted = false;
}

void CSolidWnd::DestroyEngine()
{
    if (device_ == nullptr)
        return;
    leaveMouseLook();
    SaveViewState();
    vs::clearStaticSampleView(&doc_);
    undoInversion();
    vs::ReleaseRoomScene(doc_);
    removeSampleTextures();
    if (markerTexture_ != nullptr)
        driver_->removeTexture(markerTexture_);
    if (frameTarget_ != nullptr)
        driver_->removeTexture(frameTarget_);
    markerTexture_ = frameTarget_ = nullptr;
    firstPersonCamera_ = nullptr;
    orbitCameras_ = {};
    ModuleCatalogues::instance().facilities.releaseEngineObjects();
    if (vs::sceneDevice() == device_)
        vs::setSceneEngine(nullptr);
    device_->drop();
    device_ = nullptr;
    driver_ = nullptr;
    smgr_ = nullptr;
    driverKind_ = DriverKind::None;
    destroyEngineWindow();
}

void CSolidWnd::RecreateEngine()
{
    if (device_ == nullptr)
        return;
    DestroyEngine(); // undoes the inversion before the scene goes
    CreateEngine();
}

void CSolidWnd::ApplyDisplayPreferences(bool redrawTwice)
{
    if (device_ == nullptr || !doc_.viewState)
        return;
    if (vividColours() != builtWithVividColours_) {
        // Every texture decodes its texels when it is made: make them all again.
        RecreateEngine();
        return;
    }
    const SolidViewState& prefs = *doc_.viewState;
    const bool markers = showLightPositions_;
    vs::showLightMarkers(false, doc_);
    if (firstPersonCamera_ != nullptr && std::isfinite(prefs.fov) && prefs.fov > 0 &&
        prefs.fov < 180)
        firstPersonCamera_->setFOV(static_cast<float>(prefs.fov * Pi / 180.0));
    if (std::isfinite(prefs.eyeAboveFloor))
        eye_.position.Y = static_cast<float>(prefs.eyeAboveFloor * 10000.0);
    UpdateFirstPersonCamera();
    vs::applyDisplayPreferences(doc_, smgr_);
    vs::showLightMarkers(markers, doc_);
    DrawScene();
    if (redrawTwice)
        DrawScene();
}

double CSolidWnd::ComputeGlobeDistance() const
{
    const OutlineBox box = outlineBox(doc_);
    const double w = std::max(1, width());
    const double h = std::max(1, height());
    const double ex = box.valid ? box.maxX - box.minX : 0;
    const double ey = box.valid ? box.maxY - box.minY : 0;
    const double e = ey * w < ex * h ? ex * h / w : ey;
    return (e + 600) * 0.5 * std::tan(0.3 * Pi);
}

float CSolidWnd::maxOrbitDistance() const
{
    return std::max(MaxOrbitDistance, static_cast<float>(2 * ComputeGlobeDistance()));
}

core::aabbox3df CSolidWnd::roomBox() const
{
    const OutlineBox box = outlineBox(doc_);
    if (!box.valid)
        return core::aabbox3df(-10000, -10000, -10000, 10000, 34000, 10000);
    double top = doc_.viewState ? doc_.viewState->lowestLayerHeight : 24000.0;
    top = std::isfinite(top) ? std::max(top, 24000.0) : 24000.0;
    // Room for raised ceiling levels, towers, lamps and furniture standing out a little.
    const double pad = 0.1 * std::max(box.maxX - box.minX, box.maxY - box.minY) + 10000;
    return core::aabbox3df(float(box.minX - pad), float(-pad), float(box.minY - pad),
                           float(box.maxX + pad), float(top + pad), float(box.maxY + pad));
}

void CSolidWnd::fitClipping(scene::ICameraSceneNode* camera)
{
    if (camera == nullptr || doc_.roomNode == nullptr)
        return;
    camera->updateAbsolutePosition();
    const core::vector3df eye = camera->getAbsolutePosition();
    core::vector3df look = camera->getTarget() - eye;
    if (look.getLengthSQ() <= 0)
        return;
    look.normalize();
    core::vector3df corners[8];
    roomBox().getEdges(corners);
    const core::matrix4& toWorld = doc_.roomNode->getAbsoluteTransformation();
    float nearest = std::numeric_limits<float>::max();
    float farthest = 0;
    for (core::vector3df& corner : corners) {
        toWorld.transformVect(corner);
        const float depth = (corner - eye).dotProduct(look);
        nearest = std::min(nearest, depth);
        farthest = std::max(farthest, depth);
    }
    if (!std::isfinite(nearest) || !std::isfinite(farthest))
        return;
    // Depth along the view is least at a corner of the box, so nothing of the room lies nearer
    // than its nearest corner; half of that keeps a margin.
    const float nearValue = std::max(MinNearPlane, nearest * 0.5f);
    camera->setNearValue(nearValue);
    camera->setFarValue(std::max(farthest * 1.05f + 1000.0f, nearValue * 2));
}

void CSolidWnd::CenterRoom(bool full)
{
    const OutlineBox box = outlineBox(doc_);
    const float cx = box.valid ? float((box.minX + box.maxX) / 2) : 0.0f;
    const float cy = box.valid ? float((box.minY + box.maxY) / 2) : 0.0f;
    double h = doc_.viewState ? doc_.viewState->lowestLayerHeight : 24000.0;
    if (!std::isfinite(h))
        h = 24000.0;
    if (full)
        h /= 2;
    centring_ = core::vector3df(-cx, static_cast<float>(-h), -cy);
    trackballs_[0].setCentring(centring_);
    if (viewMode_ == Globe)
        updateRoomMatrix();
}

void CSolidWnd::updateRoomMatrix()
{
    if (doc_.roomNode == nullptr)
        return;
    const core::matrix4 m = viewMode_ == FirstPerson
                                ? core::matrix4()
                                : trackballs_[static_cast<size_t>(orbitIndex())].matrix();
    doc_.roomNode->setRelativeTransformationMatrix(m);
    doc_.roomNode->updateAbsolutePosition();
}

// ---------------------------------------------------------------------------------------
// View state

void CSolidWnd::SaveViewState()
{
    if (!doc_.viewState)
        doc_.viewState = std::make_unique<SolidViewState>();
    SolidViewState& s = *doc_.viewState;
    s.workMode = workMode_;
    s.viewMode = viewMode_;
    s.displayFull = displayFull_;
    s.trackballQuaternion = trackballs_[0].rotation();
    s.staticSolidQuaternion = trackballs_[1].rotation();
    if (orbitCameras_[0] != nullptr)
        s.trackballPosition = fromEngine(orbitCameras_[0]->getPosition());
    if (orbitCameras_[1] != nullptr)
        s.staticSolidPosition = fromEngine(orbitCameras_[1]->getPosition());
    s.ballTranslation = fromEngine(trackballs_[1].ballTranslation());
    s.cameraYaw = eye_.yaw;
    s.cameraPitch = eye_.pitch;
    s.firstPersonPosition = fromEngine(eye_.position);
    s.pictureExtent = IntSize{width(), height()};
}

void CSolidWnd::RestoreViewState(const SolidViewState& state)
{
    trackballs_[0].setRotation(state.trackballQuaternion);
    trackballs_[1].setRotation(state.staticSolidQuaternion);
    // Each orbit camera goes back where the user left it, wherever that is; only a position
    // that cannot be a camera (not finite, or at the orbit's centre, as in a design that never
    // stored one) keeps the fitted view.
    const core::vector3df positions[2] = {toEngine(state.trackballPosition),
                                          toEngine(state.staticSolidPosition)};
    for (size_t c = 0; c < 2; ++c) {
        const core::vector3df& p = positions[c];
        if (orbitCameras_[c] != nullptr && usable(p) && p.getLengthSQ() > 0) {
            orbitCameras_[c]->setPosition(p);
            orbitCameras_[c]->updateAbsolutePosition();
        }
    }
    const core::vector3df ball = toEngine(state.ballTranslation);
    trackballs_[1].setBallTranslation(usable(ball) ? ball : core::vector3df());
    displayFull_ = state.displayFull;
    eye_.setAngles(state.cameraYaw, state.cameraPitch);
    const core::vector3df eye = toEngine(state.firstPersonPosition);
    if (usable(eye) && !(eye == core::vector3df(0, 0, 0)))
        eye_.position = eye;
    UpdateFirstPersonCamera();
}

// ---------------------------------------------------------------------------------------
// Modes and cameras

void CSolidWnd::SetModes(int workMode, int viewMode, bool displayFull)
{
    SetModes(workMode, viewMode, displayFull, showLightPositions_);
}

void CSolidWnd::SetModes(int workMode, int viewMode, bool displayFull, bool showLightPositions)
{
    if (workMode == Viewing || workMode == Designing)
        workMode_ = workMode;
    if (viewMode == Globe || viewMode == FirstPerson || viewMode == ChangeTop)
        viewMode_ = viewMode;
    displayFull_ = displayFull;
    showLightPositions_ = showLightPositions;
    CenterRoom(displayFull_);

    if (viewMode_ == FirstPerson) {
        if (workMode_ == Viewing)
            EnterMouseLook();
        else
            leaveMouseLook();
        UpdateFirstPersonCamera();
    } else {
        leaveMouseLook();
        if (viewMode_ == ChangeTop)
            setFocus();
    }
    updateRoomMatrix();
    if (smgr_ != nullptr) {
        scene::ICameraSceneNode* camera = activeCamera();
        if (camera != nullptr)
            smgr_->setActiveCamera(camera);
    }
    if (viewMode_ == ChangeTop && device_ != nullptr)
        uploadSampleTextures(false);
    showPartsForModes();
    DrawScene();
}

void CSolidWnd::showPartsForModes()
{
    if (doc_.roomNode == nullptr)
        return;
    const bool full = viewMode_ == FirstPerson || (viewMode_ == Globe && displayFull_);
    vs::ShowRoomParts(showLightPositions_, doc_, full);
}

scene::ICameraSceneNode* CSolidWnd::activeCamera() const
{
    return viewMode_ == FirstPerson ? firstPersonCamera_ : orbitCamera(orbitIndex());
}

scene::ICameraSceneNode* CSolidWnd::orbitCamera(int index) const
{
    return index == 0 || index == 1 ? orbitCameras_[static_cast<size_t>(index)] : nullptr;
}

core::vector3df CSolidWnd::MapToSphere(int x, int y) const
{
    return CTrackball::mapToSphere(x, y, width(), height());
}

void CSolidWnd::UpdateFirstPersonCamera()
{
    if (firstPersonCamera_ == nullptr)
        return;
    firstPersonCamera_->setPosition(eye_.position);
    firstPersonCamera_->setTarget(eye_.position + eye_.look());
    firstPersonCamera_->updateAbsolutePosition();
}

void CSolidWnd::setClip(bool clip)
{
    clip_ = clip;
    DrawScene();
}

void CSolidWnd::setPlainPhoto(bool plainPhoto)
{
    plainPhoto_ = plainPhoto;
    DrawScene();
}

int CSolidWnd::HitCorner(int x, int y) const
{
    // Without a sample photo there are no corners to drag.
    return samples_.hasOverlays() ? changeTop_.hitCorner(x, y) : -1;
}

// ---------------------------------------------------------------------------------------
// Mouse look

void CSolidWnd::centreCursor()
{
    QCursor::setPos(mapToGlobal(rect().center()));
}

void CSolidWnd::EnterMouseLook()
{
    if (!isVisible())
        return; // a hidden window (picture export) has no mouse to take
    mouseLook_ = true;
    setFocus();
    grabMouse();
    centreCursor();
    setCursor(Qt::BlankCursor);
}

void CSolidWnd::leaveMouseLook()
{
    if (!mouseLook_)
        return;
    mouseLook_ = false;
    unsetCursor();
    releaseMouse();
}

void CSolidWnd::AskLeaveViewing()
{
    if (askingToLeave_)
        return;
    leaveMouseLook();
    askingToLeave_ = true;
    const bool yes =
        leaveQuestion_
            ? leaveQuestion_()
            : QMessageBox::question(this, QString(), QString::fromUtf8(LeaveQuestion),
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    askingToLeave_ = false;
    if (yes) {
        SetModes(Designing, viewMode_, displayFull_, showLightPositions_);
        emit leftViewing();
    } else if (workMode_ == Viewing && viewMode_ == FirstPerson) {
        EnterMouseLook();
    }
}

// ---------------------------------------------------------------------------------------
// Change top

void CSolidWnd::syncCorners()
{
    changeTop_.setCorners(samples_.corners());
}

void CSolidWnd::uploadSampleTextures(bool all)
{
    const unsigned changed = samples_.takeChangedPictures();
    if (driver_ == nullptr)
        return;
    for (int i = 0; i < vs::kSamplePictureCount; ++i) {
        const auto which = static_cast<vs::SamplePicture>(i);
        if (!all && (changed & vs::samplePictureBit(which)) == 0)
            continue;
        const char* name = vs::samplePictureName(which);
        if (video::ITexture* old = driver_->findTexture(name))
            driver_->removeTexture(old);
        const QImage& image = samples_.picture(which);
        if (!image.isNull())
            vs::makeEngineTexture(driver_, image, name, vividColours());
    }
}

void CSolidWnd::removeSampleTextures()
{
    if (driver_ == nullptr)
        return;
    for (int i = 0; i < vs::kSamplePictureCount; ++i) {
        if (video::ITexture* t =
                driver_->findTexture(vs::samplePictureName(static_cast<vs::SamplePicture>(i))))
            driver_->removeTexture(t);
    }
}

void CSolidWnd::RebuildStaticSample()
{
    samples_.rebuild(doc_, IntSize{width(), height()}, false);
    syncCorners();
    uploadSampleTextures(false);
    showPartsForModes();
    DrawScene();
}

void CSolidWnd::RefreshStaticSample()
{
    samples_.refresh(doc_, IntSize{width(), height()});
    syncCorners();
    uploadSampleTextures(false);
    showPartsForModes();
    DrawScene();
}

void CSolidWnd::drawTexture(const char* name, const QRect& dest, const QRect& source)
{
    video::ITexture* t = driver_->findTexture(name);
    if (t == nullptr || dest.isEmpty() || source.isEmpty())
        return;
    driver_->draw2DImage(t, engineRect(dest), engineRect(source), nullptr, nullptr, true);
}

void CSolidWnd::drawChangeTop()
{
    using vs::SamplePicture;
    const QRect client = rect();
    const QRect picture = qtRect(samples_.pictureRect());
    const QImage& photo = samples_.picture(SamplePicture::Photo);
    const QRect photoRect(QPoint(0, 0), photo.size());
    const char* perspective = vs::samplePictureName(SamplePicture::Perspective);
    if (clip_)
        drawTexture(perspective, picture, picture);
    else
        drawTexture(perspective, client, client);
    if (plainPhoto_) {
        drawTexture(vs::samplePictureName(SamplePicture::Photo), picture, photoRect);
    } else if (clip_) {
        drawTexture(vs::samplePictureName(SamplePicture::Overlay), picture, photoRect);
        drawTexture(vs::samplePictureName(SamplePicture::ClipMask), client, client);
    } else {
        drawTexture(vs::samplePictureName(SamplePicture::TransparentOverlay), picture, photoRect);
    }
    if (clip_ || plainPhoto_ || photo.isNull() || exportingFrame_)
        return;
    const video::SColor green(0xFF00FF00);
    for (int i = 0; i < 4; ++i) {
        const QPoint a = changeTop_.corner(i);
        const QPoint b = changeTop_.corner((i + 1) % 4);
        driver_->draw2DLine(core::position2di(a.x(), a.y()), core::position2di(b.x(), b.y()),
                            green);
    }
    if (markerTexture_ != nullptr)
        for (int i = 0; i < 4; ++i) {
            const QPoint c = changeTop_.corner(i) - QPoint(3, 3);
            driver_->draw2DImage(markerTexture_, core::position2di(c.x(), c.y()));
        }
}

// ---------------------------------------------------------------------------------------
// Drawing and pictures

void CSolidWnd::drawContent()
{
    driver_->setMaterial(video::SMaterial());
    if (viewMode_ == ChangeTop)
        drawChangeTop();
    else
        smgr_->drawAll();
}

void CSolidWnd::DrawScene()
{
    if (device_ == nullptr)
        return;
    const video::SColor clear(viewMode_ == ChangeTop ? 0xFFFFFFFF : 0xFF000000);
    const core::dimension2du size(static_cast<u32>(std::max(1, width())),
                                  static_cast<u32>(std::max(1, height())));
    if (driverKind_ != DriverKind::Null && frameTarget_ == nullptr &&
        driver_->queryFeature(video::EVDF_RENDER_TO_TARGET))
        frameTarget_ = driver_->addRenderTargetTexture(size, "solidWndFrame", video::ECF_A8R8G8B8);

    if (viewMode_ != ChangeTop && smgr_ != nullptr)
        fitClipping(smgr_->getActiveCamera());
    driver_->beginScene(true, true, clear);
    if (frameTarget_ != nullptr) {
        // The frame is drawn into a target that is then shown: what was shown stays readable
        // for the picture export, whatever the window system did with the window's pixels.
        driver_->setRenderTarget(frameTarget_, true, true, clear);
        drawContent();
        driver_->setRenderTarget(nullptr, true, true, clear);
        driver_->setMaterial(video::SMaterial());
        driver_->draw2DImage(frameTarget_, core::position2di(0, 0));
    } else {
        drawContent();
    }
    driver_->endScene();
}

QImage CSolidWnd::frameImage() const
{
    if (frameTarget_ == nullptr || driver_ == nullptr)
        return QImage();
    const core::dimension2du size = frameTarget_->getSize();
    void* data = frameTarget_->lock(video::ETLM_READ_ONLY);
    if (data == nullptr)
        return QImage();
    QImage result(static_cast<int>(size.Width), static_cast<int>(size.Height),
                  QImage::Format_RGB32);
    video::IImage* image =
        driver_->createImageFromData(frameTarget_->getColorFormat(), size, data, true, false);
    if (image != nullptr) {
        image->copyToScaling(result.bits(), size.Width, size.Height, video::ECF_A8R8G8B8,
                             static_cast<u32>(result.bytesPerLine()));
        image->drop();
    }
    frameTarget_->unlock();
    if (image == nullptr)
        return QImage();
    const QRect client(0, 0, std::max(1, width()), std::max(1, height()));
    return result.copy(client.intersected(result.rect()));
}

QImage CSolidWnd::RenderToImage()
{
    DrawScene();
    return frameImage();
}

bool CSolidWnd::ExportPicture(const QString& jpegPath, std::string* why)
{
    QImage frame;
    if (viewMode_ == ChangeTop && device_ != nullptr) {
        // The outline and the corner squares are handles for the user, not part of the picture:
        // draw a frame without them, keep it, and show the handles again.
        exportingFrame_ = true;
        DrawScene();
        frame = frameImage();
        exportingFrame_ = false;
        DrawScene();
    } else {
        frame = frameImage();
    }
    if (frame.isNull() || jpegPath.isEmpty()) {
        if (why != nullptr)
            *why = frame.isNull() ? "no frame has been drawn" : "no picture file named";
        return false;
    }
    if (viewMode_ == ChangeTop) {
        const QRect picture = qtRect(samples_.pictureRect()).intersected(frame.rect());
        if (picture.isEmpty()) {
            if (why != nullptr)
                *why = "the change-top picture lies outside the window";
            return false;
        }
        frame = frame.copy(picture);
    }
    try {
        vs::savePictureAtomically(frame, QFile::encodeName(jpegPath).toStdString(), "JPG", 90);
    } catch (const vs::FileError& error) {
        if (why != nullptr)
            *why = error.what();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Events

void CSolidWnd::paintEvent(QPaintEvent*)
{
    DrawScene();
}

void CSolidWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (device_ != nullptr && size() != engineSize_)
        RecreateEngine();
}

void CSolidWnd::commitTrackball()
{
    CTrackball& ball = trackballs_[static_cast<size_t>(orbitIndex())];
    if (!ball.dragging())
        return;
    ball.commit();
    releaseMouse();
}

void CSolidWnd::globeMouseMove(const QPoint& p)
{
    CTrackball& ball = trackballs_[static_cast<size_t>(orbitIndex())];
    if (!ball.dragging())
        return;
    if (!rect().contains(p)) {
        commitTrackball();
        return;
    }
    if (ball.dragTo(MapToSphere(p.x(), p.y()))) {
        updateRoomMatrix();
        DrawScene();
    }
}

QCursor CSolidWnd::cornerCursor()
{
    static const QCursor cursor = [] {
        QPixmap picture;
        if (!picture.loadFromData(vs::moduleResource("CURSORS", kCornerCursor)))
            return QCursor(Qt::SizeAllCursor);
        return QCursor(picture, picture.width() / 2, picture.height() / 2);
    }();
    return cursor;
}

void CSolidWnd::changeTopMouseMove(const QPoint& p)
{
    const int index = changeTop_.dragIndex();
    if (index < 0) {
        if (HitCorner(p.x(), p.y()) >= 0)
            setCursor(cornerCursor());
        else
            unsetCursor();
        return;
    }
    samples_.moveCorner(doc_, index, changeTop_.dragTarget(p));
    syncCorners();
    if (doc_.roomNode != nullptr)
        doc_.roomNode->setRelativeTransformationMatrix(core::matrix4());
    uploadSampleTextures(false);
    setCursor(Qt::SizeAllCursor);
    DrawScene();
}

void CSolidWnd::mousePressEvent(QMouseEvent* event)
{
    if (workMode_ == Designing) {
        designInput_->press(*event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    if (viewMode_ == FirstPerson) {
        AskLeaveViewing();
    } else if (viewMode_ == ChangeTop) {
        if (HitCorner(p.x(), p.y()) >= 0 && changeTop_.beginDrag(p))
            grabMouse();
    } else {
        trackballs_[0].beginDrag(MapToSphere(p.x(), p.y()));
        grabMouse();
    }
}

void CSolidWnd::mouseMoveEvent(QMouseEvent* event)
{
    if (workMode_ == Designing) {
        designInput_->move(*event);
        return;
    }
    const QPoint p = event->position().toPoint();
    if (viewMode_ == FirstPerson) {
        if (!mouseLook_)
            return;
        const QPoint centre = rect().center();
        const int dx = p.x() - centre.x();
        const int dy = p.y() - centre.y();
        if (dx == 0 && dy == 0)
            return; // the move our own re-centring made
        eye_.turnByMouse(dx, dy);
        UpdateFirstPersonCamera();
        centreCursor();
        DrawScene();
    } else if (viewMode_ == ChangeTop) {
        changeTopMouseMove(p);
    } else {
        globeMouseMove(p);
    }
}

void CSolidWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (workMode_ == Designing) {
        designInput_->release(*event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (viewMode_ == ChangeTop) {
        if (changeTop_.dragIndex() >= 0) {
            changeTop_.endDrag();
            releaseMouse();
        }
    } else if (viewMode_ == Globe) {
        commitTrackball();
    }
}

void CSolidWnd::leaveEvent(QEvent* event)
{
    if (viewMode_ == Globe)
        commitTrackball();
    QWidget::leaveEvent(event);
}

void CSolidWnd::contextMenuEvent(QContextMenuEvent* event)
{
    if (workMode_ != Designing) {
        event->ignore();
        return;
    }
    designInput_->contextMenu(event->pos());
    event->accept();
}

void CSolidWnd::setDesignInput(std::unique_ptr<DesignInput> input)
{
    designInput_ = input ? std::move(input) : std::make_unique<DesignModeController>(*this);
}

void CSolidWnd::setMouseCapture(bool captured)
{
    if (captured == mouseCaptured_)
        return;
    mouseCaptured_ = captured;
    if (captured)
        grabMouse();
    else
        releaseMouse();
}

const HostCallbacks& CSolidWnd::hostCallbacks() const
{
    return ModuleCatalogues::instance().callbacks;
}

void CSolidWnd::showInformation(const QString& text)
{
    if (informationSink_) {
        informationSink_(text);
        return;
    }
    QMessageBox::information(this, QString(), text);
}

void CSolidWnd::wheelOrbit(int delta)
{
    scene::ICameraSceneNode* camera = orbitCamera(0);
    if (camera == nullptr)
        return;
    core::vector3df position = camera->getPosition();
    const float distance = -position.Y - static_cast<float>(delta) * 500.0f / 120.0f;
    if (!(distance > 0 && distance < maxOrbitDistance()))
        return;
    position.Y = -distance;
    camera->setPosition(position);
    camera->updateAbsolutePosition();
    DrawScene();
}

void CSolidWnd::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (viewMode_ == Globe) {
        wheelOrbit(delta);
    } else if (viewMode_ == ChangeTop && workMode_ == Viewing) {
        samples_.setZoom(doc_, CChangeTopView::wheelZoom(samples_.zoom(), delta));
        syncCorners();
        uploadSampleTextures(false);
        DrawScene();
    } else if (workMode_ == Designing) {
        designInput_->wheel(*event);
    }
    event->accept();
}

void CSolidWnd::firstPersonKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        eye_.turn(-3);
        break;
    case Qt::Key_Right:
        eye_.turn(3);
        break;
    case Qt::Key_Up:
        eye_.walk(600);
        break;
    case Qt::Key_Down:
        eye_.walk(-600);
        break;
    default:
        if (!isModifier(event->key()))
            AskLeaveViewing();
        return;
    }
    UpdateFirstPersonCamera();
    DrawScene();
}

void CSolidWnd::changeTopKey(QKeyEvent* event)
{
    CTrackball& ball = trackballs_[1];
    core::vector3df t = ball.ballTranslation();
    switch (event->key()) {
    case Qt::Key_Home:
        t = core::vector3df(0, 0, 0);
        break;
    case Qt::Key_Left:
        t.X -= 200;
        break;
    case Qt::Key_Right:
        t.X += 200;
        break;
    case Qt::Key_Up:
        t.Z -= 200;
        break;
    case Qt::Key_Down:
        t.Z += 200;
        break;
    default:
        return;
    }
    ball.setBallTranslation(t);
    updateRoomMatrix();
    DrawScene();
}

void CSolidWnd::keyPressEvent(QKeyEvent* event)
{
    // Every key stays here: Escape must never reach the dialog and close it.
    event->accept();
    if (workMode_ == Designing) {
        designInput_->key(*event);
        return;
    }
    if (viewMode_ == FirstPerson)
        firstPersonKey(event);
    else if (viewMode_ == ChangeTop)
        changeTopKey(event);
}

void CSolidWnd::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (mouseLook_ && !askingToLeave_)
        AskLeaveViewing();
}

bool CSolidWnd::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Arrows and Escape are the view's keys, not the dialog's shortcuts; undo and redo stay
        // the dialog's (without a dialog the design-mode controller takes them as keys).
        if (isUndoOrRedo(*static_cast<QKeyEvent*>(event)))
            return QWidget::event(event);
        event->accept();
        return true;
    }
    return QWidget::event(event);
}
