// The few X calls the 3D window makes itself, reached through libX11 and libGL at run time (the
// engine links them; the module does not): a temporary error handler that counts X errors
// instead of ending the process, the hidden window of the picture export, and the windows
// made for the engine with the visual it draws with.
#pragma once

class XErrorTrap
{
public:
    /** Installs the counting handler; the previous handler comes back on destruction. Does
     *  nothing when libX11 cannot be reached. */
    XErrorTrap();
    /** Puts the previous handler back. */
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

/** The visual id of an X window; 0 when it cannot be read. */
unsigned long xWindowVisual(void* display, unsigned long window);
/** The depth of a visual of the default screen; 0 when there is no such visual. */
int xVisualDepth(void* display, unsigned long visual);
/** The first TrueColor visual of `depth` on the default screen; 0 when there is none. */
unsigned long xTrueColorVisual(void* display, int depth);
/** The visual of the frame-buffer configuration a GLX context (GLXContext) was made for; 0 when
 *  it cannot be told. */
unsigned long glxContextVisual(void* display, void* context);

/** A window made with a visual of its own, and the colormap that visual needs. */
struct XChildWindow
{
    unsigned long window = 0;
    unsigned long colormap = 0;
};
/** Creates a mapped child window of width x height at the parent's origin with `visual`. It
 *  selects exposures only, so pointer and key events go on to the parent. Both ids 0 on
 *  failure. */
XChildWindow createChildXWindow(void* display, unsigned long parent, unsigned long visual,
                                int width, int height);
/** Destroys a window from createChildXWindow with its colormap. */
void destroyXWindow(void* display, const XChildWindow& window);
/** The file descriptor of the display's connection; -1 without one. */
int xConnectionNumber(void* display);
/** Reads every event waiting on the display; true when one was an exposure. */
bool drainXEvents(void* display);

} // namespace vs
