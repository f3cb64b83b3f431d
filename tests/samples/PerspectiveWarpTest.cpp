// The AGG warp of a plan picture onto a quadrilateral, checked against a projective transform
// and bilinear sampling computed here from first principles; degenerate and hostile corners.
#include "samples/PerspectiveWarp.h"

#include "ceiling/CeilingFixtures.h"
#include "ceiling/PlanPicture.h"
#include "document/CSolidDocument.h"

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
#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

namespace {

using vs::kMaxWarpSide;
using vs::planPictureSource;
using vs::WarpPictureToQuad;
using Corners = std::array<QPointF, 4>;

constexpr QRgb kWhite = 0xffffffffu;

/** A 3 x 3 projective matrix mapping (x, y) to ((a x + b y + c) / w, (d x + e y + f) / w) with
 *  w = g x + h y + 1. */
struct Homography
{
    double m[8];

    QPointF map(double x, double y) const
    {
        const double w = m[6] * x + m[7] * y + 1;
        return {(m[0] * x + m[1] * y + m[2]) / w, (m[3] * x + m[4] * y + m[5]) / w};
    }
};

/** Solves for the homography taking from[i] to to[i] (eight equations, Gauss-Jordan with
 *  partial pivoting). */
Homography solveHomography(const Corners& from, const Corners& to)
{
    double a[8][9] = {};
    for (int i = 0; i < 4; ++i) {
        const double x = from[i].x(), y = from[i].y(), u = to[i].x(), v = to[i].y();
        double* r1 = a[2 * i];
        double* r2 = a[2 * i + 1];
        r1[0] = x, r1[1] = y, r1[2] = 1, r1[6] = -u * x, r1[7] = -u * y, r1[8] = u;
        r2[3] = x, r2[4] = y, r2[5] = 1, r2[6] = -v * x, r2[7] = -v * y, r2[8] = v;
    }
    for (int c = 0; c < 8; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 8; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        std::swap(a[c], a[pivot]);
        for (int r = 0; r < 8; ++r) {
            if (r == c)
                continue;
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < 9; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    Homography h;
    for (int i = 0; i < 8; ++i)
        h.m[i] = a[i][8] / a[i][i];
    return h;
}

/** Bilinear sample at source position (sx, sy), pixel centres at half-integers, borders
 *  repeated; returns one channel (shift 0 blue ... 24 alpha) as a double. */
double bilinear(const QImage& image, double sx, double sy, int shift)
{
    const double u = sx - 0.5, v = sy - 0.5;
    const int i = int(std::floor(u)), j = int(std::floor(v));
    const double tx = u - i, ty = v - j;
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, image.width() - 1);
        y = std::clamp(y, 0, image.height() - 1);
        return double((image.pixel(x, y) >> shift) & 0xff);
    };
    return (1 - ty) * ((1 - tx) * at(i, j) + tx * at(i + 1, j)) +
           ty * ((1 - tx) * at(i, j + 1) + tx * at(i + 1, j + 1));
}

/** Distance of p from the line through a and b. */
double distanceToLine(QPointF p, QPointF a, QPointF b)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    return std::fabs(dx * (p.y() - a.y()) - dy * (p.x() - a.x())) / std::hypot(dx, dy);
}

/** True when p lies inside the convex quadrilateral q at least `margin` from every edge. */
bool deepInside(QPointF p, const Corners& q, double margin)
{
    double sign = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF a = q[i], b = q[(i + 1) % 4];
        const double cross = (b.x() - a.x()) * (p.y() - a.y()) - (b.y() - a.y()) * (p.x() - a.x());
        if (sign == 0)
            sign = cross > 0 ? 1 : -1;
        if (cross * sign <= 0 || distanceToLine(p, a, b) < margin)
            return false;
    }
    return true;
}

QImage noise(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xff000000u | (random() & 0xffffffu));
    return image;
}

bool allWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                return false;
    return true;
}

TEST(WarpPictureToQuadTest, MatchesIndependentProjectiveBilinearSampling)
{
    const QImage source = noise(16, 12, 7);
    const Corners quad = {QPointF(6, 4), QPointF(58, 9), QPointF(52, 44), QPointF(3, 40)};
    const QImage out = WarpPictureToQuad(source, quad, 64, 48);
    ASSERT_EQ(out.size(), QSize(64, 48));
    ASSERT_EQ(out.format(), QImage::Format_ARGB32);

    const Corners rect = {QPointF(0, 0), QPointF(16, 0), QPointF(16, 12), QPointF(0, 12)};
    const Homography toSource = solveHomography(quad, rect);
    int compared = 0;
    double worst = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QPointF centre(x + 0.5, y + 0.5);
            if (!deepInside(centre, quad, 1.0))
                continue;
            const QPointF s = toSource.map(centre.x(), centre.y());
            for (int shift = 0; shift <= 24; shift += 8) {
                const double expected = bilinear(source, s.x(), s.y(), shift);
                const double got = (out.pixel(x, y) >> shift) & 0xff;
                worst = std::max(worst, std::fabs(got - expected));
            }
            ++compared;
        }
    EXPECT_GT(compared, 1200);
    // Fixed-point positions (1/256 pixel) and 14-bit weights: at most about one level off.
    EXPECT_LE(worst, 2.0);
}

/** The homography as an AGG transformer. (AGG's own perspective header defines functions
 *  out of line and cannot be included beside the library's copy.) */
struct HomographyTransform
{
    Homography h;
    void transform(double* x, double* y) const
    {
        const QPointF p = h.map(*x, *y);
        *x = p.x(), *y = p.y();
    }
};

/** The same warp through AGG's stock pipeline: span_image_filter_rgba_2x2 over
 *  span_interpolator_trans and image_accessor_clone, with the bilinear filter table. */
QImage stockAggWarp(const QImage& source, const Corners& corners, int width, int height)
{
    QImage output(width, height, QImage::Format_ARGB32);
    output.fill(kWhite);
    double quad[8];
    for (int i = 0; i < 4; ++i)
        quad[2 * i] = corners[i].x(), quad[2 * i + 1] = corners[i].y();
    const Corners rect = {QPointF(0, 0), QPointF(source.width(), 0),
                          QPointF(source.width(), source.height()), QPointF(0, source.height())};
    const HomographyTransform toSource{solveHomography(corners, rect)};
    using PixelFormat = agg::pixfmt_bgra32;
    agg::rendering_buffer outBuffer(output.bits(), unsigned(width), unsigned(height),
                                    int(output.bytesPerLine()));
    PixelFormat outPixels(outBuffer);
    agg::renderer_base<PixelFormat> renderer(outPixels);
    QImage copy = source;
    agg::rendering_buffer sourceBuffer(copy.bits(), unsigned(copy.width()), unsigned(copy.height()),
                                       int(copy.bytesPerLine()));
    PixelFormat sourcePixels(sourceBuffer);
    agg::image_accessor_clone<PixelFormat> accessor(sourcePixels);
    agg::span_interpolator_trans<const HomographyTransform> interpolator(toSource);
    agg::image_filter<agg::image_filter_bilinear> table;
    agg::span_image_filter_rgba_2x2<agg::image_accessor_clone<PixelFormat>,
                                    agg::span_interpolator_trans<const HomographyTransform>>
        filter(accessor, interpolator, table);
    agg::rasterizer_scanline_aa<> rasterizer;
    rasterizer.clip_box(0, 0, width, height);
    rasterizer.move_to_d(quad[0], quad[1]);
    for (int i = 1; i < 4; ++i)
        rasterizer.line_to_d(quad[2 * i], quad[2 * i + 1]);
    rasterizer.close_polygon();
    agg::span_allocator<agg::rgba8> spans;
    agg::scanline_u8 scanline;
    agg::render_scanlines_aa(rasterizer, scanline, renderer, spans, filter);
    return output;
}

TEST(WarpPictureToQuadTest, GivesTheStockAggFilterPixels)
{
    // Quads inside the client, reaching past the source's border through the anti-aliased
    // rim, turned over, concave and partly off screen.
    const std::array<Corners, 5> quads = {
        Corners{QPointF(6, 4), QPointF(58, 9), QPointF(52, 44), QPointF(3, 40)},
        Corners{QPointF(0.3, 0.2), QPointF(63.6, 0.1), QPointF(63.9, 47.8), QPointF(0.1, 47.7)},
        Corners{QPointF(60, 40), QPointF(8, 44), QPointF(2, 3), QPointF(55, 6)},
        Corners{QPointF(5, 5), QPointF(60, 8), QPointF(20, 20), QPointF(8, 42)},
        Corners{QPointF(-30, -12), QPointF(90, 10), QPointF(50, 70), QPointF(-4, 30)},
    };
    // The two transforms are solved differently, so a position may round to the next 1/256
    // pixel now and then: one level at most, and rarely.
    const QImage source = noise(23, 17, 13);
    for (bool avx2 : {true, false}) {
        vs::allowWarpAvx2(avx2);
        for (const Corners& quad : quads) {
            const QImage expected = stockAggWarp(source, quad, 64, 48);
            const QImage got = WarpPictureToQuad(source, quad, 64, 48, 1);
            int differing = 0;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 64; ++x) {
                    const QRgb a = got.pixel(x, y), b = expected.pixel(x, y);
                    for (int shift = 0; shift <= 24; shift += 8)
                        ASSERT_LE(std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)), 1)
                            << x << "," << y << " of quad from " << quad[0].x() << ","
                            << quad[0].y() << (avx2 ? " with AVX2" : " with SSE2");
                    differing += a != b;
                }
            EXPECT_LT(differing, 64 * 48 / 100) << (avx2 ? "with AVX2" : "with SSE2");
        }
    }
    vs::allowWarpAvx2(true);
}

TEST(WarpPictureToQuadTest, CornersReceiveTheSourceCornersUprightAndOutsideStaysWhite)
{
    QImage source(2, 2, QImage::Format_ARGB32);
    source.setPixel(0, 0, 0xffff0000u);
    source.setPixel(1, 0, 0xff00ff00u);
    source.setPixel(1, 1, 0xff0000ffu);
    source.setPixel(0, 1, 0xff000000u);
    const Corners quad = {QPointF(10, 10), QPointF(30, 10), QPointF(30, 30), QPointF(10, 30)};
    const QImage out = WarpPictureToQuad(source, quad, 40, 40);
    EXPECT_EQ(out.pixel(11, 11), 0xffff0000u);
    EXPECT_EQ(out.pixel(28, 11), 0xff00ff00u);
    EXPECT_EQ(out.pixel(28, 28), 0xff0000ffu);
    EXPECT_EQ(out.pixel(11, 28), 0xff000000u);
    EXPECT_EQ(out.pixel(5, 5), kWhite);
    EXPECT_EQ(out.pixel(35, 20), kWhite);
    EXPECT_EQ(out.pixel(20, 35), kWhite);
}

TEST(WarpPictureToQuadTest, RimPixelsBlendWithWhiteAndStayOpaque)
{
    QImage source(4, 4, QImage::Format_ARGB32);
    source.fill(0xff000000u);
    const Corners quad = {QPointF(2.5, 2.5), QPointF(17.5, 2.5), QPointF(17.5, 17.5),
                          QPointF(2.5, 17.5)};
    const QImage out = WarpPictureToQuad(source, quad, 20, 20);
    // Half the pixel (2, 10) is covered: half black on white.
    const int grey = qRed(out.pixel(2, 10));
    EXPECT_GT(grey, 100);
    EXPECT_LT(grey, 160);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(qAlpha(out.pixel(x, y)), 255) << x << "," << y;
}

TEST(WarpPictureToQuadTest, BandsOnSeveralThreadsGiveTheSamePixelsAsOnePass)
{
    const QImage source = noise(40, 30, 9);
    // Edges cross the band boundaries at slants, so rim coverage is split between bands.
    const Corners quad = {QPointF(20.3, 7.7), QPointF(280.5, 30.2), QPointF(250.1, 190.6),
                          QPointF(5.2, 170.4)};
    const QImage one = WarpPictureToQuad(source, quad, 300, 200, 1);
    EXPECT_EQ(WarpPictureToQuad(source, quad, 300, 200, 3), one);
    EXPECT_EQ(WarpPictureToQuad(source, quad, 300, 200, 7), one);
    EXPECT_EQ(WarpPictureToQuad(source, quad, 300, 200, 0), one);
    // More threads than rows.
    EXPECT_EQ(WarpPictureToQuad(source, quad, 300, 2, 16),
              WarpPictureToQuad(source, quad, 300, 2, 1));
}

TEST(WarpPictureToQuadTest, AvxAndSse2PathsGiveTheSamePixels)
{
    const QImage source = noise(120, 80, 21);
    const Corners quad = {QPointF(12.3, 9.1), QPointF(290.4, 22.8), QPointF(260.2, 195.5),
                          QPointF(-20.6, 170.1)};
    vs::allowWarpAvx2(false);
    const QImage narrow = WarpPictureToQuad(source, quad, 300, 200, 1);
    vs::allowWarpAvx2(true);
    EXPECT_EQ(WarpPictureToQuad(source, quad, 300, 200, 1), narrow);
}

TEST(WarpPictureToQuadTest, DegenerateQuadrilateralsLeaveThePictureWhite)
{
    const QImage source = noise(8, 8, 3);
    const std::array<Corners, 3> degenerate = {
        // Three corners on one line.
        Corners{QPointF(10, 10), QPointF(30, 10), QPointF(50, 10), QPointF(10, 40)},
        // All four on one point.
        Corners{QPointF(20, 20), QPointF(20, 20), QPointF(20, 20), QPointF(20, 20)},
        // All four on one line.
        Corners{QPointF(0, 0), QPointF(10, 10), QPointF(20, 20), QPointF(30, 30)},
    };
    for (const Corners& quad : degenerate) {
        const QImage out = WarpPictureToQuad(source, quad, 64, 48);
        ASSERT_EQ(out.size(), QSize(64, 48));
        EXPECT_TRUE(allWhite(out));
    }
}

TEST(WarpPictureToQuadTest, HostileInputNeverCrashes)
{
    const QImage source = noise(8, 8, 5);
    const Corners square = {QPointF(1, 1), QPointF(9, 1), QPointF(9, 9), QPointF(1, 9)};
    EXPECT_TRUE(allWhite(WarpPictureToQuad(QImage(), square, 10, 10)));
    EXPECT_TRUE(WarpPictureToQuad(source, square, 0, 10).isNull());
    EXPECT_TRUE(WarpPictureToQuad(source, square, 10, -1).isNull());
    EXPECT_TRUE(WarpPictureToQuad(source, square, kMaxWarpSide + 1, 10).isNull());

    const double nan = std::numeric_limits<double>::quiet_NaN();
    Corners bad = square;
    bad[2] = QPointF(nan, 9);
    EXPECT_TRUE(allWhite(WarpPictureToQuad(source, bad, 10, 10)));
    bad[2] = QPointF(1e12, 9);
    EXPECT_TRUE(allWhite(WarpPictureToQuad(source, bad, 10, 10)));

    // A steep quadrilateral whose horizon passes just beside it, and one mostly off screen:
    // rim pixels map far away and must only repeat the border.
    const Corners steep = {QPointF(0, 0), QPointF(200, 0), QPointF(100.6, 1.2), QPointF(99.4, 1.2)};
    EXPECT_EQ(WarpPictureToQuad(source, steep, 200, 4).size(), QSize(200, 4));
    const Corners offScreen = {QPointF(-5000, -4000), QPointF(9000, -10), QPointF(30, 30),
                               QPointF(-10, 9000)};
    const QImage out = WarpPictureToQuad(source, offScreen, 20, 20);
    EXPECT_NE(out.pixel(10, 10), kWhite);
}

TEST(PlanPictureSourceTest, RootPlanePictureIsMadeOnceAndTakenOpaque)
{
    CSolidDocument document;
    EXPECT_TRUE(planPictureSource(document).isNull());

    document.ceiling = std::make_unique<SolidCeiling>();
    document.ceiling->root = ceilingtest::makePlane(*document.ceiling, 10000, 8000, 2000);
    const QImage source = planPictureSource(document);
    ASSERT_EQ(source.size(), QSize(241, 193));
    // The plane keeps its own alpha; the source is opaque.
    EXPECT_EQ(qAlpha(document.ceiling->root->picture.pixel(120, 100)), 128);
    EXPECT_EQ(source.pixel(120, 100), vs::kPlanBackground);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            ASSERT_EQ(qAlpha(source.pixel(x, y)), 255);
}

} // namespace
