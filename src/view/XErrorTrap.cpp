#include "view/XErrorTrap.h"

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
};

template <typename F>
void bind(void* lib, F& f, const char* name)
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
        return x;
    }();
    return lib;
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
    const unsigned long window =
        xlib().createSimpleWindow(display, root, 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, 0, 0);
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

} // namespace vs
