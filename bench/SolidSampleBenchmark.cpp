// Applying a solid sample: the bundled living-room sample applied to the bundled rooms, turned a
// quarter, on the engine's null driver with the pack's meshes. Target: the mapping, and the
// exchange with its scene rebuild (facilities' nodes, every wall with its cut-outs), each well
// under 100 ms, so that the room is furnished the moment the user chooses a sample, and undo
// is as quick.
#include "CataloguePack.h"
#include "PackCatalogue.h"

#include "ceiling/DesignReader.h"
#include "ceiling/SolidSampleMapping.h"
#include "document/CSolidDocument.h"
#include "scene/RoomScene.h"
#include "scene/SceneEngine.h"
#include "scene/SolidSampleScene.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/** The pack, its catalogue, the living-room sample and one bundled room shown. */
struct SampleScene
{
    explicit SampleScene(const char* room)
    {
        device->getLogger()->setLogLevel(irr::ELL_NONE);
        vs::setSceneEngine(device);
        const vhost::PackSolidSample& living = *pack.solidSample(2);
        vs::readDesign(living.designXml, sample, living.ceilingScale, catalogue);
        vs::readDesign(
            readText(std::string(VS_BENCH_SOURCE_DIR) + "/data/designs/" + room + ".xml"), document,
            1, catalogue);
        vs::BuildRoomScene(device->getSceneManager()->getRootSceneNode(), document);
    }
    ~SampleScene()
    {
        vs::ReleaseRoomScene(document);
        catalogue.facilities.releaseEngineObjects();
        vs::setSceneEngine(nullptr);
        device->drop();
    }

    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    vhost::CataloguePack pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    testsupport::PackCatalogue catalogue{pack};
    CSolidDocument sample;
    CSolidDocument document;
};

void BM_MapLivingRoomSample(benchmark::State& state, const char* room)
{
    SampleScene scene(room);
    for (auto _ : state)
        benchmark::DoNotOptimize(vs::mapSolidSample(scene.sample, scene.document, 90));
}

/** One exchange per step: the sample goes in, then (next step) the room's own come back. */
void BM_ExchangeShown(benchmark::State& state, const char* room)
{
    SampleScene scene(room);
    vs::SolidContents contents = vs::mapSolidSample(scene.sample, scene.document, 90);
    for (auto _ : state)
        vs::exchangeShownSolidContents(scene.document, contents);
}

BENCHMARK_CAPTURE(BM_MapLivingRoomSample, kitchen, "kitchen")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MapLivingRoomSample, hall, "hall")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExchangeShown, kitchen, "kitchen")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExchangeShown, living_room, "living_room")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExchangeShown, hall, "hall")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
