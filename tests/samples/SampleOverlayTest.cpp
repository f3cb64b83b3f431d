// The ceiling area of a static sample's photo (polygons under the even-odd rule, the white
// parts of the mask), the two cut-out overlays and the clip mask of the picture rectangle.
#include "samples/SampleOverlay.h"

#include "document/CHollowPolygon.h"
#include "document/CSolidDocument.h"

#include <gtest/gtest.h>

#include <QImage>

#include <limits>

namespace {

using vs::BuildClipMask;
using vs::ceilingPixels;
using vs::cutOutCeiling;

void addPolygon(CSolidDocument& document, std::vector<RPoint> points, bool exclude = true)
{
    auto polygon = std::make_unique<CHollowPolygon>();
    polygon->exclude = exclude;
    polygon->points = std::move(points);
    document.staticPolygons.push_back(std::move(polygon));
}

void setPhoto(CSolidDocument& document, int width, int height, QRgb colour = 0xff336699u)
{
    QImage photo(width, height, QImage::Format_ARGB32);
    photo.fill(colour);
    document.samplePhoto = Picture(photo);
}

/** The ceiling pixels as rows of '#' and '.'. */
std::vector<std::string> rows(const QImage& ceiling)
{
    std::vector<std::string> out;
    for (int y = 0; y < ceiling.height(); ++y) {
        std::string row;
        for (int x = 0; x < ceiling.width(); ++x)
            row += ceiling.constScanLine(y)[x] ? '#' : '.';
        out.push_back(row);
    }
    return out;
}

TEST(CeilingPixelsTest, PolygonTakesPixelsWhoseCentresItCoversWithPointsRounded)
{
    CSolidDocument document;
    setPhoto(document, 8, 6);
    // (1.6, 0.5) rounds to (2, 1); the far side at x 5.4 rounds to 5, y 3.5 to 4.
    addPolygon(document, {{1.6, 0.5}, {5.4, 0.5}, {5.4, 3.5}, {1.6, 3.5}});
    const std::vector<std::string> expected = {
        "........", "..###...", "..###...", "..###...", "........", "........",
    };
    EXPECT_EQ(rows(ceilingPixels(document)), expected);
}

TEST(CeilingPixelsTest, OverlapsCancelAndExcludeFlagsAreNotConsulted)
{
    CSolidDocument document;
    setPhoto(document, 6, 2);
    addPolygon(document, {{0, 0}, {4, 0}, {4, 2}, {0, 2}}, false);
    addPolygon(document, {{2, 0}, {6, 0}, {6, 2}, {2, 2}}, false);
    const std::vector<std::string> expected = {"##..##", "##..##"};
    EXPECT_EQ(rows(ceilingPixels(document)), expected);

    for (auto& polygon : document.staticPolygons)
        polygon->exclude = true;
    EXPECT_EQ(rows(ceilingPixels(document)), expected);

    // A hole drawn as a second ring inside the first is cut out by the same rule.
    CSolidDocument ring;
    setPhoto(ring, 5, 5);
    addPolygon(ring, {{0, 0}, {5, 0}, {5, 5}, {0, 5}}, false);
    addPolygon(ring, {{2, 2}, {3, 2}, {3, 3}, {2, 3}}, true);
    EXPECT_EQ(rows(ceilingPixels(ring))[2], "##.##");
}

TEST(CeilingPixelsTest, WhiteMaskPixelsInsideTheRectangleKeepThePhoto)
{
    CSolidDocument document;
    setPhoto(document, 6, 3);
    addPolygon(document, {{0, 0}, {6, 0}, {6, 3}, {0, 3}});
    // A 3 x 2 mask at (2, 1): white, except its middle top pixel; alpha does not matter.
    QImage mask(3, 2, QImage::Format_ARGB32);
    mask.fill(0x00ffffffu);
    mask.setPixel(1, 0, 0xfffffffeu);
    document.sampleMask = Picture(mask);
    document.staticSolidRect = {2, 1, 5, 3};
    const std::vector<std::string> expected = {"######", "##.#.#", "##...#"};
    EXPECT_EQ(rows(ceilingPixels(document)), expected);

    // A rectangle larger than the mask (and than the photo) restricts only where the mask has
    // pixels.
    document.staticSolidRect = {2, 1, 500, 300};
    EXPECT_EQ(rows(ceilingPixels(document)), expected);
    // Negative offsets: photo pixel (0, 0) is mask pixel (2, 1).
    document.staticSolidRect = {-2, -1, 1, 1};
    EXPECT_EQ(rows(ceilingPixels(document))[0], ".#####");
}

TEST(CeilingPixelsTest, UnusablePolygonsAndPhotosBoundNothing)
{
    CSolidDocument document;
    EXPECT_TRUE(ceilingPixels(document).isNull());

    setPhoto(document, 4, 4);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    addPolygon(document, {{0, 0}, {nan, 0}, {4, 4}});
    addPolygon(document, {{0, 0}, {4, 4}});
    addPolygon(document, {});
    document.staticPolygons.push_back(nullptr);
    EXPECT_EQ(rows(ceilingPixels(document)), std::vector<std::string>(4, "...."));

    // Coordinates far beyond the photo are clipped, not overflowed.
    addPolygon(document, {{-1e300, -1e300}, {1e300, -1e300}, {1e300, 1e300}, {-1e300, 1e300}});
    EXPECT_EQ(rows(ceilingPixels(document)), std::vector<std::string>(4, "####"));
}

TEST(CutOutCeilingTest, CeilingPixelsGetAlphaZeroAndTheRestTheGivenAlpha)
{
    CSolidDocument document;
    setPhoto(document, 3, 1, 0xff102030u);
    addPolygon(document, {{1, 0}, {2, 0}, {2, 1}, {1, 1}});
    const QImage ceiling = ceilingPixels(document);

    const QImage opaque = cutOutCeiling(document, ceiling, vs::kOpaqueOverlayAlpha);
    EXPECT_EQ(opaque.pixel(0, 0), 0xff102030u);
    EXPECT_EQ(opaque.pixel(1, 0), 0x00102030u);
    const QImage transparent = cutOutCeiling(document, ceiling, vs::kTransparentOverlayAlpha);
    EXPECT_EQ(transparent.pixel(2, 0), 0xc0102030u);
    EXPECT_EQ(transparent.pixel(1, 0), 0x00102030u);
    // The photo itself is not touched.
    EXPECT_EQ(document.samplePhoto.image().pixel(1, 0), 0xff102030u);

    EXPECT_TRUE(cutOutCeiling(CSolidDocument(), ceiling, 255).isNull());
}

TEST(BuildClipMaskTest, PictureRectangleIsClearWithRightAndBottomEdgesExcluded)
{
    const QImage mask = BuildClipMask({8, 6}, {2, 1, 5, 4});
    ASSERT_EQ(mask.size(), QSize(8, 6));
    EXPECT_EQ(mask.pixel(2, 1), 0x00ffffffu);
    EXPECT_EQ(mask.pixel(4, 3), 0x00ffffffu);
    EXPECT_EQ(mask.pixel(5, 3), 0xffffffffu);
    EXPECT_EQ(mask.pixel(4, 4), 0xffffffffu);
    EXPECT_EQ(mask.pixel(1, 1), 0xffffffffu);
    EXPECT_EQ(mask.pixel(2, 0), 0xffffffffu);

    // A rectangle reaching beyond the client is clipped; an inverted one clears nothing.
    EXPECT_EQ(BuildClipMask({4, 4}, {-10, -10, 100, 100}).pixel(3, 3), 0x00ffffffu);
    EXPECT_EQ(BuildClipMask({4, 4}, {3, 3, 1, 1}).pixel(2, 2), 0xffffffffu);
    EXPECT_TRUE(BuildClipMask({0, 4}, {0, 0, 1, 1}).isNull());
}

} // namespace
