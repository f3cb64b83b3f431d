#include "plugin/PictureExport.h"

#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "platform/Errors.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "view/CSolidWnd.h"
#include "view/XErrorTrap.h"

#include <QString>

#include <stdexcept>

namespace vs {

namespace {

/** A display connection and one unmapped window on it, closed in reverse order. */
class HiddenXWindow
{
public:
    HiddenXWindow(int width, int height) : display_(openXDisplay())
    {
        if (display_ == nullptr)
            throw std::runtime_error("no X display to draw on");
        window_ = createHiddenXWindow(display_, width, height);
        if (window_ == 0) {
            closeXDisplay(display_);
            throw std::runtime_error("cannot create a window on the X display");
        }
    }
    ~HiddenXWindow()
    {
        destroyXWindow(display_, window_);
        closeXDisplay(display_);
    }
    HiddenXWindow(const HiddenXWindow&) = delete;
    HiddenXWindow& operator=(const HiddenXWindow&) = delete;

    void* display() const { return display_; }
    unsigned long window() const { return window_; }

private:
    void* display_;
    unsigned long window_ = 0;
};

void drawAndWrite(CSolidDocument& document, const HiddenXWindow& target, const std::string& path,
                  int width, int height, int viewMode)
{
    CSolidWnd window(document);
    window.resize(width, height);
    window.setEngineWindow(target.window(), target.display());
    window.CreateEngine();
    if (window.driverKind() != CSolidWnd::DriverKind::OpenGL &&
        window.driverKind() != CSolidWnd::DriverKind::Software)
        throw std::runtime_error("OpenGL cannot start on the X display");
    if (viewMode == CSolidWnd::ChangeTop && document.samplePhoto.isNull())
        throw std::runtime_error("the design has no static sample photo for the change-top view");
    window.SetModes(CSolidWnd::Viewing, viewMode, window.displayFull());
    if (window.RenderToImage().isNull())
        throw std::runtime_error("the frame cannot be read back");
    if (!window.ExportPicture(QString::fromStdString(path)))
        throw FileError("cannot write " + path);
    window.DestroyEngine();
}

} // namespace

void exportSolidPicture(const std::string& designXml, const std::string& jpegPath, int width,
                        int height, int viewMode)
{
    if (currentDocument() != nullptr)
        throw std::runtime_error("a design run is open");
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
        throw std::invalid_argument("picture size out of range: " + std::to_string(width) + "x" +
                                    std::to_string(height));
    if (viewMode < CSolidWnd::Globe || viewMode > CSolidWnd::ChangeTop)
        throw std::invalid_argument("unknown view mode " + std::to_string(viewMode));
    if (jpegPath.empty())
        throw FileError("no picture file named");
    HiddenXWindow target(width, height);
    CVantrelSolidApp::instance().ensureUserInterface();
    CurrentDocumentScope scope;
    CSolidDocument& document = openCurrentDocument(designXml);
    drawAndWrite(document, target, jpegPath, width, height, viewMode);
}

} // namespace vs
