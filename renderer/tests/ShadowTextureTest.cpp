// Shadow maps from depth renders, and textures with their wrap modes.
#include "RenderFixture.h"
#include "Textures.h"

#include <OpenImageIO/imagebuf.h>
#include <OpenImageIO/imagebufalgo.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace ritest;

namespace {

char* tok(const char* s)
{
    return const_cast<char*>(s);
}

/// Camera above the origin looking down (-y), `height` up.
void lookDown(float height)
{
    RiRotate(-90, 1, 0, 0);
    RiTranslate(0, -height, 0);
}

TEST(ShadowTextureTest, ShadowBehindAnOccluderAndNoneOutsideTheMap)
{
    ScratchDir dir;
    std::string depth = dir.file("shadow1.z"), map = dir.file("shadow1.sm");
    // Depth pass from the light: only the occluder, as the module's shadow pass does.
    RiBegin(RI_NULL);
    RiDisplay(tok(depth.c_str()), RI_FILE, RI_Z, RI_NULL);
    RiPixelSamples(1, 1);
    RiPixelFilter(RiBoxFilter, 1, 1);
    RiFormat(64, 64, 1);
    RtFloat fov = 40;
    RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    lookDown(5);
    RiWorldBegin();
    RtPoint occluder[4] = {{-0.5f, 1, -0.5f}, {-0.5f, 1, 0.5f}, {0.5f, 1, 0.5f}, {0.5f, 1, -0.5f}};
    RiPolygon(4, RI_P, occluder, RI_NULL);
    RiWorldEnd();
    RiMakeShadow(tok(depth.c_str()), tok(map.c_str()), RI_NULL);
    RiEnd();

    ri::ShadowMap sm;
    std::string error;
    ASSERT_TRUE(ri::readShadowMap(map, sm, error)) << error;
    ri::ShadowMap z;
    ASSERT_TRUE(ri::readShadowMap(depth, z, error)) << error;
    for (int k = 0; k < 16; ++k) {
        EXPECT_FLOAT_EQ(sm.worldToCamera[k], z.worldToCamera[k]);
        EXPECT_FLOAT_EQ(sm.worldToScreen[k], z.worldToScreen[k]);
    }
    EXPECT_NEAR(sm.depth[32 * 64 + 32], 4, 1e-3); // the occluder, 4 below the light

    // Main pass: the floor seen from above, lit by a shadowed point light at the map's eye.
    std::string out = dir.file("floor.tif");
    RiBegin(RI_NULL);
    exactFrame(out, 31, 1);
    RiProjection(RI_ORTHOGRAPHIC, RI_NULL);
    RiScreenWindow(-3.1f, 3.1f, -0.1f, 0.1f);
    lookDown(10);
    RiWorldBegin();
    RtFloat in = 25;
    RtPoint from = {0, 5, 0};
    RtString name = tok(map.c_str());
    RiLightSource(tok("shadowpoint"), RI_INTENSITY, &in, RI_FROM, &from, tok("shadowname_px"),
                  &name, tok("shadowname_nx"), &name, tok("shadowname_py"), &name,
                  tok("shadowname_ny"), &name, tok("shadowname_pz"), &name, tok("shadowname_nz"),
                  &name, RI_NULL);
    RiSurface(RI_MATTE, RI_NULL);
    RtPoint floor[4] = {{-4, 0, -4}, {-4, 0, 4}, {4, 0, 4}, {4, 0, -4}};
    RiPolygon(4, RI_P, floor, RI_NULL);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    ASSERT_EQ(p.width, 31);
    auto lit = [&](float x) {
        int i = int((x + 3.1f) / 6.2f * 31);
        float d2 = 25 + x * x;
        return p.at(i, 0) / (25 / d2 * 5 / std::sqrt(d2));
    };
    EXPECT_NEAR(lit(0), 0, 0.01);    // under the occluder
    EXPECT_NEAR(lit(0.2f), 0, 0.01); // the occluder's shadow is 1.25 wide at the floor
    EXPECT_NEAR(lit(1.4f), 1, 0.01); // in the map, beside the shadow
    EXPECT_NEAR(lit(2.6f), 1, 0.01); // outside the map's frustum (1.82 wide): lit
    EXPECT_NEAR(lit(-2.6f), 1, 0.01);
}

void halfRedHalfGreen(const std::string& path)
{
    OIIO::ImageSpec spec(8, 8, 3, OIIO::TypeDesc::FLOAT);
    OIIO::ImageBuf buf(spec);
    float red[3] = {1, 0, 0}, green[3] = {0, 1, 0};
    OIIO::ImageBufAlgo::fill(buf, red, OIIO::ROI(0, 4, 0, 8));
    OIIO::ImageBufAlgo::fill(buf, green, OIIO::ROI(4, 8, 0, 8));
    ASSERT_TRUE(buf.write(path));
}

/// Red component at s = 0.25 and s = 1.25 of a strip whose s runs from 0 to 2.
std::pair<float, float> redAt(const char* wrap)
{
    ScratchDir dir;
    std::string pic = dir.file("p.tif"), tex = dir.file("p.tx"), out = dir.file("t.tif");
    halfRedHalfGreen(pic);
    RiBegin(RI_NULL);
    RiMakeTexture(tok(pic.c_str()), tok(tex.c_str()), tok(wrap), tok(wrap), RiGaussianFilter, 2, 2,
                  RI_NULL);
    exactFrame(out, 40, 1);
    RiProjection(RI_ORTHOGRAPHIC, RI_NULL);
    RiScreenWindow(-1, 1, -0.025f, 0.025f);
    RiWorldBegin();
    RtFloat one = 1, zero = 0;
    RiLightSource(RI_AMBIENTLIGHT, RI_INTENSITY, &one, RI_NULL);
    RtString t = tok(tex.c_str());
    RiSurface(RI_PAINTEDPLASTIC, RI_KA, &one, RI_KD, &zero, RI_KS, &zero, RI_TEXTURENAME, &t,
              RI_NULL);
    RtPoint P[4] = {{-1, -1, 5}, {-1, 1, 5}, {1, 1, 5}, {1, -1, 5}};
    RtFloat st[8] = {0, 0.5f, 0, 0.5f, 2, 0.5f, 2, 0.5f};
    RiPolygon(4, RI_P, P, RI_ST, st, RI_NULL);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    if (p.width != 40)
        return {-1, -1};
    return {p.at(5, 0), p.at(25, 0)}; // pixel centres at s = 0.275 and 1.275
}

TEST(ShadowTextureTest, TextureRepeatsOrGoesBlackAsItsWrapModeSays)
{
    auto periodic = redAt("periodic");
    EXPECT_NEAR(periodic.first, 1, 0.05);
    EXPECT_NEAR(periodic.second, 1, 0.05);
    auto black = redAt("black");
    EXPECT_NEAR(black.first, 1, 0.05);
    EXPECT_NEAR(black.second, 0, 0.05);
}

TEST(ShadowTextureTest, MissingFilesAreReportedNotFatal)
{
    ErrorLog::entries().clear();
    RiErrorHandler(ErrorLog::handler);
    ScratchDir dir;
    RiBegin(RI_NULL);
    RiMakeTexture(tok(dir.file("none.tif").c_str()), tok(dir.file("none.tx").c_str()), RI_PERIODIC,
                  RI_PERIODIC, RiGaussianFilter, 2, 2, RI_NULL);
    RiMakeShadow(tok(dir.file("none.z").c_str()), tok(dir.file("none.sm").c_str()), RI_NULL);
    RiEnd();
    RiErrorHandler(RiErrorPrint);
    EXPECT_EQ(ErrorLog::count(RIE_NOFILE), 2);
}

} // namespace
