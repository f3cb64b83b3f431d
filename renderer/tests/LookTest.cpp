// Pictures to look at (written to RI_LOOK_DIR when it is set): a lit room with textured walls,
// a sphere and a torus with plastic highlights, a spot with its shadow. As tests they check
// only that the frame renders and is not empty.
#include "RenderFixture.h"

#include <OpenImageIO/imagebuf.h>
#include <OpenImageIO/imagebufalgo.h>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace ritest;

namespace {

std::string outDir(const ScratchDir& scratch)
{
    const char* look = std::getenv("RI_LOOK_DIR");
    return look && *look ? look : scratch.path();
}

void checker(const std::string& path)
{
    OIIO::ImageSpec spec(64, 64, 3, OIIO::TypeDesc::UINT8);
    OIIO::ImageBuf buf(spec);
    float a[3] = {0.9f, 0.85f, 0.7f}, b[3] = {0.5f, 0.3f, 0.2f};
    OIIO::ImageBufAlgo::checker(buf, 16, 16, 1, a, b);
    buf.write(path);
}

TEST(LookTest, SphereAndTorusWithHighlightsAndASpotShadow)
{
    ScratchDir scratch;
    std::string dir = outDir(scratch);
    std::string wallPic = scratch.file("wall.tif"), wallTex = scratch.file("wall.tx");
    checker(wallPic);
    std::string depth = scratch.file("spot.z"), map = scratch.file("spot.sm");

    // Shadow pass from the spot light.
    RiBegin(RI_NULL);
    RiDisplay(const_cast<char*>(depth.c_str()), RI_FILE, RI_Z, RI_NULL);
    RiFormat(256, 256, 1);
    RiPixelSamples(1, 1);
    RiPixelFilter(RiBoxFilter, 1, 1);
    RtFloat fov = 60;
    RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    RiRotate(-90, 1, 0, 0); // looking down from (0, 6, 0)
    RiTranslate(0, -6, 0);
    RiWorldBegin();
    RiTranslate(-0.8f, 1, 0);
    RiSphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
    RiWorldEnd();
    RiMakeShadow(const_cast<char*>(depth.c_str()), const_cast<char*>(map.c_str()), RI_NULL);
    RiEnd();

    RiBegin(RI_NULL);
    RiMakeTexture(const_cast<char*>(wallPic.c_str()), const_cast<char*>(wallTex.c_str()),
                  RI_PERIODIC, RI_PERIODIC, RiGaussianFilter, 2, 2, RI_NULL);
    std::string out = dir + "/look.tif";
    RiDisplay(const_cast<char*>(out.c_str()), RI_FILE, RI_RGB, RI_NULL);
    RiFormat(320, 240, 1);
    RiPixelSamples(4, 4);
    RiPixelFilter(RiCatmullRomFilter, 3, 3);
    fov = 55;
    RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    RiRotate(-15, 1, 0, 0);
    RiTranslate(0, -2.2f, 6);
    RiWorldBegin();
    RtFloat amb = 0.15f;
    RiLightSource(RI_AMBIENTLIGHT, RI_INTENSITY, &amb, RI_NULL);
    RtFloat inten = 14;
    RtPoint from = {2, 4, -3};
    RiLightSource(RI_POINTLIGHT, RI_INTENSITY, &inten, RI_FROM, &from, RI_NULL);
    RtFloat sint = 40;
    RtPoint sfrom = {0, 6, 0}, sto = {0, 0, 0};
    RtFloat cone = 0.5f, delta = 0.08f;
    RtString sm = const_cast<char*>(map.c_str());
    RiLightSource(const_cast<char*>("shadowspot"), RI_INTENSITY, &sint, RI_FROM, &sfrom, RI_TO,
                  &sto, RI_CONEANGLE, &cone, RI_CONEDELTAANGLE, &delta, RI_SHADOWNAME, &sm,
                  RI_NULL);
    // Room: floor and two textured walls.
    RiAttributeBegin();
    RtString tex = const_cast<char*>(wallTex.c_str());
    RiSurface(RI_PAINTEDPLASTIC, RI_TEXTURENAME, &tex, RI_NULL);
    RtPoint back[4] = {{-4, 0, 3}, {-4, 5, 3}, {4, 5, 3}, {4, 0, 3}};
    RtFloat st[8] = {0, 2, 0, 0, 3, 0, 3, 2};
    RiPolygon(4, RI_P, back, RI_ST, st, RI_NULL);
    RtPoint left[4] = {{-4, 0, -6}, {-4, 5, -6}, {-4, 5, 3}, {-4, 0, 3}};
    RiPolygon(4, RI_P, left, RI_ST, st, RI_NULL);
    RiAttributeEnd();
    RiAttributeBegin();
    RiSurface(RI_MATTE, RI_NULL);
    RtColor floorColor = {0.8f, 0.8f, 0.75f};
    RiColor(floorColor);
    RtPoint floor[4] = {{-4, 0, -6}, {-4, 0, 3}, {4, 0, 3}, {4, 0, -6}};
    RiPolygon(4, RI_P, floor, RI_NULL);
    RiAttributeEnd();
    RiAttributeBegin();
    RiSurface(RI_PLASTIC, RI_NULL);
    RtColor red = {0.8f, 0.1f, 0.1f};
    RiColor(red);
    RiTranslate(-0.8f, 1, 0);
    RiSphere(0.8f, -0.8f, 0.8f, 360, RI_NULL);
    RiAttributeEnd();
    RiAttributeBegin();
    RiSurface(RI_PLASTIC, RI_NULL);
    RtColor blue = {0.2f, 0.3f, 0.9f};
    RiColor(blue);
    RiTranslate(1.4f, 0.9f, 0.5f);
    RiRotate(60, 1, 0, 0);
    RiTorus(0.6f, 0.25f, 0, 360, 360, RI_NULL);
    RiAttributeEnd();
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    ASSERT_EQ(p.width, 320);
    float sum = 0;
    for (float v : p.pixels)
        sum += v;
    EXPECT_GT(sum, 0);
}

} // namespace
