// The 3D window under a real X display with Mesa OpenGL, over the bundled catalogue pack:
//  - a design run of the hall up to its first frame at 800 x 600 (read the design into the
//    current document, make and show the window, start the engine, draw, tear down);
//  - a redraw of the living room at 800 x 600 in a window that is already running.
// The pack is poured through the module's exports with pictures and meshes served from it, as
// a host would. Without an X display the program says so and ends successfully.
#include "CataloguePack.h"

#include "VantrelSolid.h"
#include "plugin/DesignRun.h"
#include "view/CSolidWnd.h"
#include "view/XErrorTrap.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

const std::string kSource = VS_BENCH_SOURCE_DIR;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

// ---- The pack behind the callbacks ----------------------------------------------------------

const vhost::CataloguePack* g_pack = nullptr;

void freeModelData(void* block)
{
    std::free(block);
}

void getModelData(int32 modelId, void** block, int32* blockSize)
{
    if (block)
        *block = nullptr;
    if (blockSize)
        *blockSize = 0;
    if (g_pack == nullptr || block == nullptr || blockSize == nullptr)
        return;
    const vhost::PackModel* m = g_pack->model(modelId);
    if (m == nullptr || !m->mesh || m->mesh->size() > size_t(INT32_MAX) - 4)
        return;
    const size_t size = 4 + m->mesh->size();
    auto* bytes = static_cast<uint8_t*>(std::malloc(size));
    if (bytes == nullptr)
        return;
    const int32_t format = m->meshFormat;
    std::memcpy(bytes, &format, 4);
    std::memcpy(bytes + 4, m->mesh->data(), m->mesh->size());
    *block = bytes;
    *blockSize = int32(size);
}

void getCandyTypeImages(int32 typeId, const void** data1, int32* size1, const void** data2,
                        int32* size2)
{
    const vhost::PackCandyType* t = g_pack ? g_pack->candyType(typeId) : nullptr;
    if (data1)
        *data1 = t ? vhost::bytesData(t->plan) : nullptr;
    if (size1)
        *size1 = t ? vhost::bytesSize(t->plan) : 0;
    if (data2)
        *data2 = t ? vhost::bytesData(t->plan2) : nullptr;
    if (size2)
        *size2 = t ? vhost::bytesSize(t->plan2) : 0;
}

void getCandyTypeTextures(int32 typeId, int32 index, const void** data, int32* size)
{
    const vhost::PackCandyType* t = g_pack ? g_pack->candyType(typeId) : nullptr;
    const bool valid = t != nullptr && index >= 0 && index < 4;
    if (data)
        *data = valid ? vhost::bytesData(t->textures[size_t(index)]) : nullptr;
    if (size)
        *size = valid ? vhost::bytesSize(t->textures[size_t(index)]) : 0;
}

// The module calls every callback it was given without testing, so the ones a design run to
// the first frame has no use for are harmless stand-ins rather than null.
void composeDesignXml(const char*, VsVariant*)
{
}
int32 addCeilingHost(int32, int32, double, double, int32, int32)
{
    return 0;
}
int32 moveCeilingHost(int32, int32, double, double)
{
    return 0;
}
void deleteCeilingHost(int32, int32)
{
}
void rotateCeilingHost(int32, int32, int32)
{
}
void layTiles(int32, int32, int32, const char*, const char*)
{
}
int32 chooseStaticSample(int32)
{
    return 0;
}
void loadStaticSample(int32)
{
}
void saveModelMaterials(int32, const char*)
{
}
void setModelCategory(int32, int32)
{
}

/** Pours `pack` into the module's catalogues; `pack` must outlive the next ClearMasterData. */
void pourPack(const vhost::CataloguePack& pack, const std::string& homeDir)
{
    g_pack = &pack;
    ClearMasterData();
    BeginPourMasterData(homeDir.c_str(), 0, 0, freeModelData, getModelData, composeDesignXml,
                        addCeilingHost, moveCeilingHost, deleteCeilingHost, rotateCeilingHost,
                        layTiles, getCandyTypeImages, chooseStaticSample, getCandyTypeTextures,
                        loadStaticSample, saveModelMaterials, setModelCategory);
    for (const vhost::PackCandyCategory& c : pack.candyCategories())
        AddCandyCategory(c.id, c.name.c_str(), c.parentId, c.order);
    for (const vhost::PackCandyType& t : pack.candyTypes())
        AddCandyType(t.id, t.name.c_str(), t.kind, t.categoryId, t.nominalWidth, t.nominalHeight,
                     t.width, t.height, t.rotateDegree, t.listed ? 1 : 0, t.stripAcross ? 1 : 0,
                     vhost::bytesData(t.plan), vhost::bytesSize(t.plan), t.option14, t.tower,
                     t.profile.c_str());
    for (const vhost::PackFacilityCategory& c : pack.facilityCategories())
        AddFacilityCategory(c.id, c.parentId, c.name.c_str());
    for (const vhost::PackModel& m : pack.models())
        AddFacilityModel(m.id, m.name.c_str(), (m.flags << 16) | (m.kind & 0xFFFF), m.listWidth,
                         m.listHeight, vhost::bytesData(m.picture), vhost::bytesSize(m.picture),
                         m.width, m.height, vhost::bytesData(m.texture),
                         vhost::bytesSize(m.texture), m.length,
                         m.baseRotation ? m.baseRotation->data() : nullptr, m.scaleX, m.scaleY,
                         m.naturalSize ? m.naturalSize->data() : nullptr, m.zUp ? 1 : 0,
                         m.categoryId, m.typeId, m.option23 ? 1 : 0, m.defaultMaterials.c_str());
    PostPourMasterData();
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/** Shows `wnd` at 800 x 600 and waits (up to 5 s) until the X server has mapped it. */
bool showAndWait(CSolidWnd& wnd)
{
    wnd.resize(kWidth, kHeight);
    wnd.show();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (wnd.windowHandle() != nullptr && wnd.windowHandle()->isExposed())
            return true;
    }
    return false;
}

// ---- Benchmarks -----------------------------------------------------------------------------

void BM_HallDesignRunToFirstFrame(benchmark::State& state)
{
    const std::string design = readText(kSource + "/data/designs/hall.xml");
    for (auto _ : state) {
        vs::CurrentDocumentScope scope;
        CSolidDocument& doc = vs::openCurrentDocument(design);
        CSolidWnd wnd(doc);
        if (!showAndWait(wnd)) {
            state.SkipWithError("the window was never exposed");
            break;
        }
        wnd.CreateEngine();
        if (wnd.driverKind() != CSolidWnd::DriverKind::OpenGL) {
            state.SkipWithError("no OpenGL driver");
            break;
        }
        wnd.DrawScene();
    }
}
BENCHMARK(BM_HallDesignRunToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

/** The living room in a running window; `readBack` also reads the frame back (RenderToImage),
 *  which waits for the GPU, where DrawScene only queues and presents. */
void livingRoomRedraw(benchmark::State& state, bool readBack)
{
    const std::string design = readText(kSource + "/data/designs/living_room.xml");
    vs::CurrentDocumentScope scope;
    CSolidDocument& doc = vs::openCurrentDocument(design);
    CSolidWnd wnd(doc);
    if (!showAndWait(wnd)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    wnd.CreateEngine();
    if (wnd.driverKind() != CSolidWnd::DriverKind::OpenGL) {
        state.SkipWithError("no OpenGL driver");
        return;
    }
    wnd.DrawScene(); // textures and buffers go up with the first frame
    for (auto _ : state) {
        if (readBack)
            benchmark::DoNotOptimize(wnd.RenderToImage());
        else
            wnd.DrawScene();
    }
}

void BM_LivingRoomRedraw(benchmark::State& state)
{
    livingRoomRedraw(state, false);
}
BENCHMARK(BM_LivingRoomRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LivingRoomRenderToImage(benchmark::State& state)
{
    livingRoomRedraw(state, true);
}
BENCHMARK(BM_LivingRoomRenderToImage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    void* display = vs::openXDisplay();
    if (display == nullptr) {
        std::puts("WindowBenchmark: no X display (DISPLAY unset or unreachable); nothing measured");
        return 0;
    }
    vs::closeXDisplay(display);

    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    namespace fs = std::filesystem;
    const fs::path home =
        fs::temp_directory_path() / ("vs-window-bench-" + std::to_string(::getpid()));
    fs::create_directories(home);
    int status = 0;
    {
        // The module points into the pack's names and pictures until ClearMasterData.
        std::unique_ptr<vhost::CataloguePack> pack;
        try {
            pack = std::make_unique<vhost::CataloguePack>(
                vhost::CataloguePack::load(kSource + "/data/pack/index.xml"));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "WindowBenchmark: cannot load the catalogue pack: %s\n", e.what());
            status = 1;
        }
        if (pack) {
            pourPack(*pack, home.string() + "/");
            benchmark::RunSpecifiedBenchmarks();
            ClearMasterData();
            g_pack = nullptr;
        }
    }
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(home, ignored);
    return status;
}
