#include "samples/PerspectiveWarp.h"

#include "ceiling/PlanPicture.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"

#include <agg_image_accessors.h>
#include <agg_image_filters.h>
#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_renderer_scanline.h>
#include <agg_rendering_buffer.h>
#include <agg_scanline_u.h>
#include <agg_span_allocator.h>
#include <agg_span_image_filter_rgba.h>
#include <agg_span_interpolator_trans.h>
#include <agg_trans_perspective.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <thread>
#include <vector>

namespace vs {
namespace {

/** QImage::Format_ARGB32 words in memory on a little-endian machine: blue, green, red, alpha. */
using PixelFormat = agg::pixfmt_bgra32;

/** Corners beyond this many pixels would overflow the rasteriser's fixed-point coordinates. */
constexpr double kCornerLimit = double(1 << 20);

/** The projective transform from the client to the source, with its results kept within a
 *  range the span filter's fixed-point arithmetic can hold. Pixels on the anti-aliased rim of
 *  a steep quadrilateral have centres just outside it, which the transform may throw towards
 *  infinity; they only need to repeat the border. */
struct ClampedPerspective
{
    agg::trans_perspective perspective;

    void transform(double* x, double* y) const
    {
        perspective.transform(x, y);
        *x = std::isfinite(*x) ? std::clamp(*x, -kCornerLimit, kCornerLimit) : 0.0;
        *y = std::isfinite(*y) ? std::clamp(*y, -kCornerLimit, kCornerLimit) : 0.0;
    }
};

bool usableCorners(const std::array<QPointF, 4>& corners)
{
    return std::all_of(corners.begin(), corners.end(), [](const QPointF& p) {
        return std::isfinite(p.x()) && std::isfinite(p.y()) && std::fabs(p.x()) <= kCornerLimit &&
               std::fabs(p.y()) <= kCornerLimit;
    });
}

agg::rendering_buffer bufferOf(QImage& image)
{
    return agg::rendering_buffer(image.bits(), unsigned(image.width()), unsigned(image.height()),
                                 int(image.bytesPerLine()));
}

/** A buffer over a picture that is only read. AGG's pixel formats take mutable rows, but the
 *  image accessor never writes through them; this spares a copy of the source per warp. */
agg::rendering_buffer readOnlyBufferOf(const QImage& image)
{
    return agg::rendering_buffer(const_cast<uchar*>(image.constBits()), unsigned(image.width()),
                                 unsigned(image.height()), int(image.bytesPerLine()));
}

/** The 2 x 2 filter's weights: bilinear, radius 1, weight 1 - d. */
const agg::image_filter_lut& bilinearFilter()
{
    static const agg::image_filter<agg::image_filter_bilinear> filter;
    return filter;
}

/** Fills the rows [top, bottom) of the quadrilateral in `output`. Each band rasterises the
 *  whole outline against the whole picture and renders only its own rows, so bands can run in
 *  parallel and give exactly the pixels one pass would. */
void fillBand(QImage& output, const QImage& source, const double* quad,
              const ClampedPerspective& toSource, int top, int bottom)
{
    agg::rendering_buffer outBuffer = bufferOf(output);
    PixelFormat outPixels(outBuffer);
    agg::renderer_base<PixelFormat> renderer(outPixels);

    agg::rasterizer_scanline_aa<> rasterizer;
    rasterizer.clip_box(0, 0, output.width(), output.height());
    rasterizer.move_to_d(quad[0], quad[1]);
    for (int i = 1; i < 4; ++i)
        rasterizer.line_to_d(quad[2 * i], quad[2 * i + 1]);
    rasterizer.close_polygon();
    if (!rasterizer.rewind_scanlines())
        return;
    if (top > rasterizer.min_y() && !rasterizer.navigate_scanline(top))
        return;

    agg::rendering_buffer sourceBuffer = readOnlyBufferOf(source);
    PixelFormat sourcePixels(sourceBuffer);
    using Accessor = agg::image_accessor_clone<PixelFormat>;
    using Interpolator = agg::span_interpolator_trans<const ClampedPerspective>;
    using Filter = agg::span_image_filter_rgba_2x2<Accessor, Interpolator>;
    Accessor accessor(sourcePixels);
    Interpolator interpolator(toSource);
    Filter filter(accessor, interpolator, const_cast<agg::image_filter_lut&>(bilinearFilter()));
    agg::span_allocator<PixelFormat::color_type> spans;
    agg::scanline_u8 scanline;
    scanline.reset(rasterizer.min_x(), rasterizer.max_x());
    filter.prepare();
    while (rasterizer.sweep_scanline(scanline) && scanline.y() < bottom)
        agg::render_scanline_aa(scanline, renderer, spans, filter);
}

/** Pixels per band below which a second thread costs more than it saves. */
constexpr long long kPixelsPerThread = 200000;

int bandCount(int width, int height, int threads)
{
    if (threads <= 0) {
        const long long pixels = (long long)width * height;
        const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
        threads = int(std::min<long long>(std::min(cores, 4), pixels / kPixelsPerThread));
    }
    return std::clamp(threads, 1, std::max(1, height));
}

void fillQuad(QImage& output, const QImage& source, const std::array<QPointF, 4>& corners,
              int threads)
{
    double quad[8];
    for (int i = 0; i < 4; ++i) {
        quad[2 * i] = corners[size_t(i)].x();
        quad[2 * i + 1] = corners[size_t(i)].y();
    }
    ClampedPerspective toSource;
    if (!toSource.perspective.quad_to_rect(quad, 0, 0, source.width(), source.height()) ||
        !toSource.perspective.is_valid())
        return;
    (void)bilinearFilter(); // built once, before any band reads it

    const int bands = bandCount(output.width(), output.height(), threads);
    const int height = output.height();
    std::vector<std::thread> workers;
    std::vector<std::exception_ptr> errors(static_cast<size_t>(bands));
    for (int b = 1; b < bands; ++b)
        workers.emplace_back([&, b] {
            try {
                fillBand(output, source, quad, toSource, int((long long)height * b / bands),
                         int((long long)height * (b + 1) / bands));
            } catch (...) {
                errors[size_t(b)] = std::current_exception();
            }
        });
    try {
        fillBand(output, source, quad, toSource, 0, height / bands);
    } catch (...) {
        errors[0] = std::current_exception();
    }
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& error : errors)
        if (error)
            std::rethrow_exception(error);
}

} // namespace

QImage warpPictureToQuad(const QImage& source, const std::array<QPointF, 4>& corners, int width,
                         int height, int threads)
{
    if (width <= 0 || height <= 0 || width > kMaxWarpSide || height > kMaxWarpSide)
        return QImage();
    QImage output(width, height, QImage::Format_ARGB32);
    if (output.isNull())
        throw std::bad_alloc();
    output.fill(0xffffffffu);
    if (source.isNull() || !usableCorners(corners))
        return output;
    const QImage pixels = source.format() == QImage::Format_ARGB32
                              ? source
                              : source.convertToFormat(QImage::Format_ARGB32);
    if (pixels.isNull())
        throw std::bad_alloc();
    fillQuad(output, pixels, corners, threads);
    return output;
}

QImage planPictureSource(CSolidDocument& document)
{
    if (!document.ceiling || !document.ceiling->root)
        return QImage();
    CGridMapping& plane = *document.ceiling->root;
    if (plane.picture.isNull()) {
        createPlanPicture(plane);
        paintPlanPicture(plane);
    }
    if (plane.picture.isNull())
        return QImage();
    QImage source = plane.picture.convertToFormat(QImage::Format_ARGB32);
    if (source.isNull())
        throw std::bad_alloc();
    for (int y = 0; y < source.height(); ++y) {
        QRgb* px = reinterpret_cast<QRgb*>(source.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            px[x] |= 0xff000000u;
    }
    return source;
}

} // namespace vs
