#include "EditFixture.h"

#include "catalogue/ModuleCatalogues.h"
#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"
#include "edit/Picker.h"
#include "scene/CRoomSceneNode.h"
#include "scene/WallScene.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace edittest {
namespace {

TestHost* runningHost = nullptr;

const vhost::CataloguePack& bundledPack()
{
    static const vhost::CataloguePack pack =
        vhost::CataloguePack::load(testsupport::bundledPackIndex());
    return pack;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string number(double v)
{
    std::ostringstream s;
    s << v;
    return s.str();
}

bool panelSize(int32_t id, int32_t& w, int32_t& h, int32_t& tower)
{
    const vhost::PackCandyType* t = bundledPack().candyType(id);
    if (t == nullptr)
        return false;
    w = t->width > 0 ? t->width : t->nominalWidth;
    h = t->height > 0 ? t->height : t->nominalHeight;
    tower = t->tower;
    return true;
}

// The ceiling callbacks: record, then mirror into the host's design.

int32 addHost(int32 planeId, int32 typeId, double x, double y, int32 rotateDegree, int32 isFree)
{
    TestHost& h = testHost();
    const int32_t id = h.design->addHost(planeId, typeId, x, y, rotateDegree, isFree != 0);
    h.calls.push_back("AddCeilingHost " + std::to_string(planeId) + " " + std::to_string(typeId) +
                      " " + number(x) + " " + number(y) + " " + std::to_string(rotateDegree) + " " +
                      std::to_string(isFree) + " -> " + std::to_string(id));
    return id;
}

int32 moveHost(int32 planeId, int32 hostId, double dx, double dy)
{
    TestHost& h = testHost();
    h.calls.push_back("MoveCeilingHost " + std::to_string(planeId) + " " + std::to_string(hostId) +
                      " " + number(dx) + " " + number(dy));
    if (h.acceptMoves == 0)
        return 0;
    h.design->moveHost(planeId, hostId, dx, dy);
    return h.acceptMoves;
}

void deleteHost(int32 planeId, int32 hostId)
{
    TestHost& h = testHost();
    h.calls.push_back("DeleteCeilingHost " + std::to_string(planeId) + " " +
                      std::to_string(hostId));
    h.design->deleteHost(planeId, hostId);
}

void rotateHost(int32 planeId, int32 hostId, int32 degrees)
{
    TestHost& h = testHost();
    h.calls.push_back("RotateCeilingHost " + std::to_string(planeId) + " " +
                      std::to_string(hostId) + " " + std::to_string(degrees));
    h.design->rotateHost(planeId, hostId, degrees);
}

void layTiles(int32 planeId, int32 typeId, int32 rotateDegree, const char* cols, const char* rows)
{
    TestHost& h = testHost();
    h.calls.push_back("LayTiles " + std::to_string(planeId) + " " + std::to_string(typeId) + " " +
                      std::to_string(rotateDegree) + " " + cols + " " + rows);
    h.design->layTiles(planeId, typeId, rotateDegree, vhost::TileRange::parse(cols),
                       vhost::TileRange::parse(rows), panelSize);
}

QMouseEvent mouseEvent(QWidget& w, QEvent::Type type, QPoint p, Qt::MouseButton button,
                       Qt::MouseButtons held, Qt::KeyboardModifiers modifiers)
{
    return QMouseEvent(type, QPointF(p), QPointF(w.mapToGlobal(p)), button, held, modifiers);
}

} // namespace

TestHost& testHost()
{
    static TestHost none;
    return runningHost != nullptr ? *runningHost : none;
}

void EditFixture::SetUp()
{
    static TestHost host;
    host = TestHost();
    runningHost = &host;
    HostCallbacks& callbacks = ModuleCatalogues::instance().callbacks;
    savedCallbacks_ = callbacks;
    callbacks.addCeilingHost = addHost;
    callbacks.moveCeilingHost = moveHost;
    callbacks.deleteCeilingHost = deleteHost;
    callbacks.rotateCeilingHost = rotateHost;
    callbacks.layTiles = layTiles;
    catalogue_ = std::make_unique<testsupport::PackCatalogue>(bundledPack());
}

void EditFixture::TearDown()
{
    if (!catalogue_)
        return; // a test skipped before the set-up ran
    if (wnd_) {
        // The pack's models hold engine objects of this device: release them before it goes.
        wnd_->selection().clear();
        stack_->clear();
        wnd_->DestroyEngine();
        wnd_.reset();
    }
    catalogue_->facilities.releaseEngineObjects();
    stack_.reset();
    doc_.reset();
    catalogue_.reset();
    ModuleCatalogues::instance().callbacks = savedCallbacks_;
    runningHost = nullptr;
}

void EditFixture::open(const std::string& name, QSize size)
{
    const std::string text =
        readText(std::string(VS_TEST_SOURCE_DIR) + "/data/designs/" + name + ".xml");
    testHost().design = std::make_unique<vhost::HostDesign>(vhost::HostDesign::fromText(text));
    doc_ = std::make_unique<CSolidDocument>();
    vs::readDesign(text, *doc_, 1, *catalogue_);
    stack_ = std::make_unique<QUndoStack>();
    wnd_ = std::make_unique<CSolidWnd>(*doc_);
    wnd_->setLeaveQuestion([] { return false; });
    wnd_->setInformationSink(
        [](const QString& text) { testHost().information.push_back(text.toStdString()); });
    wnd_->setUndoStack(stack_.get());
    wnd_->setCurrentPanelType([this]() -> CCandyType* {
        return currentPanelType_ != 0 ? catalogue_->candies.findType(currentPanelType_) : nullptr;
    });
    wnd_->resize(size);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        // Under X the engine draws with OpenGL into the shown window.
        wnd_->show();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000 &&
               !(wnd_->windowHandle() != nullptr && wnd_->windowHandle()->isExposed()))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    wnd_->CreateEngine();
    ASSERT_NE(wnd_->device(), nullptr);
    wnd_->SetModes(CSolidWnd::Designing, CSolidWnd::Globe, true);
}

void EditFixture::setCurrentPanelType(int typeId)
{
    currentPanelType_ = typeId;
}

void EditFixture::press(QPoint p, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent e =
        mouseEvent(*wnd_, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(wnd_.get(), &e);
}

void EditFixture::moveTo(QPoint p, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent e =
        mouseEvent(*wnd_, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(wnd_.get(), &e);
}

void EditFixture::release(QPoint p, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent e =
        mouseEvent(*wnd_, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(wnd_.get(), &e);
}

void EditFixture::click(QPoint p, Qt::KeyboardModifiers modifiers)
{
    press(p, modifiers);
    release(p, modifiers);
}

void EditFixture::drag(QPoint from, QPoint to, int steps)
{
    press(from);
    for (int i = 1; i <= steps; ++i)
        moveTo(from + (to - from) * i / steps);
    release(to);
}

void EditFixture::key(Qt::Key k, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent down(QEvent::KeyPress, k, modifiers);
    QApplication::sendEvent(wnd_.get(), &down);
    QKeyEvent up(QEvent::KeyRelease, k, modifiers);
    QApplication::sendEvent(wnd_.get(), &up);
}

QPoint EditFixture::clientOf(const irr::core::vector3df& room) const
{
    vs::updateSceneTransformations(*wnd_);
    irr::core::vector3df world = room;
    if (doc_->roomNode != nullptr)
        doc_->roomNode->getAbsoluteTransformation().transformVect(world);
    const irr::core::position2di p =
        wnd_->sceneManager()->getSceneCollisionManager()->getScreenCoordinatesFrom3DPosition(
            world, wnd_->activeCamera());
    return {p.X, p.Y};
}

irr::core::vector3df EditFixture::roomOfPlan(double x, double y, double height) const
{
    const RPoint origin = vs::roomPlanOrigin(*doc_);
    return {float(x - origin.x), float(height), float(y - origin.y)};
}

void EditFixture::lookFrom(const irr::core::vector3df& eye, const irr::core::vector3df& at)
{
    wnd_->SetModes(CSolidWnd::Designing, CSolidWnd::FirstPerson, true);
    irr::scene::ICameraSceneNode* camera = wnd_->activeCamera();
    camera->setPosition(eye);
    camera->setTarget(at);
    camera->updateAbsolutePosition();
    wnd_->fitClipping(camera);
}

void EditFixture::aimCamera(const irr::core::vector3df& eye, const irr::core::vector3df& at)
{
    vs::updateSceneTransformations(*wnd_);
    irr::core::vector3df e = eye, a = at;
    if (doc_->roomNode != nullptr) {
        doc_->roomNode->getAbsoluteTransformation().transformVect(e);
        doc_->roomNode->getAbsoluteTransformation().transformVect(a);
    }
    irr::scene::ICameraSceneNode* camera = wnd_->activeCamera();
    camera->setPosition(e);
    camera->setTarget(a);
    camera->updateAbsolutePosition();
    wnd_->fitClipping(camera);
}

std::string EditFixture::solidText() const
{
    return vs::writeSolid(*doc_);
}

std::string EditFixture::hostText() const
{
    return testHost().design->text();
}

std::string EditFixture::ceilingItems() const
{
    std::vector<std::string> items;
    const CGridMapping& root = *doc_->ceiling->root;
    for (const auto& t : root.tiles)
        items.push_back("t " + std::to_string(t->candyType ? t->candyType->id : 0) + " " +
                        std::to_string(t->rotateDegree) + " " + std::to_string(t->gx) + " " +
                        std::to_string(t->gy) + " " + std::to_string(t->lastCol) + " " +
                        std::to_string(t->lastRow));
    for (const auto& h : root.hosts)
        items.push_back("h " + std::to_string(h->candyType ? h->candyType->id : 0) + " " +
                        std::to_string(h->rotateDegree) + " " + number(h->rect.left) + " " +
                        number(h->rect.top) + " " + number(h->rect.right) + " " +
                        number(h->rect.bottom));
    std::sort(items.begin(), items.end());
    std::string text;
    for (const std::string& item : items)
        text += item + "\n";
    return text;
}

std::string EditFixture::hostItems() const
{
    std::vector<std::string> items;
    const int32_t rootId = doc_->ceiling->root->id;
    for (const vhost::DesignItem& t : testHost().design->tiles(rootId))
        items.push_back("t " + std::to_string(t.typeId) + " " + std::to_string(t.rotateDegree) +
                        " " + number(t.x) + " " + number(t.y));
    for (const vhost::DesignItem& h : testHost().design->hosts(rootId))
        items.push_back("h " + std::to_string(h.typeId) + " " + std::to_string(h.rotateDegree) +
                        " " + (h.free ? "free " : "") + number(h.x) + " " + number(h.y));
    std::sort(items.begin(), items.end());
    std::string text;
    for (const std::string& item : items)
        text += item + "\n";
    return text;
}

} // namespace edittest
