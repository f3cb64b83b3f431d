// The few X calls the 3D window makes itself, reached through libX11 at run time (the engine
// links it; the module does not): a temporary error handler that counts X errors instead of
// ending the process, and the hidden window of the picture export.
#pragma once

class XErrorTrap
{
public:
    /** Installs the counting handler; the previous handler comes back on destruction. Does
     *  nothing when libX11 cannot be reached. */
    XErrorTrap();
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    /** Waits until `display` (an Xlib Display*, may be null) has handled every request, so
     *  that their errors are counted. */
    void sync(void* display) const;
    /** X errors seen since construction. */
    int errors() const;

private:
    void* previous_ = nullptr;
    int before_ = 0;
};

namespace vs {

/** Opens a connection to the X display named by DISPLAY; null when there is none. */
void* openXDisplay();
/** Closes a connection from openXDisplay (null: nothing). */
void closeXDisplay(void* display);
/** A window of width x height on the default screen that is never mapped; 0 on failure. */
unsigned long createHiddenXWindow(void* display, int width, int height);
/** Destroys a window from createHiddenXWindow. */
void destroyXWindow(void* display, unsigned long window);

} // namespace vs
