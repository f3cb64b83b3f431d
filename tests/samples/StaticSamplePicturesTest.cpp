// The change-top pictures of one window: what a rebuild makes, corners kept or recomputed,
// zoom and corner drags, and the refresh a newly applied sample triggers through the hook.
#include "samples/StaticSamplePictures.h"

#include "samples/StaticSampleHook.h"

#include "ceiling/CeilingFixtures.h"
#include "document/CHollowPolygon.h"
#include "document/CSolidDocument.h"
#include "plugin/StaticSample.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

namespace {

using vs::SamplePicture;
using vs::samplePictureBit;
using vs::StaticSamplePictures;

constexpr unsigned kAllPictures = (1u << vs::kSamplePictureCount) - 1;

/** A document with a 200 x 100 photo, a ceiling polygon over its upper half and a 10 x 8
 *  metre ceiling plane. */
std::unique_ptr<CSolidDocument> sampleDocument()
{
    auto document = std::make_unique<CSolidDocument>();
    document->staticSolidSampleId = 12;
    QImage photo(200, 100, QImage::Format_ARGB32);
    photo.fill(0xff808080u);
    document->samplePhoto = Picture(photo);
    auto polygon = std::make_unique<CHollowPolygon>();
    polygon->points = {{0, 0}, {200, 0}, {200, 50}, {0, 50}};
    document->staticPolygons.push_back(std::move(polygon));
    document->ceiling = std::make_unique<SolidCeiling>();
    document->ceiling->root = ceilingtest::makePlane(*document->ceiling, 10000, 8000);
    return document;
}

bool isWhite(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == 0xffffffffu;
}

TEST(StaticSamplePicturesTest, NoSampleBuildsNothing)
{
    auto document = sampleDocument();
    document->staticSolidSampleId = 0;
    StaticSamplePictures pictures;
    pictures.rebuild(*document, {410, 210}, false);
    EXPECT_EQ(pictures.takeChangedPictures(), 0u);
    EXPECT_FALSE(pictures.hasOverlays());
    EXPECT_TRUE(document->staticSolidProjectedPoints.empty());
}

TEST(StaticSamplePicturesTest, FirstRebuildMakesAllFivePicturesOverDefaultCorners)
{
    auto document = sampleDocument();
    StaticSamplePictures pictures;
    pictures.rebuild(*document, {410, 210}, false);
    EXPECT_EQ(pictures.takeChangedPictures(), kAllPictures);
    EXPECT_EQ(pictures.takeChangedPictures(), 0u);

    // 410 x 210 client, 200 x 100 photo: the width constrains, 400 x 200 centred.
    EXPECT_EQ(pictures.fitRect(), (IRect{5, 5, 405, 205}));
    EXPECT_EQ(pictures.pictureRect(), pictures.fitRect());
    EXPECT_EQ(document->staticSolidProjectedPoints, vs::defaultProjectedPoints());
    EXPECT_EQ(document->staticSolidSampleImgSize, (IntSize{200, 100}));
    EXPECT_EQ(pictures.corners()[0], QPoint(45, 25));
    EXPECT_EQ(pictures.corners()[2], QPoint(305, 105));

    EXPECT_EQ(pictures.picture(SamplePicture::Overlay).size(), QSize(200, 100));
    EXPECT_EQ(qAlpha(pictures.picture(SamplePicture::Overlay).pixel(10, 10)), 0);
    EXPECT_EQ(qAlpha(pictures.picture(SamplePicture::Overlay).pixel(10, 90)), 255);
    EXPECT_EQ(qAlpha(pictures.picture(SamplePicture::TransparentOverlay).pixel(10, 90)), 192);
    EXPECT_EQ(pictures.picture(SamplePicture::Photo).pixel(10, 10), 0xff808080u);
    EXPECT_EQ(pictures.picture(SamplePicture::ClipMask).size(), QSize(410, 210));
    EXPECT_EQ(qAlpha(pictures.picture(SamplePicture::ClipMask).pixel(5, 5)), 0);
    EXPECT_EQ(qAlpha(pictures.picture(SamplePicture::ClipMask).pixel(405, 5)), 255);

    const QImage& perspective = pictures.picture(SamplePicture::Perspective);
    ASSERT_EQ(perspective.size(), QSize(410, 210));
    EXPECT_FALSE(isWhite(perspective, 175, 60));
    EXPECT_TRUE(isWhite(perspective, 175, 150));

    EXPECT_STREQ(vs::samplePictureName(SamplePicture::Overlay), "sampleRenderImg");
    EXPECT_STREQ(vs::samplePictureName(SamplePicture::TransparentOverlay),
                 "transparentSampleRenderImg");
    EXPECT_STREQ(vs::samplePictureName(SamplePicture::Photo), "originalStaticSolid");
    EXPECT_STREQ(vs::samplePictureName(SamplePicture::ClipMask), "sampleClipImg");
    EXPECT_STREQ(vs::samplePictureName(SamplePicture::Perspective), "perspectiveImg");
}

TEST(StaticSamplePicturesTest, RefreshAfterAResizeKeepsTheCornersOnScreen)
{
    auto document = sampleDocument();
    StaticSamplePictures pictures;
    pictures.refresh(*document, {410, 210});
    ASSERT_TRUE(pictures.moveCorner(*document, 0, QPoint(55, 35)));
    EXPECT_DOUBLE_EQ(document->staticSolidProjectedPoints[0].x, 0.125);
    pictures.takeChangedPictures();

    // A wider window moves the photo but keeps the corners; their fractions follow.
    pictures.refresh(*document, {510, 210});
    EXPECT_EQ(pictures.fitRect(), (IRect{55, 5, 455, 205}));
    EXPECT_EQ(pictures.corners()[0], QPoint(55, 35));
    EXPECT_DOUBLE_EQ(document->staticSolidProjectedPoints[0].x, 0.0);
    EXPECT_DOUBLE_EQ(document->staticSolidProjectedPoints[0].y, 0.15);
    // The perspective picture is remade at the new client size.
    EXPECT_EQ(pictures.takeChangedPictures(), kAllPictures);
    EXPECT_EQ(pictures.picture(SamplePicture::Perspective).width(), 510);

    // Same size again: the warp is kept.
    pictures.refresh(*document, {510, 210});
    EXPECT_EQ(pictures.takeChangedPictures() & samplePictureBit(SamplePicture::Perspective), 0u);
}

TEST(StaticSamplePicturesTest, ZoomIsClampedAndRecomputesCornersFromTheDocument)
{
    auto document = sampleDocument();
    StaticSamplePictures pictures;
    EXPECT_DOUBLE_EQ(pictures.setZoom(*document, 0.2), 0.5);
    pictures.rebuild(*document, {410, 210}, false);
    // Zoom 0.5 from construction on: 200 x 100 about (205, 105).
    EXPECT_EQ(pictures.pictureRect(), (IRect{105, 55, 305, 155}));
    EXPECT_EQ(pictures.corners()[0], QPoint(125, 65));

    EXPECT_DOUBLE_EQ(pictures.setZoom(*document, 3), 1.0);
    EXPECT_EQ(pictures.pictureRect(), (IRect{5, 5, 405, 205}));
    EXPECT_EQ(pictures.corners()[0], QPoint(45, 25));
    EXPECT_EQ(qAlpha(pictures.picture(SamplePicture::ClipMask).pixel(6, 6)), 0);
}

TEST(StaticSamplePicturesTest, CollinearCornerDragLeavesThePerspectiveWhite)
{
    auto document = sampleDocument();
    StaticSamplePictures pictures;
    pictures.rebuild(*document, {410, 210}, false);
    EXPECT_FALSE(pictures.moveCorner(*document, 4, QPoint(0, 0)));
    // Corner 1 onto the line from corner 0 to corner 2.
    ASSERT_TRUE(pictures.moveCorner(*document, 1, QPoint(175, 65)));
    const QImage& perspective = pictures.picture(SamplePicture::Perspective);
    for (int y = 0; y < perspective.height(); y += 5)
        for (int x = 0; x < perspective.width(); x += 5)
            ASSERT_TRUE(isWhite(perspective, x, y)) << x << "," << y;
}

TEST(StaticSamplePicturesTest, RemovedPhotoDropsEveryPicture)
{
    auto document = sampleDocument();
    StaticSamplePictures pictures;
    pictures.rebuild(*document, {410, 210}, false);
    pictures.takeChangedPictures();
    document->samplePhoto = Picture();
    pictures.refresh(*document, {410, 210});
    EXPECT_EQ(pictures.takeChangedPictures(), kAllPictures);
    for (int i = 0; i < vs::kSamplePictureCount; ++i)
        EXPECT_TRUE(pictures.picture(SamplePicture(i)).isNull());
    // A window too small for the margins still gets pictures of its size, no crash.
    document = sampleDocument();
    pictures.rebuild(*document, {3, 0}, false);
    EXPECT_TRUE(pictures.picture(SamplePicture::ClipMask).isNull());
    EXPECT_TRUE(pictures.hasOverlays());
}

TEST(StaticSampleViewTest, OnlyTheRegisteredDocumentsViewIsRefreshed)
{
    CSolidDocument shown, other;
    int calls = 0;
    vs::setStaticSampleView(&shown, [&] { ++calls; });
    EXPECT_FALSE(vs::refreshStaticSampleView(other));
    EXPECT_TRUE(vs::refreshStaticSampleView(shown));
    EXPECT_EQ(calls, 1);

    vs::clearStaticSampleView(&other);
    EXPECT_TRUE(vs::refreshStaticSampleView(shown));
    vs::clearStaticSampleView(&shown);
    EXPECT_FALSE(vs::refreshStaticSampleView(shown));
    EXPECT_EQ(calls, 2);

    // A refresh that clears its own registration while it runs.
    vs::setStaticSampleView(&shown, [&] {
        vs::clearStaticSampleView(&shown);
        ++calls;
    });
    EXPECT_TRUE(vs::refreshStaticSampleView(shown));
    EXPECT_FALSE(vs::refreshStaticSampleView(shown));
    EXPECT_EQ(calls, 3);
}

TEST(StaticSampleViewTest, ApplyingASampleRefreshesTheViewWithTheNewPhoto)
{
    auto document = sampleDocument();
    StaticSamplePictures pictures;
    vs::setStaticSampleView(document.get(), [&] {
        pictures.refresh(*document, IntSize{410, 210});
    });

    QImage photo(100, 100, QImage::Format_ARGB32);
    photo.fill(0xff00ff00u);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "PNG");
    vs::applyStaticSample(*document, 7, png.constData(), int(png.size()), nullptr, 0,
                          "<sample><polygons><p exclude=\"false\" points=\"0,0 10,0 10,10\"/>"
                          "</polygons></sample>");
    vs::clearStaticSampleView(document.get());

    EXPECT_EQ(pictures.picture(SamplePicture::Photo).pixel(50, 50), 0xff00ff00u);
    EXPECT_EQ(pictures.fitRect(), (IRect{105, 5, 305, 205}));
}

} // namespace
