// Frame-level behaviour: compositing of partly opaque surfaces, the camera fixed at
// WorldBegin, exposure and quantisation, progress and cancel, and the binding's error paths.
#include "RenderFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <vector>

using namespace ritest;

namespace {

TEST(FrameTest, HalfOverHalfCompositesToThreeQuarters)
{
    ScratchDir dir;
    std::string out = dir.file("o.tif");
    RiBegin(RI_NULL);
    exactFrame(out, 3, 3);
    orthoCamera(1);
    RiWorldBegin();
    RiSurface(RI_CONSTANT, RI_NULL);
    RtColor half = {0.5f, 0.5f, 0.5f};
    RiOpacity(half);
    RtColor red = {1, 0, 0}, blue = {0, 0, 1};
    RiColor(blue);
    square(4, 6);
    RiColor(red);
    square(4, 5);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    ASSERT_EQ(p.channels, 4);
    EXPECT_NEAR(p.at(1, 1, 3), 0.75f, 1e-5);
    EXPECT_NEAR(p.at(1, 1, 0), 0.5f, 1e-5);
    EXPECT_NEAR(p.at(1, 1, 2), 0.25f, 1e-5);
}

/// Column of the centre of a small white square seen in a 21 x 1 orthographic row.
int squareColumn(bool transformInWorld)
{
    ScratchDir dir;
    std::string out = dir.file("c.tif");
    RiBegin(RI_NULL);
    exactFrame(out, 21, 1);
    RiProjection(RI_ORTHOGRAPHIC, RI_NULL);
    RiScreenWindow(-1, 1, -0.05f, 0.05f);
    RiTranslate(0.5f, 0, 0); // the world appears shifted right by 0.5
    RiWorldBegin();
    if (transformInWorld) {
        // None of these may move the camera.
        RtMatrix identity = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        RiTranslate(3, 0, 0);
        RiTransform(identity);
        RiIdentity();
    }
    RiSurface(RI_CONSTANT, RI_NULL);
    square(0.05f, 5);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    for (int i = 0; i < p.width; ++i)
        if (p.at(i, 0, 3) > 0.5f)
            return i;
    return -1;
}

TEST(FrameTest, CameraIsFixedAtWorldBegin)
{
    EXPECT_EQ(squareColumn(false), 15); // screen x 0.5
    EXPECT_EQ(squareColumn(true), 15);
}

int quantized(float gain, float gamma, float dither)
{
    ScratchDir dir;
    std::string out = dir.file("q.tif");
    RiBegin(RI_NULL);
    RiDisplay(const_cast<char*>(out.c_str()), RI_FILE, RI_RGB, RI_NULL);
    RiFormat(1, 1, 1);
    RiPixelSamples(1, 1);
    RiPixelFilter(RiBoxFilter, 1, 1);
    RiExposure(gain, gamma);
    RiQuantize(RI_RGBA, 255, 0, 255, dither);
    orthoCamera(1);
    RiWorldBegin();
    RiSurface(RI_CONSTANT, RI_NULL);
    RtColor c = {0.25f, 0.25f, 0.25f};
    RiColor(c);
    square(4, 5);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    return p.width == 1 ? int(std::lround(p.at(0, 0) * 255)) : -1;
}

TEST(FrameTest, ExposureAndQuantize)
{
    EXPECT_EQ(quantized(1, 1, 0), 64);    // 0.25 * 255 = 63.75
    EXPECT_EQ(quantized(2, 1, 0), 128);   // 0.5 * 255 = 127.5
    EXPECT_EQ(quantized(2, 2, 0), 180);   // sqrt(0.5) * 255 = 180.3
    EXPECT_EQ(quantized(100, 1, 0), 255); // clamped to max
    int d = quantized(2, 2, 0.5f);
    EXPECT_TRUE(d == 180 || d == 181) << d;
}

struct ProgressLog
{
    std::vector<float> fractions;
    bool stop = false;
};

RtInt recordProgress(RtFloat f, RtPointer data)
{
    auto* log = static_cast<ProgressLog*>(data);
    log->fractions.push_back(f);
    return log->stop ? 1 : 0;
}

void smallFrame(const std::string& out)
{
    RiBegin(RI_NULL);
    RiDisplay(const_cast<char*>(out.c_str()), RI_FILE, RI_RGBA, RI_NULL);
    RiFormat(64, 64, 1);
    orthoCamera(1);
    RiWorldBegin();
    RiSphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
    RiWorldEnd();
    RiEnd();
}

TEST(FrameTest, ProgressRunsFromZeroToOneAndStopsOnRequest)
{
    ScratchDir dir;
    ProgressLog log;
    RiProgressHandler(recordProgress, &log);
    smallFrame(dir.file("p.tif"));
    ASSERT_GE(log.fractions.size(), 2u);
    EXPECT_EQ(log.fractions.front(), 0);
    EXPECT_EQ(log.fractions.back(), 1);
    for (size_t k = 1; k < log.fractions.size(); ++k)
        EXPECT_GE(log.fractions[k], log.fractions[k - 1]);
    EXPECT_TRUE(std::filesystem::exists(dir.file("p.tif")));

    ProgressLog stopping;
    stopping.stop = true;
    ErrorLog::entries().clear();
    RiErrorHandler(ErrorLog::handler);
    RiProgressHandler(recordProgress, &stopping);
    smallFrame(dir.file("s.tif"));
    RiProgressHandler(nullptr, nullptr);
    RiErrorHandler(RiErrorPrint);
    EXPECT_EQ(stopping.fractions.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("s.tif")));
    EXPECT_TRUE(ErrorLog::contains("frame stopped"));
    // Nothing half-written is left beside it either.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.path().filename() != "p.tif";
    EXPECT_EQ(files, 0);
}

TEST(FrameTest, BindingReportsInsteadOfEndingTheProcess)
{
    ErrorLog::entries().clear();
    RiErrorHandler(ErrorLog::handler);
    RiWorldBegin(); // outside RiBegin
    RiSphere(1, -1, 1, 360, RI_NULL);
    EXPECT_GE(ErrorLog::count(RIE_NOTSTARTED), 2);

    ScratchDir dir;
    ErrorLog::entries().clear();
    RiBegin(RI_NULL);
    exactFrame(dir.file("b.tif"), 2, 2);
    RiWorldBegin();
    RtInt code[1] = {0};
    RtFloat flt[1] = {0};
    RiBlobby(1, 1, code, 1, flt, 0, nullptr, RI_NULL);
    RiBlobby(1, 1, code, 1, flt, 0, nullptr, RI_NULL);
    RiFormat(10, 10, 1); // an option inside the world block
    RtFloat v = 1;
    RiSurface(RI_MATTE, "bogus", &v, RI_NULL); // undeclared parameter
    RiAttributeEnd();                          // without its begin
    RiWorldEnd();
    RiEnd();
    EXPECT_EQ(ErrorLog::count(RIE_UNIMPLEMENT), 1);
    EXPECT_EQ(ErrorLog::count(RIE_NOTOPTIONS), 1);
    EXPECT_EQ(ErrorLog::count(RIE_BADTOKEN), 1);
    EXPECT_EQ(ErrorLog::count(RIE_NESTING), 1);

    // RiErrorAbort prints and stops the frame, but the process goes on.
    RiErrorHandler(RiErrorAbort);
    RiBegin(RI_NULL);
    RiFormat(-1, 5, 1);
    RiEnd();
    RiErrorHandler(RiErrorPrint);
    SUCCEED();
}

TEST(FrameTest, InlineDeclarationsAndRiDeclareTypeParameters)
{
    ScratchDir dir;
    std::string out = dir.file("d.tif");
    RiBegin(RI_NULL);
    RiDeclare(const_cast<char*>("myscale"), const_cast<char*>("uniform float"));
    exactFrame(out, 3, 3);
    orthoCamera(1);
    RiWorldBegin();
    RtFloat one = 1;
    RtPoint from = {0, 0, 4};
    RiLightSource(RI_POINTLIGHT, RI_INTENSITY, &one, RI_FROM, &from, RI_NULL);
    RtFloat kd = 0.5f;
    RiSurface(RI_MATTE, "uniform float Kd", &kd, "myscale", &one, RI_NULL);
    RtPoint p[4] = {{-4, -4, 5}, {-4, 4, 5}, {4, 4, 5}, {4, -4, 5}};
    RtFloat cs[12] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    RiPolygon(4, RI_P, p, "varying color Cs", cs, RI_NULL);
    RiWorldEnd();
    RiEnd();
    Picture pic = readPicture(out);
    ASSERT_EQ(pic.width, 3);
    EXPECT_NEAR(pic.at(1, 1), 0.5f, 1e-4);
}

} // namespace

namespace {

TEST(FrameTest, ExtraDisplaysAndTheFramebufferWithoutAWindowWriteTheirFiles)
{
    ScratchDir dir;
    std::string fb = dir.file("room.tif"), hdr = dir.file("room.hdr"), alpha = dir.file("a.tif");
    ::unsetenv("DISPLAY");
    RiBegin(RI_NULL);
    RiDisplay(const_cast<char*>(fb.c_str()), RI_FRAMEBUFFER, RI_RGB, RI_NULL);
    RiDisplay(const_cast<char*>(("+" + hdr).c_str()), const_cast<char*>("rgbe"), RI_RGB, RI_NULL);
    RiDisplay(const_cast<char*>(("+" + alpha).c_str()), const_cast<char*>("tiff"), RI_A, RI_NULL);
    RiFormat(8, 6, 1);
    orthoCamera(1);
    RiWorldBegin();
    RiSurface(RI_CONSTANT, RI_NULL);
    RtColor bright = {2, 2, 2};
    RiColor(bright);
    square(0.5f, 5);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(fb), h = readPicture(hdr), a = readPicture(alpha);
    ASSERT_EQ(p.width, 8);
    EXPECT_EQ(p.channels, 3);
    EXPECT_NEAR(p.at(4, 3), 1, 1e-6); // clamped by the 8-bit quantiser
    ASSERT_EQ(h.width, 8);
    EXPECT_NEAR(h.at(4, 3), 2, 0.05); // HDR keeps the unclamped value
    ASSERT_EQ(a.channels, 1);
    EXPECT_NEAR(a.at(4, 3), 1, 1e-6);
    EXPECT_NEAR(a.at(0, 0), 0, 1e-6);
    auto entries = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 3); // no temporary files left
}

} // namespace
