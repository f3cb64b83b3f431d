// Picking and dragging in the 3D window of design mode, over the bundled catalogue pack:
//  - a pick (the ray from the camera tested against ceiling, floor, walls, cloaks and markers)
//    in a hall of 1 734 panels (51 x 34 cells of 300 mm) and 20 facilities, at the window's
//    centre and over a grid of pixels;
//  - one step of a kind-4 drag in the living room at 800 x 600: the pointer moves, the ray meets
//    the drag plane, the selected facility is shown at its new place and the frame is drawn;
//    beside it the frame alone, so that the step's own share shows.
// Under an X display (xvfb-run -a build/bin/PickBenchmark) the window draws with OpenGL; without
// one it runs on the offscreen platform with the engine's null driver, where nothing is drawn
// and the drag step measures picking and moving alone.
#include "CataloguePack.h"
#include "PackCatalogue.h"

#include "catalogue/ModuleCatalogues.h"
#include "ceiling/DesignReader.h"
#include "document/CSolidDocument.h"
#include "edit/DesignModeController.h"
#include "edit/Picker.h"
#include "scene/FacilityScene.h"
#include "view/CSolidWnd.h"
#include "view/XErrorTrap.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QUndoStack>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

const std::string kSource = VS_BENCH_SOURCE_DIR;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kHallCols = 51;
constexpr int kHallRows = 34;
constexpr size_t kHallFacilities = 20;

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/** The kitchen grown into a hall of kHallCols x kHallRows panels of 300 mm. */
std::string hallDesign()
{
    std::string text = readText(kSource + "/data/designs/kitchen.xml");
    const std::string outline = "0,0 30000,0 30000,24000 0,24000";
    const int w = kHallCols * 3000, h = kHallRows * 3000;
    const std::string grown = "0,0 " + std::to_string(w) + ",0 " + std::to_string(w) + "," +
                              std::to_string(h) + " 0," + std::to_string(h);
    for (size_t at = text.find(outline); at != std::string::npos; at = text.find(outline))
        text.replace(at, outline.size(), grown);
    std::ostringstream tiles;
    tiles << "<tiles>\n";
    for (int gy = 0; gy < kHallRows; ++gy)
        for (int gx = 0; gx < kHallCols; ++gx)
            tiles << "<tile tileTypeId=\"1101\" rotateDegree=\"0\" gx=\"" << gx << "\" gy=\"" << gy
                  << "\"/>\n";
    tiles << "</tiles>";
    const size_t from = text.find("<tiles>"), to = text.find("</tiles>") + 8;
    text.replace(from, to - from, tiles.str());
    return text;
}

/** A design shown in a 3D window in design mode, with its catalogue and an undo stack. */
class Session
{
public:
    Session(const std::string& designText, bool hall)
        : pack_(vhost::CataloguePack::load(testsupport::bundledPackIndex())), catalogue_(pack_)
    {
        vs::readDesign(designText, doc_, 1, catalogue_);
        if (hall)
            addFacilities(kHallFacilities);
        wnd_ = std::make_unique<CSolidWnd>(doc_);
        wnd_->setUndoStack(&stack_);
        wnd_->resize(kWidth, kHeight);
        if (QGuiApplication::platformName() == "xcb") {
            wnd_->show();
            QElapsedTimer timer;
            timer.start();
            while (timer.elapsed() < 5000 &&
                   !(wnd_->windowHandle() && wnd_->windowHandle()->isExposed()))
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        wnd_->CreateEngine();
        wnd_->SetModes(CSolidWnd::Designing, CSolidWnd::Globe, true);
        wnd_->DrawScene();
    }
    ~Session()
    {
        stack_.clear();
        wnd_->selection().clear();
        wnd_->DestroyEngine();
        wnd_.reset();
        catalogue_.facilities.releaseEngineObjects();
    }

    CSolidWnd& wnd() { return *wnd_; }
    CSolidDocument& doc() { return doc_; }
    const char* driver() const
    {
        return wnd_->driverKind() == CSolidWnd::DriverKind::OpenGL ? "OpenGL" : "null driver";
    }

private:
    /** Copies of the design's facilities, spread over the room, until it has `count`. */
    void addFacilities(size_t count)
    {
        const size_t original = doc_.solidFacilities.size();
        for (size_t i = 0; doc_.solidFacilities.size() < count && original > 0; ++i) {
            const CSolidFacility& model = *doc_.solidFacilities[i % original];
            auto copy = std::make_unique<CSolidFacility>();
            copy->facilityModel = model.facilityModel;
            copy->correctExtent = model.correctExtent;
            copy->size = model.size;
            copy->rotateDegree = model.rotateDegree;
            copy->position = {float(20000 + 12000 * (i % 8)), 0, float(30000 + 15000 * (i / 8))};
            doc_.solidFacilities.push_back(std::move(copy));
        }
    }

    vhost::CataloguePack pack_;
    testsupport::PackCatalogue catalogue_;
    CSolidDocument doc_;
    QUndoStack stack_;
    std::unique_ptr<CSolidWnd> wnd_;
};

void BM_PickOnTheHallAtTheCentre(benchmark::State& state)
{
    Session session(hallDesign(), true);
    int hits = 0;
    for (auto _ : state) {
        const PickResult hit = vs::pick(session.wnd(), kWidth / 2, kHeight / 2);
        hits += hit ? 1 : 0;
        benchmark::DoNotOptimize(hit);
    }
    state.SetLabel(session.driver());
    state.counters["hitShare"] = double(hits) / double(state.iterations());
}
BENCHMARK(BM_PickOnTheHallAtTheCentre)->Unit(benchmark::kMicrosecond);

void BM_PickOnTheHallOverAGrid(benchmark::State& state)
{
    Session session(hallDesign(), true);
    int i = 0;
    for (auto _ : state) {
        const int x = 50 + (i % 8) * 100, y = 50 + ((i / 8) % 6) * 100;
        benchmark::DoNotOptimize(vs::pick(session.wnd(), x, y));
        ++i;
    }
    state.SetLabel(session.driver());
}
BENCHMARK(BM_PickOnTheHallOverAGrid)->Unit(benchmark::kMicrosecond);

QMouseEvent mouse(QWidget& w, QEvent::Type type, QPoint p, Qt::MouseButton button,
                  Qt::MouseButtons held)
{
    return QMouseEvent(type, QPointF(p), QPointF(w.mapToGlobal(p)), button, held, Qt::NoModifier);
}

void BM_DragStepOfAFacilityInTheLivingRoom(benchmark::State& state)
{
    Session session(readText(kSource + "/data/designs/living_room.xml"), false);
    CSolidWnd& wnd = session.wnd();
    // The first pixel of a coarse grid that hits a facility.
    QPoint start(-1, -1);
    for (int y = 100; y < kHeight && start.x() < 0; y += 20)
        for (int x = 100; x < kWidth - 100 && start.x() < 0; x += 20)
            if (vs::pick(wnd, x, y).kind == PickResult::Kind::Facility)
                start = {x, y};
    if (start.x() < 0) {
        state.SkipWithError("no facility under the grid");
        return;
    }
    QMouseEvent press = mouse(wnd, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    QApplication::sendEvent(&wnd, &press);
    int step = 0;
    for (auto _ : state) {
        const QPoint p = start + QPoint((step % 20) * 3, (step % 10) * 2);
        QMouseEvent move = mouse(wnd, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
        QApplication::sendEvent(&wnd, &move); // pick on the drag plane, move, DrawScene
        ++step;
    }
    QMouseEvent release =
        mouse(wnd, QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    QApplication::sendEvent(&wnd, &release);
    state.SetLabel(session.driver());
}
BENCHMARK(BM_DragStepOfAFacilityInTheLivingRoom)->Unit(benchmark::kMillisecond)->UseRealTime();

/** The frame alone, for comparison with the drag step that draws one. */
void BM_RedrawOfTheLivingRoom(benchmark::State& state)
{
    Session session(readText(kSource + "/data/designs/living_room.xml"), false);
    for (auto _ : state)
        session.wnd().DrawScene();
    state.SetLabel(session.driver());
}
BENCHMARK(BM_RedrawOfTheLivingRoom)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    void* display = vs::openXDisplay();
    qputenv("QT_QPA_PLATFORM", display != nullptr ? "xcb" : "offscreen");
    if (display != nullptr)
        vs::closeXDisplay(display);
    else
        std::puts("PickBenchmark: no X display; the null driver draws nothing");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
