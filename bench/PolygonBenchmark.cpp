// The polygon work of one ceiling plane of 30 m x 20 m (300 000 x 200 000 design units) with
// three docked rectangular children: the opening, the face mesh and the drawn mesh clipped
// square by square (2000 x 2000 units, 15 000 squares).
#include "ceiling/PolygonOps.h"

#include <benchmark/benchmark.h>

namespace {

struct Plane
{
    PlanPolygon indented = PlanPolygon::fromRect(0, 0, 300000, 200000);
    PlanPolygon a = PlanPolygon::fromRect(20500, 30500, 80500, 70500);
    PlanPolygon b = PlanPolygon::fromRect(120000, 50000, 200000, 150000);
    PlanPolygon c = PlanPolygon::fromRect(231000, 121300, 287700, 188800);
    PlanPolygon open() const { return vs::openPolygon(indented, {&a, &b, &c}); }
};

void BM_OpenPolygon(benchmark::State& state)
{
    const Plane plane;
    for (auto _ : state)
        benchmark::DoNotOptimize(plane.open());
}
BENCHMARK(BM_OpenPolygon)->Unit(benchmark::kMillisecond);

void BM_FaceMesh(benchmark::State& state)
{
    const PlanPolygon open = Plane().open();
    for (auto _ : state)
        benchmark::DoNotOptimize(vs::triangulate(open));
}
BENCHMARK(BM_FaceMesh)->Unit(benchmark::kMillisecond);

// Converts each square's strips to indexed triangles as the scene does, then drops them.
void BM_OpenAndDrawnMeshBySquares(benchmark::State& state)
{
    const Plane plane;
    std::vector<RPoint> vertices;
    size_t triangles = 0;
    for (auto _ : state) {
        triangles = 0;
        const PlanPolygon open = plane.open();
        vs::clipEachSquare(open, 2000, [&](const RRect&, const TriangleStrips& strips) {
            vertices.clear();
            triangles += vs::stripTriangleIndices(strips, &vertices).size() / 3;
        });
    }
    state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_OpenAndDrawnMeshBySquares)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
