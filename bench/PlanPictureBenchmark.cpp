// The plan picture of a 30 m x 20 m ceiling plane of 600 mm panels (50 x 34 cells, 1025 pixels
// wide): painting it whole, and repainting one cell after a panel changed.
#include "catalogue/CCandyType.h"
#include "ceiling/CeilingLoad.h"
#include "ceiling/GridLayout.h"
#include "ceiling/PlanPicture.h"
#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <memory>
#include <vector>

namespace {

/** A 64 x 64 panel picture with a frame and a darker corner, PNG encoded. */
std::vector<unsigned char> panelPng()
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(qRgb(230, 230, 220));
    for (int i = 0; i < 64; ++i) {
        image.setPixel(i, 0, qRgb(150, 150, 150));
        image.setPixel(0, i, qRgb(150, 150, 150));
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, qRgb(120, 120, 200));
    return Picture(image).encode(PictureFormat::Png);
}

struct PanelledPlane
{
    std::vector<unsigned char> png = panelPng();
    std::unique_ptr<CCandyType> type;
    SolidCeiling ceiling;

    PanelledPlane()
    {
        CandyTypeInfo info;
        info.id = 1;
        info.kind = 1;
        info.width = info.height = 6000;
        info.pictureData = png.data();
        info.pictureSize = int(png.size());
        type = std::make_unique<CCandyType>(info, nullptr);

        ceiling.root = std::make_unique<CGridMapping>(&ceiling, nullptr);
        CGridMapping& plane = *ceiling.root;
        plane.gridWidth = plane.gridHeight = 6000;
        plane.outlinePoints = {{0, 0}, {300000, 0}, {300000, 200000}, {0, 200000}};
        vs::finishOutlines(plane);
        for (int row = 0; row < plane.rowCount; ++row)
            for (int col = 0; col < plane.colCount; ++col) {
                auto tile = std::make_unique<CTile>();
                tile->candyType = type.get();
                tile->gx = col;
                tile->gy = row;
                tile->width = tile->height = 6000;
                tile->rotateDegree = 90 * ((row + col) % 4);
                vs::addLoadedTile(plane, std::move(tile));
            }
        vs::createPlanPicture(plane);
    }

    CGridMapping& plane() { return *ceiling.root; }
};

void BM_PaintPlanPicture(benchmark::State& state)
{
    PanelledPlane fixture;
    for (auto _ : state) {
        vs::paintPlanPicture(fixture.plane());
        benchmark::DoNotOptimize(fixture.plane().picture.constBits());
    }
    state.counters["width"] = fixture.plane().picture.width();
    state.counters["tiles"] = double(fixture.plane().tiles.size());
}
BENCHMARK(BM_PaintPlanPicture)->Unit(benchmark::kMillisecond);

void BM_RepaintOneCell(benchmark::State& state)
{
    PanelledPlane fixture;
    CGridMapping& plane = fixture.plane();
    vs::paintPlanPicture(plane);
    CTile& tile = *plane.tiles[20 * plane.colCount + 25];
    const IRect cell = vs::pixelRectOfCells(plane, {tile.gx, tile.gy, tile.lastCol, tile.lastRow});
    for (auto _ : state) {
        tile.rotateDegree = (tile.rotateDegree + 90) % 360;
        vs::repaintPlanRect(plane, cell);
        benchmark::DoNotOptimize(plane.picture.constBits());
    }
}
BENCHMARK(BM_RepaintOneCell)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
