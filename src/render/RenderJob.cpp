#include "render/RenderJob.h"

#include "document/CSolidDocument.h"
#include "platform/FileSystem.h"
#include "platform/ModuleResource.h"
#include "render/RenderSettings.h"
#include "render/RendererSetup.h"

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace vs {

namespace {

/** Share of the job's progress bar the shadow pass takes. */
constexpr float kShadowShare = 0.1f;

bool simpleLightingOf(const CSolidDocument& document)
{
    return !document.viewState || document.viewState->simpleLighting;
}

void removeFile(const std::string& path)
{
    std::remove(path.c_str());
}

} // namespace

const char* prepareRenderer(const std::string& homeDir)
{
    changeDirectory(homeDir);
    if (!WriteDebugCRT(homeDir))
        return kWriteDebugCrtFailed;
    if (!WriteShaders(homeDir))
        return kWriteShadersFailed;
    if (InitRenderMan() == 0)
        return kInitRenderManFailed;
    return nullptr;
}

std::string shadowFileName(int counter, const char* extension)
{
    return "shadow" + std::to_string(::getpid()) + "_" + std::to_string(counter) + extension;
}

RenderResult RenderWorker(const RenderView& view, const RenderProgress& progress)
{
    RenderSettings& settings = RenderSettings::instance();
    const int job = ++renderCounter();
    settings.jobSimpleLighting = view.document ? simpleLightingOf(*view.document) : true;
    bool stopped = false;
    auto scaled = [&](float from, float share) -> RenderProgress {
        return [&, from, share](float fraction) {
            if (progress && !progress(from + fraction * share))
                stopped = true;
            return !stopped;
        };
    };
    removeFile(settings.imageFile);
    RenderResult result;
    try {
        float mainStart = 0;
        if (settings.renderShadows) {
            settings.shadowDepthFile = shadowFileName(job, ".z");
            settings.shadowMapFile = shadowFileName(job, ".sm");
            settings.shadowPass = true;
            ExportFrame(view, scaled(0, kShadowShare));
            mainStart = kShadowShare;
        }
        if (!stopped) {
            settings.shadowPass = false;
            ExportFrame(view, scaled(mainStart, 1 - mainStart));
        }
        if (stopped)
            result = {RenderOutcome::Stopped, "render stopped"};
        else if (!settings.imageFile.empty() && !pathExists(settings.imageFile))
            result = {RenderOutcome::Failed, "the renderer wrote no " + settings.imageFile};
    } catch (const std::exception& e) {
        result = {RenderOutcome::Failed, e.what()};
    }
    settings.shadowPass = false;
    if (result.outcome != RenderOutcome::Done)
        removeFile(settings.imageFile);
    return result;
}

bool ExportTemplateScene(const std::string& render2Dir)
{
    const QByteArray head = moduleResource("TEMPLATES", 108);
    const QByteArray tail = moduleResource("TEMPLATES", 109);
    try {
        writeWholeFile(render2Dir + "1.xml", (head + tail).toStdString());
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

} // namespace vs
