#include "plugin/RenderRun.h"

#include "VantrelSolid.h"
#include "ceiling/SolidWriter.h"
#include "dialogs/CRenderParamsDialog.h"
#include "dialogs/CWaitDialog.h"
#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "platform/Bstr.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Picture.h"
#include "platform/TextCodec.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "plugin/PictureExport.h"
#include "render/RenderHandOff.h"
#include "render/RenderJob.h"
#include "render/RenderSettings.h"
#include "render/RibWriter.h"
#include "view/CSolidWnd.h"
#include "view/CVantrelSolidView.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace vs {

namespace {

CVantrelSolidApp& app()
{
    return CVantrelSolidApp::instance();
}

void tell(QWidget* owner, const std::string& text)
{
    if (unattendedRun()) {
        std::fprintf(stderr, "VantrelSolid: render: %s\n", text.c_str());
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString(), QString::fromStdString(text), QMessageBox::Ok,
                    owner);
    box.exec();
}

/** Changes to `dir` for the life of the object and back afterwards. */
class DirectoryScope
{
public:
    DirectoryScope() : previous_(currentDirectory()) {}
    ~DirectoryScope()
    {
        try {
            changeDirectory(previous_);
        } catch (const FileError&) {
            // The old directory went away meanwhile; stay where we are.
        }
    }
    DirectoryScope(const DirectoryScope&) = delete;
    DirectoryScope& operator=(const DirectoryScope&) = delete;

private:
    std::string previous_;
};

/** Sets an environment variable for the life of the object. */
class EnvironmentScope
{
public:
    EnvironmentScope(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        ::setenv(name, value, 1);
    }
    ~EnvironmentScope()
    {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

void handOff(CVantrelSolidView& dialog)
{
    CSolidWnd* window = dialog.solidWnd();
    CSolidDocument* document = currentDocument();
    if (window == nullptr || document == nullptr)
        return;
    window->SaveViewState();
    const std::string solid = utf8ToHost(writeSolid(*document));
    std::string design = solid;
    if (app().callbacks.composeDesignXml != nullptr) {
        VsVariant composed;
        VsVariantInit(&composed);
        app().callbacks.composeDesignXml(solid.c_str(), &composed);
        design = utf16ToHost(variantText(&composed));
        VsVariantClear(&composed);
    }
    try {
        const std::string name = writeHandOff(app().renderDir, design);
        if (!startRibDaemon(app().homeDir, name))
            std::fprintf(stderr, "VantrelSolid: cannot start %sRibDaemon\n", app().homeDir.c_str());
    } catch (const FileError& e) {
        std::fprintf(stderr, "VantrelSolid: %s\n", e.what());
    }
}

/** The render worker on a second thread behind the modal wait dialog. */
RenderResult renderInProcess(CSolidWnd& window, QWidget* owner)
{
    CWaitDialog wait(owner);
    const RenderView view = renderViewOf(window);
    RenderResult result;
    std::thread worker([&] {
        result = RenderWorker(view, [&wait](float fraction) {
            wait.reportProgress(fraction);
            return !wait.stopRequested();
        });
        wait.finish();
    });
    wait.exec();
    worker.join();
    return result;
}

bool askRenderParameters(QWidget* owner)
{
    RenderSettings& settings = RenderSettings::instance();
    if (unattendedRun())
        return true;
    CRenderParamsDialog params(settings.brightness, settings.renderShadows, owner);
    if (params.exec() != QDialog::Accepted)
        return false;
    settings.brightness = params.brightness();
    settings.renderShadows = params.renderShadows();
    return true;
}

void renderRunJob(CVantrelSolidView& dialog)
{
    if (!askRenderParameters(&dialog))
        return;
    if (const char* failure = prepareRenderer(app().homeDir)) {
        tell(&dialog, failure);
        return;
    }
    changeDirectory(app().renderDir);
    RenderSettings& settings = RenderSettings::instance();
    settings.imageFile = "room.tif";
    settings.displayDriver = unattendedRun() ? "file" : "framebuffer";
    const RenderResult result = renderInProcess(*dialog.solidWnd(), &dialog);
    if (result.outcome == RenderOutcome::Failed)
        tell(&dialog, "渲染失败：" + result.message);
}

std::string lowerExtension(const std::string& path)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

PictureFormat formatFor(const std::string& path)
{
    const std::string ext = lowerExtension(path);
    if (ext == "tif" || ext == "tiff")
        return PictureFormat::Tiff;
    if (ext == "png")
        return PictureFormat::Png;
    if (ext == "jpg" || ext == "jpeg")
        return PictureFormat::Jpeg;
    throw std::invalid_argument("unknown picture type of " + path +
                                " (use .tif, .tiff, .png, .jpg or .jpeg)");
}

/** The scene of `window` as a RIB file at `path` (absolute), its textures beside it: the shadow
 *  pass as the frame before the main one, whose display is a TIFF file named after the RIB. */
void writeRenderManScene(const CSolidWnd& window, const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string directory = path.substr(0, slash + 1);
    std::string stem = path.substr(slash + 1);
    stem = stem.substr(0, stem.size() - 4);
    changeDirectory(directory);
    RenderSettings& settings = RenderSettings::instance();
    settings.imageFile = stem + ".tif";
    settings.displayDriver = "file";
    settings.shadowDepthFile = stem + "-shadow.z";
    settings.shadowMapFile = stem + "-shadow.sm";
    settings.jobSimpleLighting =
        !window.document().viewState || window.document().viewState->simpleLighting;
    // Every texture is converted again beside this file, whatever this process did before.
    const std::set<std::string> converted = convertedTextures();
    convertedTextures().clear();
    const std::string partial = path + ".part";
    try {
        RibWriterScope rib(partial);
        if (settings.renderShadows) {
            settings.shadowPass = true;
            ExportFrame(renderViewOf(window));
        }
        settings.shadowPass = false;
        ExportFrame(renderViewOf(window));
        rib.finish();
        if (std::rename(partial.c_str(), path.c_str()) != 0)
            throw FileError("cannot write " + path);
    } catch (...) {
        std::remove(partial.c_str());
        convertedTextures() = converted;
        throw;
    }
    convertedTextures() = converted;
}

} // namespace

bool unattendedRun()
{
    if (std::getenv("VANTREL_SOLID_UNATTENDED") != nullptr)
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

RenderView renderViewOf(const CSolidWnd& window)
{
    RenderView view;
    view.document = &window.document();
    view.width = window.width();
    view.height = window.height();
    view.camera = window.activeCamera();
    view.orbit = window.viewMode() != CSolidWnd::FirstPerson;
    view.pitch = window.eye().pitch;
    view.yaw = window.eye().yaw;
    view.eye = window.eye().position;
    return view;
}

void connectRenderButtons(CVantrelSolidView& dialog)
{
    QObject::connect(&dialog, &CVantrelSolidView::fineRenderRequested, &dialog,
                     [&dialog] { FineRender(dialog); });
    QObject::connect(&dialog, &CVantrelSolidView::templateSceneRequested, &dialog,
                     [] { ExportTemplateScene(app().render2Dir); });
    QObject::connect(&dialog, &CVantrelSolidView::endProcessRequested, &dialog,
                     [] { endProcessNow(); });
}

void FineRender(CVantrelSolidView& dialog)
{
    DirectoryScope keep;
    if (app().renderRoomName.empty())
        handOff(dialog);
    else
        renderRunJob(dialog);
}

void RunRenderRun(CVantrelSolidView& dialog)
{
    installEndRequestHandler();
    endOlderRenderRuns(app().renderDir);
    registerRenderRun(app().renderDir);
    dialog.prepareRenderRun();
    FineRender(dialog);
    unregisterRenderRun(app().renderDir);
}

void exportSolidRender(const std::string& designXml, const std::string& imagePath, int width,
                       int height, int viewMode, int samplesPerSide, bool shadows, int brightness)
{
    if (currentDocument() != nullptr)
        throw std::runtime_error("a design run is open");
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
        throw std::invalid_argument("picture size out of range: " + std::to_string(width) + "x" +
                                    std::to_string(height));
    if (viewMode < CSolidWnd::Globe || viewMode > CSolidWnd::ChangeTop)
        throw std::invalid_argument("unknown view mode " + std::to_string(viewMode));
    if (samplesPerSide < 1 || samplesPerSide > 64)
        throw std::invalid_argument("pixel samples per side out of range (1..64): " +
                                    std::to_string(samplesPerSide));
    if (brightness < 0 || brightness > 100)
        throw std::invalid_argument("brightness out of range (0..100): " +
                                    std::to_string(brightness));
    if (imagePath.empty())
        throw FileError("no picture file named");
    const bool rib = lowerExtension(imagePath) == "rib";
    const PictureFormat format = rib ? PictureFormat::Tiff : formatFor(imagePath);
    if (app().homeDir.empty() || app().renderDir.empty())
        throw std::runtime_error("no home directory: pour the catalogues first");
    const std::string absolutePath =
        imagePath[0] == '/' ? imagePath : currentDirectory() + imagePath;
    app().ensureUserInterface();

    DirectoryScope keep;
    if (!rib) {
        if (const char* failure = prepareRenderer(app().homeDir))
            throw std::runtime_error(failure);
        changeDirectory(app().renderDir);
    }

    CurrentDocumentScope scope;
    CSolidDocument& document = openCurrentDocument(designXml);
    CSolidWnd window(document);
    window.resize(width, height);
    {
        // No window is shown: the engine's null driver builds the scene and its cameras.
        EnvironmentScope driver("VANTREL_SOLID_DRIVER", "null");
        window.CreateEngine();
    }
    window.SetModes(CSolidWnd::Viewing, viewMode, window.displayFull());

    RenderSettings& settings = RenderSettings::instance();
    const RenderSettings kept = settings;
    settings.renderShadows = shadows;
    settings.brightness = brightness;
    settings.pixelSamples = samplesPerSide;
    if (rib) {
        try {
            writeRenderManScene(window, absolutePath);
        } catch (...) {
            settings = kept;
            throw;
        }
        settings = kept;
        window.DestroyEngine();
        return;
    }
    settings.imageFile = std::to_string(::getpid()) + "_export.tif";
    settings.displayDriver = "file";
    const RenderResult result = RenderWorker(renderViewOf(window));
    const std::string rendered = settings.imageFile;
    settings = kept;
    window.DestroyEngine();
    if (result.outcome != RenderOutcome::Done)
        throw std::runtime_error("render failed: " + result.message);

    const std::string bytes = readWholeFile(rendered);
    std::remove(rendered.c_str());
    const Picture picture = Picture::decode(bytes.data(), bytes.size());
    const std::vector<unsigned char> encoded = picture.encode(format);
    if (encoded.empty())
        throw std::runtime_error("the rendered picture cannot be encoded for " + imagePath);
    // Written beside and renamed: a failure leaves no file and an older one unchanged.
    writeWholeFile(absolutePath, encoded.data(), encoded.size());
}

} // namespace vs
