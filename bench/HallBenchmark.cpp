// A 100 m x 100 m hall under 110 889 panels of 300 mm (333 x 333), drawn as a host draws it:
//  - the whole picture: the host's design text handed to ExportSolidPicture of the built
//    module, which reads the design, builds the scene, draws one 1024 x 768 globe frame with
//    OpenGL and writes the JPEG;
//  - the host's share: parsing the design text and writing it back.
// Peak memory is reported as the counter "peakRssMB" (the process's high-water mark so far;
// run one benchmark at a time with --benchmark_filter for a figure of that one alone, or the
// whole program under /usr/bin/time -v). Without an X display the picture is not measured.
#include "CataloguePack.h"
#include "HomeDirectory.h"
#include "HostDesign.h"
#include "HostSession.h"
#include "ModelOverrides.h"
#include "ModuleExports.h"

#include "view/XErrorTrap.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kSource = VS_BENCH_SOURCE_DIR;
constexpr int kCells = 333; // 333 x 300 mm = 99.9 m

std::string hallDesign()
{
    const int side = kCells * 3000;
    std::ostringstream text;
    text << "<?xml version=\"1.0\"?>\n<design name=\"Hall\" id=\"1\" gridWidth=\"3000\" "
            "gridHeight=\"3000\" outlinePoints=\"0,0 "
         << side << ",0 " << side << ',' << side << " 0," << side
         << "\" realGridOffset=\"0,0\">\n  <tiles>\n";
    for (int gy = 0; gy < kCells; ++gy)
        for (int gx = 0; gx < kCells; ++gx)
            text << "    <tile tileTypeId=\"1101\" rotateDegree=\"0\" gx=\"" << gx << "\" gy=\""
                 << gy << "\"/>\n";
    text << "  </tiles>\n</design>\n";
    return text.str();
}

double peakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

const fs::path& scratch()
{
    static const fs::path dir =
        fs::temp_directory_path() / ("vs-hall-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

void BM_HallPicture1024x768(benchmark::State& state)
{
    void* display = vs::openXDisplay();
    if (display == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    vs::closeXDisplay(display);
    const std::string pack = kSource + "/data/pack/index.xml";
    vhost::HostSession session(vhost::ModuleExports::load(VS_LIBRARY_PATH),
                               vhost::CataloguePack::load(pack),
                               vhost::ModelOverrides::load((scratch() / "ov.xml").string()));
    session.pour(vhost::prepareHomeDirectory((scratch() / "home").string(),
                                             vhost::programDirectory(), pack));
    vhost::HostDesign design = vhost::HostDesign::fromText(hallDesign());
    const std::string picture = (scratch() / "hall.jpg").string();
    for (auto _ : state) {
        if (!session.exportPicture(design, picture, 1024, 768, 4)) {
            state.SkipWithError("the module could not draw the hall");
            break;
        }
    }
    state.counters["peakRssMB"] = peakRssMegabytes();
}
BENCHMARK(BM_HallPicture1024x768)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_HallHostTextReadAndWrite(benchmark::State& state)
{
    const std::string text = hallDesign();
    for (auto _ : state) {
        vhost::HostDesign design = vhost::HostDesign::fromText(text);
        benchmark::DoNotOptimize(design.text());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["peakRssMB"] = peakRssMegabytes();
}
BENCHMARK(BM_HallHostTextReadAndWrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(scratch(), ignored);
    return 0;
}
