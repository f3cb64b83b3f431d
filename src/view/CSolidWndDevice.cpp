// The 3D window's engine device: OpenGL on a child window of the visual the engine's GLX
// context wants, the software driver when OpenGL cannot start, and the null driver off X (the
// offscreen platform, no display), so the scene, picking and cameras work everywhere.
#include "view/CSolidWnd.h"

#include "view/XErrorTrap.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <map>

using namespace irr;

namespace {

/** Which of the engine's drivers may start. */
enum class DriverChoice { Any, OpenGL, Software, Null };

/** VANTREL_SOLID_DRIVER names one driver ("opengl", "software" or "null") for machines whose
 *  OpenGL misbehaves; unset or anything else, OpenGL is tried first, then the software driver,
 *  then the null driver. */
DriverChoice driverChoice()
{
    const QByteArray name = qgetenv("VANTREL_SOLID_DRIVER").trimmed().toLower();
    if (name == "opengl")
        return DriverChoice::OpenGL;
    if (name == "software")
        return DriverChoice::Software;
    if (name == "null")
        return DriverChoice::Null;
    return DriverChoice::Any;
}

/** The visual the engine's OpenGL driver drew with on this display, learnt the first time so
 *  that later windows are made with it at once (0: not known yet). */
unsigned long& learntOpenGLVisual()
{
    static std::map<QByteArray, unsigned long> byDisplay;
    return byDisplay[qgetenv("DISPLAY")];
}

} // namespace

bool CSolidWnd::createDevice()
{
    SIrrlichtCreationParameters p;
    p.WindowSize = core::dimension2du(static_cast<u32>(std::max(1, width())),
                                      static_cast<u32>(std::max(1, height())));
    p.Bits = 32;
    p.ZBufferBits = 24; // 16 bits fight over a 1 000 000-unit depth range
    p.Fullscreen = false;
    p.Stencilbuffer = false;
    p.Vsync = false;
    p.AntiAlias = 0;
    p.WithAlphaChannel = false;
    p.Doublebuffer = true;
    p.IgnoreInput = true; // Qt delivers mouse and keys
    p.LoggingLevel = ELL_WARNING;

    // The engine's X11 drivers only ever see an X window: ours on xcb, or the one handed in.
    const DriverChoice choice = driverChoice();
    unsigned long parent = engineWindow_;
    void* display = engineDisplay_;
    if (parent == 0 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (xDisplay_ == nullptr)
            xDisplay_ = vs::openXDisplay();
        display = xDisplay_;
        if (display != nullptr)
            parent = static_cast<unsigned long>(winId());
    }
    if (parent != 0 && display != nullptr && choice != DriverChoice::Null) {
        if (choice != DriverChoice::Software && startOpenGL(p, display, parent))
            return true;
        if (choice != DriverChoice::OpenGL && startSoftware(p, display, parent))
            return true;
    }
    p.DriverType = video::EDT_NULL;
    p.WindowId = nullptr;
    device_ = createDeviceEx(p);
    driverKind_ = device_ ? DriverKind::Null : DriverKind::None;
    return device_ != nullptr;
}

IrrlichtDevice* CSolidWnd::tryDriver(SIrrlichtCreationParameters p, video::E_DRIVER_TYPE type,
                                     void* display, unsigned long window)
{
    XErrorTrap trap;
    p.DriverType = type;
    p.WindowId = reinterpret_cast<void*>(window);
    IrrlichtDevice* device = createDeviceEx(p);
    if (device == nullptr)
        return nullptr;
    video::IVideoDriver* driver = device->getVideoDriver();
    if (driver != nullptr) {
        driver->beginScene(true, true, video::SColor(0xFF000000));
        driver->endScene();
        trap.sync(driver->getExposedVideoData().OpenGLLinux.X11Display);
    }
    trap.sync(display);
    if (driver != nullptr && trap.errors() == 0)
        return device;
    device->drop();
    return nullptr;
}

bool CSolidWnd::startOpenGL(const SIrrlichtCreationParameters& p, void* display,
                            unsigned long parent)
{
    unsigned long& learnt = learntOpenGLVisual();
    const unsigned long parentVisual = vs::xWindowVisual(display, parent);
    if (learnt != 0 && learnt != parentVisual)
        return startOnChild(p, video::EDT_OPENGL, display, parent, learnt);
    IrrlichtDevice* device = tryDriver(p, video::EDT_OPENGL, display, parent);
    if (device == nullptr)
        return false;
    const unsigned long used = openGLVisual(device);
    if (used == 0 || used == parentVisual) {
        learnt = used;
        adopt(device, DriverKind::OpenGL);
        return true;
    }
    // The engine draws with another visual than the window has, which strict drivers refuse
    // and others may show wrongly: it gets a window of its own with its visual, over ours.
    learnt = used;
    device->drop();
    if (startOnChild(p, video::EDT_OPENGL, display, parent, used))
        return true;
    // Without a window of its own the engine still drew on ours without an error: take that.
    device = tryDriver(p, video::EDT_OPENGL, display, parent);
    if (device == nullptr)
        return false;
    adopt(device, DriverKind::OpenGL);
    return true;
}

bool CSolidWnd::startSoftware(const SIrrlichtCreationParameters& p, void* display,
                              unsigned long parent)
{
    // The software driver puts its frames with a plain visual of this depth.
    constexpr int depth = 24;
    if (vs::xVisualDepth(display, vs::xWindowVisual(display, parent)) != depth)
        return startOnChild(p, video::EDT_BURNINGSVIDEO, display, parent,
                            vs::xTrueColorVisual(display, depth));
    IrrlichtDevice* device = tryDriver(p, video::EDT_BURNINGSVIDEO, display, parent);
    if (device == nullptr)
        return false;
    adopt(device, DriverKind::Software);
    return true;
}

bool CSolidWnd::startOnChild(const SIrrlichtCreationParameters& p, video::E_DRIVER_TYPE type,
                             void* display, unsigned long parent, unsigned long visual)
{
    const vs::XChildWindow child = vs::createChildXWindow(
        display, parent, visual, int(p.WindowSize.Width), int(p.WindowSize.Height));
    if (child.window == 0)
        return false;
    IrrlichtDevice* device = tryDriver(p, type, display, child.window);
    if (device != nullptr && type == video::EDT_OPENGL && openGLVisual(device) != visual) {
        device->drop();
        device = nullptr;
    }
    if (device == nullptr) {
        vs::destroyXWindow(display, child);
        return false;
    }
    engineChild_ = child;
    engineChildDisplay_ = display;
    if (display == xDisplay_) {
        // Nobody else reads this connection: its exposures of the engine's window are ours.
        vs::drainXEvents(display);
        xEvents_ = std::make_unique<QSocketNotifier>(vs::xConnectionNumber(display),
                                                     QSocketNotifier::Read);
        connect(xEvents_.get(), &QSocketNotifier::activated, this, [this] {
            if (vs::drainXEvents(xDisplay_))
                DrawScene();
        });
    }
    adopt(device, type == video::EDT_OPENGL ? DriverKind::OpenGL : DriverKind::Software);
    return true;
}

void CSolidWnd::adopt(IrrlichtDevice* device, DriverKind kind)
{
    device_ = device;
    driverKind_ = kind;
}

unsigned long CSolidWnd::openGLVisual(IrrlichtDevice* device)
{
    const video::SExposedVideoData& data = device->getVideoDriver()->getExposedVideoData();
    return vs::glxContextVisual(data.OpenGLLinux.X11Display, data.OpenGLLinux.X11Context);
}

unsigned long CSolidWnd::engineXWindow() const
{
    if (driverKind_ != DriverKind::OpenGL && driverKind_ != DriverKind::Software)
        return 0;
    if (engineChild_.window != 0)
        return engineChild_.window;
    return engineWindow_ != 0 ? engineWindow_ : static_cast<unsigned long>(winId());
}

unsigned long CSolidWnd::engineVisual() const
{
    return driverKind_ == DriverKind::OpenGL ? openGLVisual(device_) : 0;
}

void CSolidWnd::destroyEngineWindow()
{
    xEvents_.reset();
    if (engineChild_.window != 0)
        vs::destroyXWindow(engineChildDisplay_, engineChild_);
    engineChild_ = {};
    engineChildDisplay_ = nullptr;
}
