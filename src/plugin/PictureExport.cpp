#include "plugin/PictureExport.h"

#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "document/SolidCeiling.h"
#include "platform/Errors.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "scene/SceneBudget.h"
#include "view/CSolidWnd.h"
#include "view/XErrorTrap.h"

#include <QByteArray>
#include <QFile>

#include <cmath>
#include <stdexcept>
#include <vector>

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

/** Twice the area the root plane's outline encloses (shoelace; 0 without three points). */
double outlineArea(const CSolidDocument& document)
{
    if (!document.ceiling || !document.ceiling->root)
        return 0;
    const std::vector<RPoint>& outline = document.ceiling->root->outlinePoints;
    if (outline.size() < 3)
        return 0;
    double twice = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        const RPoint& a = outline[i];
        const RPoint& b = outline[(i + 1) % outline.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::isfinite(twice) ? std::fabs(twice) : 0;
}

/** True when every pixel of `frame` is `clear`: nothing of the room was drawn. */
bool onlyBackground(const QImage& frame, QRgb clear)
{
    for (int y = 0; y < frame.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x)
            if ((line[x] | 0xFF000000u) != clear)
                return false;
    }
    return true;
}

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
    if (vs::lastSceneOverBudget())
        throw std::runtime_error("the design needs more than " +
                                 std::to_string(kMaxSceneTriangles) +
                                 " triangles; no picture of only a part of it is written");
    if (viewMode == CSolidWnd::ChangeTop && document.samplePhoto.isNull())
        throw std::runtime_error("the design has no static sample photo for the change-top view");
    window.SetModes(CSolidWnd::Viewing, viewMode, window.displayFull());
    const QImage frame = window.RenderToImage();
    if (frame.isNull())
        throw std::runtime_error("the frame cannot be read back");
    if (viewMode != CSolidWnd::ChangeTop && onlyBackground(frame, 0xFF000000u))
        throw std::runtime_error(
            "the picture came out all black: nothing lit is in view; no picture written");
    std::string why;
    if (!window.ExportPicture(QFile::decodeName(QByteArray::fromStdString(path)), &why))
        throw FileError(why.empty() ? "cannot write " + path : why);
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
    // One square centimetre: a thinner room is a line, and its picture would be black.
    if (outlineArea(document) < 2 * 100.0 * 100.0)
        throw std::invalid_argument("the design has no room to draw: its outline encloses no area");
    drawAndWrite(document, target, jpegPath, width, height, viewMode);
}

} // namespace vs
