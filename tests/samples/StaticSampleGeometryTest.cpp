// Where the photo and the ceiling corners lie in the client area, and the corners stored in the
// document as fractions of the picture rectangle.
#include "samples/StaticSampleGeometry.h"

#include "document/CSolidDocument.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using vs::cornersFromProjected;
using vs::fitPhotoRect;
using vs::SampleCorners;
using vs::zoomPictureRect;

TEST(FitPhotoRectTest, ConstrainingSideGetsTheMarginTheOtherIsCentred)
{
    // Wide client: the height constrains; width 1024 * 790 / 768 = 1053.
    EXPECT_EQ(fitPhotoRect({1280, 800}, {1024, 768}), (IRect{113, 5, 1166, 795}));
    // Tall client: the width constrains; height 768 * 790 / 1024 = 592.
    EXPECT_EQ(fitPhotoRect({800, 1280}, {1024, 768}), (IRect{5, 344, 795, 936}));
    // Equal aspect takes the second branch.
    EXPECT_EQ(fitPhotoRect({110, 110}, {50, 50}), (IRect{5, 5, 105, 105}));
}

TEST(FitPhotoRectTest, EmptyPhotoOrTinyClientGivesAnEmptyRectangle)
{
    EXPECT_EQ(fitPhotoRect({100, 80}, {0, 50}), (IRect{50, 40, 50, 40}));
    EXPECT_EQ(fitPhotoRect({8, 80}, {50, 50}), (IRect{4, 40, 4, 40}));
    EXPECT_EQ(fitPhotoRect({-3, -3}, {50, 50}), (IRect{0, 0, 0, 0}));
    // Products that overflow 32 bits.
    const IRect huge = fitPhotoRect({2000000000, 2000000000}, {16384, 3});
    EXPECT_EQ(huge.left, 5);
    EXPECT_GT(huge.bottom, huge.top);
}

TEST(ZoomPictureRectTest, ScalesAboutTheCentreWithRoundedLengths)
{
    const IRect fit{113, 5, 1166, 795};
    EXPECT_EQ(zoomPictureRect(fit, 1.0), fit);
    // 1053 * 0.5 = 526.5 -> 527 about centre 639; 790 * 0.5 = 395 about centre 400.
    EXPECT_EQ(zoomPictureRect(fit, 0.5), (IRect{376, 203, 903, 598}));
    EXPECT_EQ(zoomPictureRect(fit, std::numeric_limits<double>::quiet_NaN()),
              (IRect{639, 400, 639, 400}));
}

TEST(CornersFromProjectedTest, FractionsOfThePictureRoundedToPixels)
{
    const IRect picture{100, 50, 300, 250};
    const SampleCorners corners =
        cornersFromProjected({{0, 0}, {1, 1}, {0.50390625, 0.25}, {0.0024, 0.99609375}}, picture);
    EXPECT_EQ(corners[0], QPoint(100, 50));
    EXPECT_EQ(corners[1], QPoint(300, 250));
    EXPECT_EQ(corners[2], QPoint(201, 100));
    EXPECT_EQ(corners[3], QPoint(100, 249));
}

TEST(CornersFromProjectedTest, MissingOrAbsurdPointsStillGiveUsableCorners)
{
    const IRect picture{0, 0, 100, 100};
    const SampleCorners defaults = cornersFromProjected({}, picture);
    EXPECT_EQ(defaults[0], QPoint(10, 10));
    EXPECT_EQ(defaults[1], QPoint(90, 10));
    EXPECT_EQ(defaults[2], QPoint(75, 50));
    EXPECT_EQ(defaults[3], QPoint(25, 50));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const SampleCorners wild = cornersFromProjected({{1e300, -1e300}, {nan, 0.5}}, picture);
    EXPECT_EQ(wild[0], QPoint(1 << 20, -(1 << 20)));
    EXPECT_EQ(wild[1], QPoint(0, 50));
    EXPECT_EQ(wild[2], QPoint(75, 50));
}

TEST(StoreCornersTest, StoredFractionsGiveTheCornersBack)
{
    CSolidDocument document;
    const IRect picture{376, 203, 903, 598};
    const SampleCorners corners = {QPoint(400, 210), QPoint(880, 215), QPoint(903, 598),
                                   QPoint(300, 700)};
    vs::StoreCorners(document, corners, picture);
    ASSERT_EQ(document.staticSolidProjectedPoints.size(), 4u);
    EXPECT_DOUBLE_EQ(document.staticSolidProjectedPoints[0].x, 24.0 / 527);
    EXPECT_DOUBLE_EQ(document.staticSolidProjectedPoints[2].y, 1.0);
    EXPECT_LT(document.staticSolidProjectedPoints[3].x, 0);
    EXPECT_GT(document.staticSolidProjectedPoints[3].y, 1);
    EXPECT_EQ(cornersFromProjected(document.staticSolidProjectedPoints, picture), corners);

    // No width: nothing to divide by, the points stay.
    vs::StoreCorners(document, {}, IRect{5, 5, 5, 90});
    EXPECT_DOUBLE_EQ(document.staticSolidProjectedPoints[2].y, 1.0);
}

TEST(EnsureProjectedPointsTest, FewerThanFourAreReplacedByTheDefaults)
{
    CSolidDocument document;
    QImage photo(40, 30, QImage::Format_ARGB32);
    photo.fill(0xff000000u);
    document.samplePhoto = Picture(photo);

    document.staticSolidProjectedPoints = {{0.3, 0.3}, {0.6, 0.6}};
    EXPECT_TRUE(vs::ensureProjectedPoints(document));
    EXPECT_EQ(document.staticSolidProjectedPoints, vs::defaultProjectedPoints());
    EXPECT_EQ(document.staticSolidSampleImgSize, (IntSize{40, 30}));

    document.staticSolidProjectedPoints = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    document.staticSolidSampleImgSize = {7, 7};
    EXPECT_FALSE(vs::ensureProjectedPoints(document));
    EXPECT_EQ(document.staticSolidProjectedPoints[2], (RPoint{1, 1}));
    EXPECT_EQ(document.staticSolidSampleImgSize, (IntSize{7, 7}));
}

} // namespace
