#include "view/XErrorTrap.h"

// Only the types and constants of Xlib and GLX: the functions are bound at run time.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include <atomic>

namespace {

using ErrorHandler = int (*)(void*, void*);

struct XLib
{
    ErrorHandler (*setErrorHandler)(ErrorHandler) = nullptr;
    int (*sync)(void*, int) = nullptr;
    void* (*openDisplay)(const char*) = nullptr;
    int (*closeDisplay)(void*) = nullptr;
    int (*defaultScreen)(void*) = nullptr;
    unsigned long (*rootWindow)(void*, int) = nullptr;
    unsigned long (*createSimpleWindow)(void*, unsigned long, int, int, unsigned, unsigned,
                                        unsigned, unsigned long, unsigned long) = nullptr;
    int (*destroyWindow)(void*, unsigned long) = nullptr;
    bool loaded = false;

    // For the engine's own windows; each may be missing, and the callers then do without.
    Status (*getWindowAttributes)(Display*, Window, XWindowAttributes*) = nullptr;
    VisualID (*visualIdFromVisual)(Visual*) = nullptr;
    XVisualInfo* (*getVisualInfo)(Display*, long, XVisualInfo*, int*) = nullptr;
    int (*free)(void*) = nullptr;
    Colormap (*createColormap)(Display*, Window, Visual*, int) = nullptr;
    int (*freeColormap)(Display*, Colormap) = nullptr;
    Window (*createWindow)(Display*, Window, int, int, unsigned, unsigned, unsigned, int, unsigned,
                           Visual*, unsigned long, XSetWindowAttributes*) = nullptr;
    int (*mapWindow)(Display*, Window) = nullptr;
    int (*pending)(Display*) = nullptr;
    int (*nextEvent)(Display*, XEvent*) = nullptr;
    int (*connectionNumber)(Display*) = nullptr;
    bool windows = false;
};

/** The few GLX calls that tell which visual a context was made for. */
struct Glx
{
    int (*queryContext)(Display*, GLXContext, int, int*) = nullptr;
    GLXFBConfig* (*getFBConfigs)(Display*, int, int*) = nullptr;
    int (*getFBConfigAttrib)(Display*, GLXFBConfig, int, int*) = nullptr;
    bool loaded = false;
};

template <typename F> void bind(void* lib, F& f, const char* name)
{
    f = reinterpret_cast<F>(dlsym(lib, name));
}

const XLib& xlib()
{
    static const XLib lib = [] {
        XLib x;
        void* h = dlopen("libX11.so.6", RTLD_NOW | RTLD_GLOBAL);
        if (h == nullptr)
            return x;
        bind(h, x.setErrorHandler, "XSetErrorHandler");
        bind(h, x.sync, "XSync");
        bind(h, x.openDisplay, "XOpenDisplay");
        bind(h, x.closeDisplay, "XCloseDisplay");
        bind(h, x.defaultScreen, "XDefaultScreen");
        bind(h, x.rootWindow, "XRootWindow");
        bind(h, x.createSimpleWindow, "XCreateSimpleWindow");
        bind(h, x.destroyWindow, "XDestroyWindow");
        x.loaded = x.setErrorHandler && x.sync && x.openDisplay && x.closeDisplay &&
                   x.defaultScreen && x.rootWindow && x.createSimpleWindow && x.destroyWindow;
        bind(h, x.getWindowAttributes, "XGetWindowAttributes");
        bind(h, x.visualIdFromVisual, "XVisualIDFromVisual");
        bind(h, x.getVisualInfo, "XGetVisualInfo");
        bind(h, x.free, "XFree");
        bind(h, x.createColormap, "XCreateColormap");
        bind(h, x.freeColormap, "XFreeColormap");
        bind(h, x.createWindow, "XCreateWindow");
        bind(h, x.mapWindow, "XMapWindow");
        bind(h, x.pending, "XPending");
        bind(h, x.nextEvent, "XNextEvent");
        bind(h, x.connectionNumber, "XConnectionNumber");
        x.windows = x.loaded && x.getWindowAttributes && x.visualIdFromVisual && x.getVisualInfo &&
                    x.free && x.createColormap && x.freeColormap && x.createWindow && x.mapWindow &&
                    x.pending && x.nextEvent && x.connectionNumber;
        return x;
    }();
    return lib;
}

const Glx& glx()
{
    static const Glx lib = [] {
        Glx g;
        // The engine links libGL; this only finds what is already there or installed.
        void* h = dlopen("libGL.so.1", RTLD_NOW | RTLD_GLOBAL);
        if (h == nullptr)
            return g;
        bind(h, g.queryContext, "glXQueryContext");
        bind(h, g.getFBConfigs, "glXGetFBConfigs");
        bind(h, g.getFBConfigAttrib, "glXGetFBConfigAttrib");
        g.loaded = g.queryContext && g.getFBConfigs && g.getFBConfigAttrib;
        return g;
    }();
    return lib;
}

/** The visual of `id` on the display's default screen; false when there is none. */
bool findVisual(Display* display, unsigned long id, XVisualInfo* found)
{
    XVisualInfo wanted{};
    wanted.visualid = id;
    wanted.screen = xlib().defaultScreen(display);
    int count = 0;
    XVisualInfo* list =
        xlib().getVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
    if (list == nullptr)
        return false;
    const bool ok = count > 0;
    if (ok)
        *found = list[0];
    xlib().free(list);
    return ok;
}

std::atomic<int> errorCount{0};

int countError(void*, void*)
{
    ++errorCount;
    return 0;
}

} // namespace

XErrorTrap::XErrorTrap() : before_(errorCount.load())
{
    if (xlib().loaded)
        previous_ = reinterpret_cast<void*>(xlib().setErrorHandler(&countError));
}

XErrorTrap::~XErrorTrap()
{
    if (xlib().loaded)
        xlib().setErrorHandler(reinterpret_cast<ErrorHandler>(previous_));
}

void XErrorTrap::sync(void* display) const
{
    if (xlib().loaded && display != nullptr)
        xlib().sync(display, 0);
}

int XErrorTrap::errors() const
{
    return errorCount.load() - before_;
}

namespace vs {

void* openXDisplay()
{
    return xlib().loaded ? xlib().openDisplay(nullptr) : nullptr;
}

void closeXDisplay(void* display)
{
    if (display != nullptr && xlib().loaded)
        xlib().closeDisplay(display);
}

unsigned long createHiddenXWindow(void* display, int width, int height)
{
    if (display == nullptr || !xlib().loaded || width <= 0 || height <= 0)
        return 0;
    XErrorTrap trap;
    const unsigned long root = xlib().rootWindow(display, xlib().defaultScreen(display));
    const unsigned long window = xlib().createSimpleWindow(
        display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0, 0);
    trap.sync(display);
    return trap.errors() == 0 ? window : 0;
}

void destroyXWindow(void* display, unsigned long window)
{
    if (display == nullptr || window == 0 || !xlib().loaded)
        return;
    XErrorTrap trap;
    xlib().destroyWindow(display, window);
    trap.sync(display);
}

unsigned long xWindowVisual(void* display, unsigned long window)
{
    if (display == nullptr || window == 0 || !xlib().windows)
        return 0;
    XErrorTrap trap;
    XWindowAttributes attributes{};
    const Status ok =
        xlib().getWindowAttributes(static_cast<Display*>(display), window, &attributes);
    trap.sync(display);
    if (ok == 0 || trap.errors() != 0 || attributes.visual == nullptr)
        return 0;
    return xlib().visualIdFromVisual(attributes.visual);
}

int xVisualDepth(void* display, unsigned long visual)
{
    if (display == nullptr || visual == 0 || !xlib().windows)
        return 0;
    XVisualInfo info{};
    return findVisual(static_cast<Display*>(display), visual, &info) ? info.depth : 0;
}

unsigned long xTrueColorVisual(void* display, int depth)
{
    if (display == nullptr || !xlib().windows)
        return 0;
    auto* d = static_cast<Display*>(display);
    XVisualInfo wanted{};
    wanted.screen = xlib().defaultScreen(d);
    wanted.depth = depth;
    wanted.c_class = TrueColor;
    int count = 0;
    XVisualInfo* list = xlib().getVisualInfo(
        d, VisualScreenMask | VisualDepthMask | VisualClassMask, &wanted, &count);
    if (list == nullptr)
        return 0;
    const unsigned long id = count > 0 ? list[0].visualid : 0;
    xlib().free(list);
    return id;
}

unsigned long glxContextVisual(void* display, void* context)
{
    if (display == nullptr || context == nullptr || !glx().loaded || !xlib().loaded)
        return 0;
    auto* d = static_cast<Display*>(display);
    XErrorTrap trap;
    int configId = 0;
    if (glx().queryContext(d, static_cast<GLXContext>(context), GLX_FBCONFIG_ID, &configId) !=
        Success)
        return 0;
    int count = 0;
    GLXFBConfig* configs = glx().getFBConfigs(d, xlib().defaultScreen(d), &count);
    unsigned long visual = 0;
    for (int i = 0; configs != nullptr && i < count && visual == 0; ++i) {
        int id = 0;
        if (glx().getFBConfigAttrib(d, configs[i], GLX_FBCONFIG_ID, &id) == Success &&
            id == configId) {
            int visualId = 0;
            if (glx().getFBConfigAttrib(d, configs[i], GLX_VISUAL_ID, &visualId) == Success)
                visual = static_cast<unsigned long>(visualId);
        }
    }
    if (configs != nullptr && xlib().free != nullptr)
        xlib().free(configs);
    trap.sync(display);
    return trap.errors() == 0 ? visual : 0;
}

XChildWindow createChildXWindow(void* display, unsigned long parent, unsigned long visual,
                                int width, int height)
{
    XChildWindow made;
    if (display == nullptr || parent == 0 || visual == 0 || width <= 0 || height <= 0 ||
        !xlib().windows)
        return made;
    auto* d = static_cast<Display*>(display);
    XVisualInfo info{};
    if (!findVisual(d, visual, &info))
        return made;
    XErrorTrap trap;
    const Window root = xlib().rootWindow(d, xlib().defaultScreen(d));
    made.colormap = xlib().createColormap(d, root, info.visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = made.colormap;
    attributes.border_pixel = 0;
    attributes.background_pixmap = None;
    // Only exposures: pointer and key events go on to the parent, which owns the input.
    attributes.event_mask = ExposureMask;
    made.window =
        xlib().createWindow(d, parent, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), 0, info.depth, InputOutput, info.visual,
                            CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
    if (made.window != 0)
        xlib().mapWindow(d, made.window);
    trap.sync(display);
    if (trap.errors() != 0 || made.window == 0) {
        destroyXWindow(display, made);
        return {};
    }
    return made;
}

void destroyXWindow(void* display, const XChildWindow& window)
{
    if (display == nullptr || !xlib().windows)
        return;
    XErrorTrap trap;
    if (window.window != 0)
        xlib().destroyWindow(display, window.window);
    if (window.colormap != 0)
        xlib().freeColormap(static_cast<Display*>(display), window.colormap);
    trap.sync(display);
}

int xConnectionNumber(void* display)
{
    return display != nullptr && xlib().windows
               ? xlib().connectionNumber(static_cast<Display*>(display))
               : -1;
}

bool drainXEvents(void* display)
{
    if (display == nullptr || !xlib().windows)
        return false;
    auto* d = static_cast<Display*>(display);
    bool exposed = false;
    while (xlib().pending(d) > 0) {
        XEvent event;
        xlib().nextEvent(d, &event);
        exposed = exposed || event.type == Expose;
    }
    return exposed;
}

} // namespace vs
