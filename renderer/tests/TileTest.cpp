// The hider's division of work: pictures that do not depend on how the frame is cut into
// buckets and tiles or on the number of threads, depth renders that stop at the first
// surface, and shadow maps read ahead of the frame.
#include "RenderFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace ritest;

namespace {

char* tok(const char* s)
{
    return const_cast<char*>(s);
}

/// A lit plastic sphere over a matte floor, jittered 4 x 4 samples, a Catmull-Rom filter
/// reaching the neighbouring pixels; an image size no bucket size divides.
Picture litSphere(const std::string& file, int bucketX, int bucketY, int threads, float opacity = 1)
{
    RiBegin(RI_NULL);
    RiDisplay(tok(file.c_str()), RI_FILE, tok("rgbaz"), RI_NULL);
    RiFormat(45, 31, 1);
    RiPixelSamples(4, 4);
    RiPixelFilter(RiCatmullRomFilter, 3, 3);
    RiQuantize(RI_RGBA, 0, 0, 0, 0);
    RtInt bucket[2] = {bucketX, bucketY};
    RiOption(tok("limits"), "bucketsize", bucket, "threads", &threads, RI_NULL);
    RtFloat fov = 40;
    RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    RiTranslate(0, 0, 5);
    RiWorldBegin();
    RtFloat intensity = 8;
    RtPoint from = {-2, 2, -2};
    RiLightSource(RI_POINTLIGHT, RI_INTENSITY, &intensity, RI_FROM, &from, RI_NULL);
    RtColor os = {opacity, opacity, opacity};
    RiOpacity(os);
    RiSurface(RI_PLASTIC, RI_NULL);
    RiSphere(1, -1, 1, 360, RI_NULL);
    RiSurface(RI_MATTE, RI_NULL);
    RtPoint floor[4] = {{-3, -1, -3}, {-3, -1, 3}, {3, -1, 3}, {3, -1, -3}};
    RiPolygon(4, RI_P, floor, RI_NULL);
    RiWorldEnd();
    RiEnd();
    return readPicture(file);
}

TEST(TileTest, PictureDoesNotDependOnBucketSizeOrThreads)
{
    ScratchDir dir;
    Picture reference = litSphere(dir.file("a.tif"), 16, 16, 2);
    ASSERT_EQ(reference.width, 45);
    ASSERT_EQ(reference.channels, 5);
    // Something is drawn: the sphere's centre is lit and the corners are empty.
    EXPECT_GT(reference.at(22, 15, 3), 0.99f);
    EXPECT_GT(reference.at(20, 12, 0), 0.05f);
    EXPECT_EQ(reference.at(0, 0, 3), 0);

    struct Cut
    {
        int bx, by, threads;
    };
    for (Cut cut : {Cut{4, 4, 1}, Cut{7, 5, 2}, Cut{64, 64, 2}, Cut{16, 16, 1}}) {
        Picture p = litSphere(dir.file("b.tif"), cut.bx, cut.by, cut.threads);
        ASSERT_EQ(p.pixels.size(), reference.pixels.size());
        float worst = 0;
        for (size_t k = 0; k < p.pixels.size(); ++k)
            if (!(std::isinf(p.pixels[k]) && std::isinf(reference.pixels[k])))
                worst = std::max(worst, std::fabs(p.pixels[k] - reference.pixels[k]));
        EXPECT_EQ(worst, 0) << "buckets " << cut.bx << " x " << cut.by << ", " << cut.threads
                            << " threads";
    }
}

TEST(TileTest, OpaqueSurfacesFoundByProjectionMatchThoseFoundByRays)
{
    ScratchDir dir;
    // All opaque: the surfaces are found by projecting the triangles. A trace of
    // transparency: by casting rays.
    Picture projected = litSphere(dir.file("p.tif"), 16, 16, 2);
    Picture traced = litSphere(dir.file("t.tif"), 16, 16, 2, 0.99999f);
    ASSERT_EQ(projected.pixels.size(), traced.pixels.size());
    int differ = 0;
    for (int y = 0; y < projected.height; ++y)
        for (int x = 0; x < projected.width; ++x) {
            float worst = 0;
            for (int c = 0; c < 4; ++c)
                worst = std::max(worst, std::fabs(projected.at(x, y, c) - traced.at(x, y, c)));
            // A sample on a triangle's edge may take either neighbour's shading.
            differ += worst > 1e-3f;
        }
    EXPECT_LE(differ, 2);
    EXPECT_GT(projected.at(20, 12, 0), 0.05f);
}

/// Depth of the centre pixel behind a one-sided square seen from its back, a half-opaque
/// square at z = 4 and an opaque one at z = 6, through a display of `mode`.
float depthThroughLayers(const std::string& file, const char* mode)
{
    RiBegin(RI_NULL);
    exactFrame(file, 5, 5, mode);
    orthoCamera(1);
    RiWorldBegin();
    RiAttributeBegin();
    RiSides(1);
    RiReverseOrientation();
    square(4, 2);
    RiAttributeEnd();
    RtColor half = {0.5f, 0.5f, 0.5f};
    RiAttributeBegin();
    RiOpacity(half);
    square(4, 4);
    RiAttributeEnd();
    square(4, 6);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(file);
    return p.width == 5 ? p.at(2, 2, p.channels - 1) : -1;
}

TEST(TileTest, DepthRendersStopAtTheFirstSurfaceTheColourRenderSees)
{
    ScratchDir dir;
    float alone = depthThroughLayers(dir.file("z.tif"), "z");
    float withColour = depthThroughLayers(dir.file("rgbaz.tif"), "rgbaz");
    EXPECT_NEAR(alone, 4, 1e-4);
    EXPECT_EQ(alone, withColour);
}

/// A depth picture of a sphere, a floor reaching behind the camera, a one-sided square seen
/// from behind (invisible) and one seen from the front, through a display of `mode`.
Picture depthScene(const std::string& file, const char* mode, bool perspective)
{
    RiBegin(RI_NULL);
    RiDisplay(tok(file.c_str()), RI_FILE, tok(mode), RI_NULL);
    RiFormat(64, 48, 1);
    RiPixelSamples(2, 2);
    RiPixelFilter(RiGaussianFilter, 2, 2);
    RiQuantize(RI_RGBA, 0, 0, 0, 0);
    if (perspective) {
        RtFloat fov = 70;
        RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    } else {
        RiProjection(RI_ORTHOGRAPHIC, RI_NULL);
        RiScreenWindow(-4, 4, -3, 3);
    }
    RiClipping(0.1f, 100);
    RiRotate(-20, 1, 0, 0);
    RiTranslate(0, -1.5f, 4);
    RiWorldBegin();
    RiSphere(1, -1, 1, 360, RI_NULL);
    RtPoint floor[4] = {{-8, -1, -12}, {-8, -1, 12}, {8, -1, 12}, {8, -1, -12}};
    RiPolygon(4, RI_P, floor, RI_NULL);
    RiSides(1);
    RtPoint facing[4] = {{1.5f, 0, -1}, {1.5f, 1, -1}, {2.5f, 1, -1}, {2.5f, 0, -1}};
    RtPoint away[4] = {{-2.5f, 0, -1}, {-2.5f, 1, -1}, {-1.5f, 1, -1}, {-1.5f, 0, -1}};
    RiPolygon(4, RI_P, facing, RI_NULL);
    RiReverseOrientation();
    RiPolygon(4, RI_P, away, RI_NULL);
    RiWorldEnd();
    RiEnd();
    return readPicture(file);
}

TEST(TileTest, DepthFoundByProjectionMatchesDepthFoundByRays)
{
    ScratchDir dir;
    for (bool perspective : {true, false}) {
        // Depth alone is projected; beside colour it is found by casting rays.
        Picture alone = depthScene(dir.file("z.tif"), "z", perspective);
        Picture traced = depthScene(dir.file("rgbaz.tif"), "rgbaz", perspective);
        ASSERT_EQ(alone.width, 64);
        ASSERT_EQ(traced.width, 64);
        int missed = 0, seen = 0;
        float worst = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                float a = alone.at(x, y, 0), b = traced.at(x, y, 4);
                if (std::isinf(a) != std::isinf(b)) {
                    ++missed;
                } else if (!std::isinf(a)) {
                    ++seen;
                    worst = std::max(worst, std::fabs(a - b) / b);
                }
            }
        // Only a sample grazing a silhouette may fall either way.
        EXPECT_LE(missed, 3) << (perspective ? "perspective" : "orthographic");
        EXPECT_GT(seen, 64 * 48 / 2);
        EXPECT_LT(worst, 1e-4f) << (perspective ? "perspective" : "orthographic");
    }
}

TEST(TileTest, AnUnreadableShadowMapIsReportedOnceAndLeavesTheLightOn)
{
    ErrorLog::entries().clear();
    RiErrorHandler(ErrorLog::handler);
    ScratchDir dir;
    std::string out = dir.file("o.tif"), missing = dir.file("none.sm");
    RiBegin(RI_NULL);
    exactFrame(out, 4, 4);
    orthoCamera(1);
    RiWorldBegin();
    RtFloat intensity = 1;
    RtPoint from = {0, 0, 0}, to = {0, 0, 1};
    RtString name = tok(missing.c_str());
    RiLightSource(tok("shadowdistant"), RI_INTENSITY, &intensity, RI_FROM, &from, RI_TO, &to,
                  "shadowname", &name, RI_NULL);
    RiSurface(RI_MATTE, RI_NULL);
    square(4, 5);
    RiWorldEnd();
    RiEnd();
    RiErrorHandler(RiErrorPrint);
    EXPECT_EQ(ErrorLog::count(RIE_NOFILE), 1);
    EXPECT_NEAR(readPicture(out).at(1, 1, 0), 1, 1e-4);
}

} // namespace
