// The render job for the bundled kitchen at 800 x 600 with three facilities: the scene export of
// each pass into a renderer that takes every call and keeps nothing (the export's own cost:
// walking the scene, converting meshes, writing the ceiling's textures), and the whole job with
// the real renderer (shadow pass and main pass, 4 x 4 samples) when it is built.
//
//   build/bin/RenderBenchmark
#include "CataloguePack.h"
#include "PackCatalogue.h"

#include "ceiling/DesignReader.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "platform/FileSystem.h"
#include "render/RenderExport.h"
#include "render/RenderJob.h"
#include "render/RenderManBinding.h"
#include "render/RenderSettings.h"
#include "render/RendererSetup.h"
#include "scene/DisplayPreferences.h"
#include "scene/RoomScene.h"
#include "scene/SceneEngine.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

/** The kitchen's scene on the engine's null driver, built once, in a scratch directory. */
struct KitchenScene
{
    KitchenScene()
    {
        device->getLogger()->setLogLevel(irr::ELL_NONE);
        vs::setSceneEngine(device);
        std::ifstream in(std::string(VS_BENCH_SOURCE_DIR) + "/data/designs/kitchen.xml");
        std::stringstream text;
        text << in.rdbuf();
        vs::readDesign(text.str(), document, 1, catalogue);
        const RRect& b = document.ceiling->root->indentedBounds;
        const float w = float(b.right - b.left), h = float(b.bottom - b.top);
        const int models[] = {5104, 5101, 5103};
        for (int i = 0; i < 3; ++i) {
            auto facility = std::make_unique<CSolidFacility>();
            facility->facilityModel = catalogue.facilities.findModel(models[i]);
            facility->size = {5000, 900.0f + 600 * i, 5000};
            facility->position = {w * (i + 1) / 4, 0, h / 3};
            document.solidFacilities.push_back(std::move(facility));
        }
        vs::BuildRoomScene(device->getSceneManager()->getRootSceneNode(), document);
        vs::applyDisplayPreferences(document, device->getSceneManager());
        const irr::core::vector3df eye(w / 2, 13500, h / 10);
        camera = device->getSceneManager()->addCameraSceneNode(nullptr, eye,
                                                               eye + irr::core::vector3df(0, 0, 1));
        view.document = &document;
        view.width = 800;
        view.height = 600;
        view.camera = camera;
        view.orbit = false;
        view.eye = eye;
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vs-render-bench-XXXXXX").string();
        directory = ::mkdtemp(pattern.data());
        vs::changeDirectory(directory);
    }

    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    vhost::CataloguePack pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    testsupport::PackCatalogue catalogue{pack};
    CSolidDocument document;
    irr::scene::ICameraSceneNode* camera = nullptr;
    vs::RenderView view;
    std::string directory;
};

KitchenScene& kitchen()
{
    static KitchenScene scene;
    return scene;
}

void exportPass(benchmark::State& state, bool shadow)
{
    KitchenScene& scene = kitchen();
    if (!vs::RenderManBinding::instance().load(VS_BENCH_DISCARDING_RENDERER)) {
        state.SkipWithError("the discarding renderer does not load");
        return;
    }
    vs::RenderSettings& settings = vs::RenderSettings::instance();
    settings = vs::RenderSettings{};
    settings.shadowDepthFile = "bench.z";
    settings.shadowMapFile = "bench.sm";
    settings.shadowPass = shadow;
    vs::ExportFrame(scene.view); // converts the catalogue's textures once, as a process does
    for (auto _ : state) {
        settings.shadowPass = shadow;
        vs::ExportFrame(scene.view);
    }
}

void BM_ExportKitchenMainPass(benchmark::State& state)
{
    exportPass(state, false);
}
BENCHMARK(BM_ExportKitchenMainPass)->Unit(benchmark::kMillisecond);

void BM_ExportKitchenShadowPass(benchmark::State& state)
{
    exportPass(state, true);
}
BENCHMARK(BM_ExportKitchenShadowPass)->Unit(benchmark::kMillisecond);

void BM_RenderKitchenJob(benchmark::State& state)
{
    KitchenScene& scene = kitchen();
    const std::string lib = VS_BENCH_LIBRARY_DIR;
    if (!std::filesystem::exists(lib + "/libri.so")) {
        state.SkipWithError("the renderer (build/lib/libri.so) is not built");
        return;
    }
    // A home directory as a render run has it: the libraries beside, the renderer's files
    // copied out by the set-up, PIXIEHOME pointing at it.
    const std::string home = scene.directory + "/";
    for (const char* name : {"libri.so", "libPR.so", "libVC90DebugCRT.so"}) {
        std::error_code ignored;
        std::filesystem::create_symlink(lib + "/" + name, home + name, ignored);
    }
    if (const char* failure = vs::prepareRenderer(home)) {
        state.SkipWithError(failure);
        return;
    }
    vs::setEnvironment("PIXIEHOME", home);
    vs::RenderSettings& settings = vs::RenderSettings::instance();
    settings = vs::RenderSettings{};
    settings.displayDriver = "file";
    for (auto _ : state) {
        const vs::RenderResult result = vs::RenderWorker(scene.view);
        if (result.outcome != vs::RenderOutcome::Done) {
            state.SkipWithError(result.message.c_str());
            return;
        }
    }
}
BENCHMARK(BM_RenderKitchenJob)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
