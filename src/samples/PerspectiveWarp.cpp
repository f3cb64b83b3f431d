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
#include <agg_trans_perspective.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define VS_WARP_AVX2 1
#else
#define VS_WARP_AVX2 0
#endif

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
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

/** The 2 x 2 filter's weights: bilinear, radius 1, weight 1 - d. */
const agg::image_filter_lut& bilinearFilter()
{
    static const agg::image_filter<agg::image_filter_bilinear> filter;
    return filter;
}

/** Cleared by tests to run the SSE2 path on processors with AVX2. */
std::atomic<bool> avx2Allowed{true};

/** True when the filter table holds AGG's bilinear weights, which can then be computed
 *  instead of looked up: 64 (256 - g) at f + 256 and 64 g at f for each subpixel offset f,
 *  with g = max(f, 1). (Offset 0 is not 2^14 and 0: the table's last entry is copied to its
 *  first and the pair is then normalised to 16 320 and 64.) */
bool tableIsLinear(const agg::int16* weights)
{
    for (int f = 0; f < agg::image_subpixel_scale; ++f) {
        const int g = std::max(f, 1);
        if (weights[f + agg::image_subpixel_scale] != 64 * (agg::image_subpixel_scale - g) ||
            weights[f] != 64 * g)
            return false;
    }
    return true;
}

/** The 2 x 2 bilinear image filter over a projective transform, pixel for pixel what AGG's
 *  span_image_filter_rgba_2x2 gives through span_interpolator_trans and image_accessor_clone
 *  with the bilinear table: the same sample positions and 1/256-pixel rounding, the same 14-bit
 *  weights, truncated sums and premultiplied clamp, the border repeated beyond the picture.
 *  The stock pipeline calls the transform through a pointer for each pixel and checks the
 *  border for each of the four reads; here spans whose samples need no clamp run in chunks,
 *  positions four at a time (SSE2, or AVX2 where the processor has it) and then the reads.
 *  A quadrilateral filling most of a 1 280 x 800 client went from 16 ms to under 9 ms on one
 *  core. */
class PerspectiveBilinearSpan
{
public:
    using color_type = agg::rgba8;

    PerspectiveBilinearSpan(const QImage& source, const ClampedPerspective& toSource,
                            const agg::image_filter_lut& filter)
        : rows_(source.constBits()), stride_(source.bytesPerLine()), width_(source.width()),
          height_(source.height()), toSource_(toSource),
          weights_(filter.weight_array() +
                   ((filter.diameter() / 2 - 1) << agg::image_subpixel_shift)),
          linearWeights_(tableIsLinear(weights_))
#if VS_WARP_AVX2
          ,
          avx2_(avx2Allowed.load(std::memory_order_relaxed) && __builtin_cpu_supports("avx2"))
#endif
    {
    }

    void prepare()
    {
    }

    void generate(color_type* span, int x, int y, unsigned len)
    {
        if (len > 0 && spanStaysInRange(x, y, len))
            generateInRange(span, x, y, len);
        else
            generateClamped(span, x, y, len);
    }

private:
    static constexpr int kScale = agg::image_subpixel_scale;
    static constexpr int kMask = agg::image_subpixel_mask;
    static constexpr int kShift = agg::image_subpixel_shift;

    /** True when the transform's denominator keeps one sign along the span and both ends map
     *  within the clamp's range: a projective map takes the segment between them onto the
     *  segment between their images, so no pixel of the span needs the clamp. */
    bool spanStaysInRange(int x, int y, unsigned len) const
    {
        const agg::trans_perspective& t = toSource_.perspective;
        const double py = y + 0.5;
        const double first = x + 0.5, last = x + double(len) - 0.5;
        const double w0 = first * t.w0 + py * t.w1 + t.w2;
        const double w1 = last * t.w0 + py * t.w1 + t.w2;
        if (!(w0 * w1 > 0))
            return false;
        for (double px : {first, last}) {
            double sx = px, sy = py;
            t.transform(&sx, &sy);
            if (!(std::fabs(sx) < kCornerLimit && std::fabs(sy) < kCornerLimit))
                return false;
        }
        return true;
    }

    /** A span that needs no clamp. The forms are AGG's own, evaluated in its order with the
     *  row's terms taken out of the loop; the 1/256-pixel scale is a power of two and folds
     *  into the numerators exactly, so the positions are bit for bit those of the stock
     *  interpolator. */
    void generateInRange(color_type* span, int x, int y, unsigned len) const
    {
        const agg::trans_perspective& t = toSource_.perspective;
        const double py = y + 0.5;
        const Forms f{t.w0,           py * t.w1,           t.w2,
                      t.sx * kScale,  py * t.shx * kScale, t.tx * kScale,
                      t.shy * kScale, py * t.sy * kScale,  t.ty * kScale};
        double px = x + 0.5;
#if defined(__SSE2__)
        if (linearWeights_)
            while (len >= 4) {
                const int count = int(std::min<unsigned>(kChunk, len & ~3u));
                sampleChunk(span, f, px, count);
                len -= unsigned(count), span += count, px += count;
            }
#endif
        for (; len > 0; --len, ++span, px += 1.0) {
            const double m = 1.0 / (px * f.w + f.rowW + f.w2);
            *span = sample(agg::iround(m * (px * f.x + f.rowX + f.tx)),
                           agg::iround(m * (px * f.y + f.rowY + f.ty)));
        }
    }

    void generateClamped(color_type* span, int x, int y, unsigned len) const
    {
        const double py = y + 0.5;
        double px = x + 0.5;
        for (; len > 0; --len, ++span, px += 1.0) {
            double sx = px, sy = py;
            toSource_.transform(&sx, &sy);
            *span = sample(agg::iround(sx * kScale), agg::iround(sy * kScale));
        }
    }

    /** The three linear forms of a row: the denominator and the two numerators, scaled. */
    struct Forms
    {
        double w, rowW, w2;
        double x, rowX, tx;
        double y, rowY, ty;
    };

    /** The filtered colour at a source position in 1/256 pixels. */
    color_type sample(int xHr, int yHr) const
    {
        xHr -= kScale / 2;
        yHr -= kScale / 2;
        const int xLr = xHr >> kShift;
        const int yLr = yHr >> kShift;
        xHr &= kMask;
        yHr &= kMask;
        constexpr int half = agg::image_filter_scale / 2;
        const unsigned w00 =
            (weights_[xHr + kScale] * weights_[yHr + kScale] + half) >> agg::image_filter_shift;
        const unsigned w10 =
            (weights_[xHr] * weights_[yHr + kScale] + half) >> agg::image_filter_shift;
        const unsigned w01 =
            (weights_[xHr + kScale] * weights_[yHr] + half) >> agg::image_filter_shift;
        const unsigned w11 = (weights_[xHr] * weights_[yHr] + half) >> agg::image_filter_shift;

        // Beyond the border the border repeats, one coordinate at a time.
        const int x0 = std::clamp(xLr, 0, width_ - 1);
        const int x1 = std::clamp(xLr + 1, 0, width_ - 1);
        const uchar* row0 = rows_ + qsizetype(std::clamp(yLr, 0, height_ - 1)) * stride_;
        const uchar* row1 = rows_ + qsizetype(std::clamp(yLr + 1, 0, height_ - 1)) * stride_;
        const uchar* p00 = row0 + 4 * x0;
        const uchar* p10 = row0 + 4 * x1;
        const uchar* p01 = row1 + 4 * x0;
        const uchar* p11 = row1 + 4 * x1;
        unsigned fg[4];
        for (int c = 0; c < 4; ++c)
            fg[c] = (w00 * p00[c] + w10 * p10[c] + w01 * p01[c] + w11 * p11[c]) >>
                    agg::image_filter_shift; // truncated, as AGG's filter does
        // Bytes are blue, green, red, alpha; no colour may exceed alpha.
        const unsigned a = std::min(fg[3], 255u);
        return color_type(agg::int8u(std::min(fg[2], a)), agg::int8u(std::min(fg[1], a)),
                          agg::int8u(std::min(fg[0], a)), agg::int8u(a));
    }

#if defined(__SSE2__)
    /** Pixels per chunk of the two-pass SSE2 loop. */
    static constexpr int kChunk = 64;

    /** Where a chunk's pixels sample: the 2 x 2 block's top-left pixel, the weight pairs
     *  (w00, w10) and (w01, w11) as two 16-bit halves each, and the positions in 1/256 pixels
     *  for pixels whose block is not wholly inside the picture (`inside` 0). */
    struct ChunkSamples
    {
        alignas(16) int xLr[kChunk], yLr[kChunk], top[kChunk], bottom[kChunk];
        alignas(16) int xHr[kChunk], yHr[kChunk], inside[kChunk];
        int width, height; // of the picture
    };

    /** `count` (a multiple of four, at most kChunk) pixels from px on, in two passes: first
     *  the positions and weights of all of them, four at a time (the divisions then overlap
     *  instead of waiting on each other), then the reads and sums pixel by pixel. */
    void sampleChunk(color_type* span, const Forms& f, double px, int count) const
    {
        ChunkSamples c;
        c.width = width_;
        c.height = height_;
        // px stays a double that is stepped: converting the index each time would make every
        // group wait for the previous group's division (cvtsi2sd writes half a register).
#if VS_WARP_AVX2
        if (avx2_)
            for (int i = 0; i < count; i += 4, px += 4.0)
                positionsOfFourAvx2(c, i, f, px);
        else
#endif
            for (int i = 0; i < count; i += 4, px += 4.0)
                positionsOfFour(c, i, f, px);
        const __m128i zero = _mm_setzero_si128();
        for (int i = 0; i < count; ++i) {
            if (!c.inside[i]) {
                span[i] = sample(c.xHr[i], c.yHr[i]);
                continue;
            }
            const uchar* p = rows_ + qsizetype(c.yLr[i]) * stride_ + 4 * c.xLr[i];
            // Two neighbouring pixels per row, channels interleaved: b0 b1 g0 g1 r0 r1 a0 a1.
            auto channels = [&](const uchar* row) {
                const __m128i words =
                    _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row)), zero);
                return _mm_unpacklo_epi16(words, _mm_srli_si128(words, 8));
            };
            const __m128i sum =
                _mm_add_epi32(_mm_madd_epi16(channels(p), _mm_set1_epi32(c.top[i])),
                              _mm_madd_epi16(channels(p + stride_), _mm_set1_epi32(c.bottom[i])));
            // Truncated as AGG's filter does; lanes to red, green, blue, alpha; bytes.
            const __m128i words = _mm_shufflelo_epi16(
                _mm_packs_epi32(_mm_srli_epi32(sum, agg::image_filter_shift), zero),
                _MM_SHUFFLE(3, 0, 1, 2));
            const uint32_t v = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, zero)));
            // No colour above alpha (alpha itself is already saturated at 255).
            const uint32_t a = v >> 24;
            span[i] = color_type(agg::int8u(std::min(v & 0xffu, a)),
                                 agg::int8u(std::min((v >> 8) & 0xffu, a)),
                                 agg::int8u(std::min((v >> 16) & 0xffu, a)), agg::int8u(a));
        }
    }

    /** Positions of four pixels from px on, two at a time in double precision and rounded as
     *  agg::iround does (half away from zero). */
    static void positionsOfFour(ChunkSamples& c, int i, const Forms& f, double px)
    {
        const __m128d one = _mm_set1_pd(1.0);
        const __m128d sign = _mm_set1_pd(-0.0);
        const __m128d half = _mm_set1_pd(0.5);
        auto iround = [&](__m128d v) {
            return _mm_cvttpd_epi32(_mm_add_pd(v, _mm_or_pd(_mm_and_pd(v, sign), half)));
        };
        __m128i rounded[2][2];
        for (int pair = 0; pair < 2; ++pair) {
            const __m128d p = _mm_set_pd(px + 2 * pair + 1, px + 2 * pair);
            const __m128d m = _mm_div_pd(
                one, _mm_add_pd(_mm_add_pd(_mm_mul_pd(p, _mm_set1_pd(f.w)), _mm_set1_pd(f.rowW)),
                                _mm_set1_pd(f.w2)));
            const __m128d nx =
                _mm_add_pd(_mm_add_pd(_mm_mul_pd(p, _mm_set1_pd(f.x)), _mm_set1_pd(f.rowX)),
                           _mm_set1_pd(f.tx));
            const __m128d ny =
                _mm_add_pd(_mm_add_pd(_mm_mul_pd(p, _mm_set1_pd(f.y)), _mm_set1_pd(f.rowY)),
                           _mm_set1_pd(f.ty));
            rounded[0][pair] = iround(_mm_mul_pd(m, nx));
            rounded[1][pair] = iround(_mm_mul_pd(m, ny));
        }
        // Joined in registers: halves stored and read back whole would stall store forwarding.
        storePositions(c, i, _mm_unpacklo_epi64(rounded[0][0], rounded[0][1]),
                       _mm_unpacklo_epi64(rounded[1][0], rounded[1][1]));
    }

#if VS_WARP_AVX2
    /** positionsOfFour four at a time, for processors with AVX2 (the same operations in the
     *  same order, so the same positions). */
    __attribute__((target("avx2"))) static void positionsOfFourAvx2(ChunkSamples& c, int i,
                                                                    const Forms& f, double px)
    {
        const __m256d p = _mm256_add_pd(_mm256_set1_pd(px), _mm256_set_pd(3, 2, 1, 0));
        const __m256d m = _mm256_div_pd(
            _mm256_set1_pd(1.0), _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(p, _mm256_set1_pd(f.w)),
                                                             _mm256_set1_pd(f.rowW)),
                                               _mm256_set1_pd(f.w2)));
        const __m256d nx = _mm256_add_pd(
            _mm256_add_pd(_mm256_mul_pd(p, _mm256_set1_pd(f.x)), _mm256_set1_pd(f.rowX)),
            _mm256_set1_pd(f.tx));
        const __m256d ny = _mm256_add_pd(
            _mm256_add_pd(_mm256_mul_pd(p, _mm256_set1_pd(f.y)), _mm256_set1_pd(f.rowY)),
            _mm256_set1_pd(f.ty));
        const __m256d sx = _mm256_mul_pd(m, nx), sy = _mm256_mul_pd(m, ny);
        const __m256d sign = _mm256_set1_pd(-0.0), half = _mm256_set1_pd(0.5);
        storePositions(
            c, i,
            _mm256_cvttpd_epi32(_mm256_add_pd(sx, _mm256_or_pd(_mm256_and_pd(sx, sign), half))),
            _mm256_cvttpd_epi32(_mm256_add_pd(sy, _mm256_or_pd(_mm256_and_pd(sy, sign), half))));
    }
#endif

    /** Stores four rounded positions with their 2 x 2 blocks, their weights computed from the
     *  subpixel offsets (64 (256 - gx) and 64 (256 - gy) give ((256 - gx)(256 - gy) + 2) >> 2,
     *  and so on) and whether each block lies inside the picture. */
    static AGG_INLINE void storePositions(ChunkSamples& c, int i, __m128i xRounded,
                                          __m128i yRounded)
    {
        const __m128i centre = _mm_set1_epi32(kScale / 2);
        const __m128i xHr = _mm_sub_epi32(xRounded, centre);
        const __m128i yHr = _mm_sub_epi32(yRounded, centre);
        const __m128i xLr = _mm_srai_epi32(xHr, kShift);
        const __m128i yLr = _mm_srai_epi32(yHr, kShift);
        // Inside when 0 <= lr <= size - 2, both ways.
        const __m128i minusOne = _mm_set1_epi32(-1);
        const __m128i inside =
            _mm_and_si128(_mm_and_si128(_mm_cmpgt_epi32(xLr, minusOne),
                                        _mm_cmpgt_epi32(_mm_set1_epi32(c.width - 1), xLr)),
                          _mm_and_si128(_mm_cmpgt_epi32(yLr, minusOne),
                                        _mm_cmpgt_epi32(_mm_set1_epi32(c.height - 1), yLr)));

        // g = max(f, 1) per lane; the lanes hold at most 255, so 16-bit max serves.
        const __m128i mask = _mm_set1_epi32(kMask);
        const __m128i least = _mm_set1_epi32(1);
        const __m128i full = _mm_set1_epi32(kScale);
        const __m128i bx = _mm_max_epi16(_mm_and_si128(xHr, mask), least);
        const __m128i by = _mm_max_epi16(_mm_and_si128(yHr, mask), least);
        const __m128i ax = _mm_sub_epi32(full, bx);
        const __m128i ay = _mm_sub_epi32(full, by);
        // Values of at most 256 in 32-bit lanes: madd multiplies the low halves exactly.
        const __m128i two = _mm_set1_epi32(2);
        auto weight = [&](__m128i u, __m128i v) {
            return _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(u, v), two), 2);
        };
        auto store = [&](int* to, __m128i v) {
            _mm_store_si128(reinterpret_cast<__m128i*>(to + i), v);
        };
        store(c.top, _mm_or_si128(weight(ax, ay), _mm_slli_epi32(weight(bx, ay), 16)));
        store(c.bottom, _mm_or_si128(weight(ax, by), _mm_slli_epi32(weight(bx, by), 16)));
        store(c.xLr, xLr);
        store(c.yLr, yLr);
        store(c.xHr, xRounded);
        store(c.yHr, yRounded);
        store(c.inside, inside);
    }
#endif

    const uchar* rows_;
    qsizetype stride_;
    int width_;
    int height_;
    const ClampedPerspective& toSource_;
    const agg::int16* weights_;
    bool linearWeights_;
#if VS_WARP_AVX2
    bool avx2_;
#endif
};

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

    PerspectiveBilinearSpan filter(source, toSource, bilinearFilter());
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

QImage WarpPictureToQuad(const QImage& source, const std::array<QPointF, 4>& corners, int width,
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

void allowWarpAvx2(bool allowed)
{
    avx2Allowed.store(allowed, std::memory_order_relaxed);
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
