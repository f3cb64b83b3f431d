// The change-top perspective warp: a 1025 x 615 plan picture (the largest a 5 m x 3 m aspect
// plane gets) warped onto a 1280 x 800 client, over the default corners of a fitted photo and
// over a quadrilateral filling most of the client, on one thread and in bands on the
// default number. With OpenCV found at configure time the same
// warps run through its bilinear warpPerspective beside ours, on one thread and on all.
#include "samples/PerspectiveWarp.h"
#include "samples/StaticSampleGeometry.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <array>
#include <random>
#include <string>

#ifdef VS_BENCH_WITH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int kClientWidth = 1280;
constexpr int kClientHeight = 800;
constexpr int kSourceWidth = 1025;
constexpr int kSourceHeight = 615;

using Quad = std::array<QPointF, 4>;

const QImage& sourcePicture()
{
    static const QImage picture = [] {
        QImage image(kSourceWidth, kSourceHeight, QImage::Format_ARGB32);
        std::mt19937 random(11);
        for (int y = 0; y < image.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = 0xff000000u | (random() & 0xffffffu);
        }
        return image;
    }();
    return picture;
}

/** The default corners over a 4:3 photo fitted into the client. */
Quad defaultQuad()
{
    const IRect picture = vs::fitPhotoRect({kClientWidth, kClientHeight}, {1024, 768});
    const vs::SampleCorners corners =
        vs::cornersFromProjected(vs::defaultProjectedPoints(), picture);
    Quad quad;
    for (size_t i = 0; i < quad.size(); ++i)
        quad[i] = QPointF(corners[i]);
    return quad;
}

Quad largeQuad()
{
    return {QPointF(40, 30), QPointF(1240, 60), QPointF(1180, 770), QPointF(90, 740)};
}

Quad quadOf(const benchmark::State& state)
{
    return state.range(0) == 0 ? defaultQuad() : largeQuad();
}

void BM_WarpPictureToQuad(benchmark::State& state)
{
    const QImage& source = sourcePicture();
    const Quad quad = quadOf(state);
    const int threads = int(state.range(1));
    for (auto _ : state) {
        QImage out = vs::WarpPictureToQuad(source, quad, kClientWidth, kClientHeight, threads);
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetLabel(std::string(state.range(0) == 0 ? "default corners" : "large quad") +
                   (threads == 1 ? ", 1 thread" : ", default threads"));
}
BENCHMARK(BM_WarpPictureToQuad)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#ifdef VS_BENCH_WITH_OPENCV
/** OpenCV's bilinear warp of the same picture onto the same quadrilateral, white outside. */
void BM_OpenCvWarpPerspective(benchmark::State& state)
{
    const QImage& source = sourcePicture();
    const cv::Mat src(source.height(), source.width(), CV_8UC4,
                      const_cast<uchar*>(source.constBits()), size_t(source.bytesPerLine()));
    const Quad quad = quadOf(state);
    const cv::Point2f from[4] = {{0, 0},
                                 {float(kSourceWidth), 0},
                                 {float(kSourceWidth), float(kSourceHeight)},
                                 {0, float(kSourceHeight)}};
    cv::Point2f to[4];
    for (int i = 0; i < 4; ++i)
        to[i] = cv::Point2f(float(quad[size_t(i)].x()), float(quad[size_t(i)].y()));
    const cv::Mat transform = cv::getPerspectiveTransform(from, to);
    const int threads = cv::getNumThreads();
    cv::setNumThreads(int(state.range(1)));
    cv::Mat out;
    for (auto _ : state) {
        cv::warpPerspective(src, out, transform, cv::Size(kClientWidth, kClientHeight),
                            cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar::all(255));
        benchmark::DoNotOptimize(out.data);
    }
    cv::setNumThreads(threads);
    state.SetLabel(std::string(state.range(0) == 0 ? "default corners" : "large quad") +
                   (state.range(1) == 1 ? ", 1 thread" : ", default threads"));
}
BENCHMARK(BM_OpenCvWarpPerspective)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, -1})
    ->Args({1, -1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
#endif

} // namespace

BENCHMARK_MAIN();
