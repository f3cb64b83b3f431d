// The bundled static sample as the change-top view uses it: the designed ceiling must cover the
// photo's whole ceiling, its light fitting included, and nothing below it.
#include "samples/SampleOverlay.h"

#include "document/CHollowPolygon.h"
#include "document/CSolidDocument.h"

#include <QImage>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <sstream>
#include <string>

namespace {

const std::string kSamples = std::string(VS_TEST_SOURCE_DIR) + "/data/pack/samples/";

std::vector<RPoint> pointsOf(const char* text)
{
    std::vector<RPoint> points;
    std::istringstream in(text);
    double x = 0, y = 0;
    char comma = 0;
    while (in >> x >> comma >> y)
        points.push_back({x, y});
    return points;
}

/** The document ApplyStaticSolidSample makes of the bundled sample (mask rectangle 0,0,640,140). */
void loadBundledSample(CSolidDocument& document)
{
    document.samplePhoto = Picture(QImage(QString::fromStdString(kSamples + "room_photo.jpg")));
    document.sampleMask = Picture(QImage(QString::fromStdString(kSamples + "room_mask.png")));
    document.staticSolidRect = {0, 0, 640, 140};
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_file((kSamples + "room_polygons.xml").c_str()));
    for (pugi::xml_node polygon : xml.document_element().child("polygons").children("polygon")) {
        auto item = std::make_unique<CHollowPolygon>();
        item->exclude = polygon.attribute("exclude").as_bool();
        item->points = pointsOf(polygon.attribute("points").value());
        document.staticPolygons.push_back(std::move(item));
    }
}

} // namespace

TEST(BundledSampleTest, TheDesignedCeilingCoversThePhotosCeilingAndItsLamp)
{
    CSolidDocument document;
    loadBundledSample(document);
    ASSERT_EQ(document.samplePhoto.width(), 640);
    ASSERT_FALSE(document.staticPolygons.empty());
    const QImage ceiling = vs::ceilingPixels(document);
    ASSERT_EQ(ceiling.size(), QSize(640, 480));
    auto isCeiling = [&](int x, int y) { return ceiling.constScanLine(y)[x] != 0; };
    // The photo's own round lamp sits at (292..348, 52..74): the design's lamps replace it.
    for (int y = 54; y < 73; y += 3)
        for (int x = 294; x < 347; x += 4)
            EXPECT_TRUE(isCeiling(x, y)) << x << "," << y;
    // Most of the trapezoid above the back wall (y < 140) is ceiling; the walls and the floor
    // are not.
    long inside = 0, taken = 0;
    for (int y = 2; y < 138; ++y)
        for (int x = 0; x < 640; ++x)
            if (x > 170 * y / 140 + 2 && x < 640 - 170 * y / 140 - 2) {
                ++inside;
                taken += isCeiling(x, y);
            }
    EXPECT_GT(double(taken) / inside, 0.99);
    for (int y = 150; y < 480; y += 10)
        for (int x = 0; x < 640; x += 10)
            EXPECT_FALSE(isCeiling(x, y)) << x << "," << y;
}

TEST(BundledSampleTest, TheOpaqueOverlayLetsTheWarpedCeilingThroughOnlyThere)
{
    CSolidDocument document;
    loadBundledSample(document);
    const QImage ceiling = vs::ceilingPixels(document);
    const QImage overlay = vs::cutOutCeiling(document, ceiling, 255);
    EXPECT_EQ(qAlpha(overlay.pixel(320, 63)), 0) << "the photo's lamp would hide the ceiling";
    EXPECT_EQ(qAlpha(overlay.pixel(320, 20)), 0);
    EXPECT_EQ(qAlpha(overlay.pixel(320, 300)), 255) << "the back wall must stay opaque";
}
