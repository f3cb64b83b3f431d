// Known answers of the light and surface shaders on tiny scenes: falloff of point lights,
// spot cone and delta edges, the distant light's cosine law, plastic's highlight, and
// RiIlluminate scoped by an attribute block.
#include "RenderFixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ritest;

namespace {

const float kPi = 3.14159265f;

/// Value of the centre pixel of a matte plane at z = 5 lit by `light` at distance d.
float centreUnder(const char* light, float d, float intensity)
{
    ScratchDir dir;
    std::string out = dir.file("c.tif");
    RiBegin(RI_NULL);
    exactFrame(out, 3, 3);
    orthoCamera(1);
    RiWorldBegin();
    RtPoint from = {0, 0, 5 - d};
    RiLightSource(const_cast<char*>(light), RI_INTENSITY, &intensity, RI_FROM, &from, RI_NULL);
    RtFloat ka = 0, kd = 1;
    RiSurface(RI_MATTE, RI_KA, &ka, RI_KD, &kd, RI_NULL);
    square(4, 5);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    return p.width == 3 ? p.at(1, 1, 0) : -1;
}

TEST(LightingTest, PointLightFallsOffAsInverseSquareAndLinearAsInverse)
{
    EXPECT_NEAR(centreUnder("pointlight", 1, 2), 2, 1e-4);
    EXPECT_NEAR(centreUnder("pointlight", 2, 2), 0.5f, 1e-4);
    EXPECT_NEAR(centreUnder("pointlight", 4, 32), 2, 1e-4);
    EXPECT_NEAR(centreUnder("linearpointlight", 2, 2), 1, 1e-4);
    EXPECT_NEAR(centreUnder("linearpointlight", 4, 2), 0.5f, 1e-4);
}

float smoothstep(float a, float b, float x)
{
    if (x <= a)
        return 0;
    if (x >= b)
        return 1;
    float t = (x - a) / (b - a);
    return t * t * (3 - 2 * t);
}

TEST(LightingTest, SpotLightConeAndDeltaEdges)
{
    ScratchDir dir;
    std::string out = dir.file("spot.tif");
    const int w = 61;
    const float cone = 30 * kPi / 180, delta = 10 * kPi / 180, beam = 2, intensity = 3;
    RiBegin(RI_NULL);
    exactFrame(out, w, 1);
    RiProjection(RI_ORTHOGRAPHIC, RI_NULL);
    RiScreenWindow(-1, 1, -1.f / w, 1.f / w);
    RiWorldBegin();
    RtPoint from = {0, 0, 0}, to = {0, 0, 1};
    RtFloat c = cone, dl = delta, b = beam, in = intensity;
    RiLightSource(RI_SPOTLIGHT, RI_INTENSITY, &in, RI_FROM, &from, RI_TO, &to, RI_CONEANGLE, &c,
                  RI_CONEDELTAANGLE, &dl, RI_BEAMDISTRIBUTION, &b, RI_NULL);
    RtFloat ka = 0, kd = 1;
    RiSurface(RI_MATTE, RI_KA, &ka, RI_KD, &kd, RI_NULL);
    square(4, 1);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    ASSERT_EQ(p.width, w);
    int lit = 0, dark = 0, edge = 0;
    for (int i = 0; i < w; ++i) {
        float x = -1 + (i + 0.5f) * 2 / w;
        float d2 = 1 + x * x, cosa = 1 / std::sqrt(d2);
        float expected = intensity * std::pow(cosa, beam) *
                         smoothstep(std::cos(cone), std::cos(cone - delta), cosa) / d2 * cosa;
        EXPECT_NEAR(p.at(i, 0), expected, 1e-3f * intensity) << "pixel " << i;
        float angle = std::acos(cosa);
        lit += angle < cone - delta;
        dark += angle > cone;
        edge += angle > cone - delta && angle < cone;
    }
    // The row crosses the full cone, both soft edges and the dark outside.
    EXPECT_GT(lit, 0);
    EXPECT_GT(dark, 0);
    EXPECT_GT(edge, 0);
    EXPECT_EQ(p.at(0, 0), 0);
}

TEST(LightingTest, DistantLightFollowsTheCosineLaw)
{
    for (float degrees : {0.f, 30.f, 60.f, 80.f}) {
        float a = degrees * kPi / 180;
        ScratchDir dir;
        std::string out = dir.file("d.tif");
        RiBegin(RI_NULL);
        exactFrame(out, 3, 3);
        orthoCamera(1);
        RiWorldBegin();
        RtPoint from = {0, 0, 0}, to = {std::sin(a), 0, std::cos(a)};
        RtFloat in = 1.5f;
        RiLightSource(RI_DISTANTLIGHT, RI_INTENSITY, &in, RI_FROM, &from, RI_TO, &to, RI_NULL);
        RiSurface(RI_MATTE, RI_NULL);
        square(4, 5);
        RiWorldEnd();
        RiEnd();
        Picture p = readPicture(out);
        ASSERT_EQ(p.width, 3);
        EXPECT_NEAR(p.at(1, 1), 1.5f * std::cos(a), 1e-4) << degrees << " degrees";
    }
}

TEST(LightingTest, PlasticHighlightSitsWhereTheMirrorReflectionSays)
{
    ScratchDir dir;
    std::string out = dir.file("h.tif");
    const int w = 101;
    RiBegin(RI_NULL);
    exactFrame(out, w, 1);
    RtFloat fov = 90;
    RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    RiScreenWindow(-1, 1, -1.f / w, 1.f / w);
    RiWorldBegin();
    RtPoint from = {4, 0, 0};
    RtFloat in = 30;
    RiLightSource(RI_POINTLIGHT, RI_INTENSITY, &in, RI_FROM, &from, RI_NULL);
    RtFloat kd = 0, ks = 1, rough = 0.02f;
    RiSurface(RI_PLASTIC, RI_KD, &kd, RI_KS, &ks, RI_ROUGHNESS, &rough, RI_NULL);
    square(20, 5);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    ASSERT_EQ(p.width, w);
    int best = 0;
    for (int i = 1; i < w; ++i)
        if (p.at(i, 0) > p.at(best, 0))
            best = i;
    // Eye at the origin, light at x = 4, plane at z = 5: the mirror point is x = 2, which the
    // camera sees at screen x = 0.4.
    float expected = (0.4f + 1) / 2 * w - 0.5f;
    EXPECT_NEAR(best, expected, 1.0);
    EXPECT_GT(p.at(best, 0), 10 * p.at(10, 0));
}

TEST(LightingTest, IlluminateSwitchesALightInsideOneAttributeBlockOnly)
{
    ScratchDir dir;
    std::string out = dir.file("i.tif");
    RiBegin(RI_NULL);
    exactFrame(out, 4, 1);
    RiProjection(RI_ORTHOGRAPHIC, RI_NULL);
    RiScreenWindow(-2, 2, -0.5f, 0.5f);
    RiWorldBegin();
    RtPoint from = {0, 0, 4};
    RtFloat in = 1;
    RtLightHandle light = RiLightSource(RI_POINTLIGHT, RI_INTENSITY, &in, RI_FROM, &from, RI_NULL);
    RiSurface(RI_MATTE, RI_NULL);
    RiAttributeBegin();
    RiIlluminate(light, RI_FALSE);
    RtPoint left[4] = {{-2, -1, 5}, {-2, 1, 5}, {0, 1, 5}, {0, -1, 5}};
    RiPolygon(4, RI_P, left, RI_NULL);
    RiAttributeEnd();
    RtPoint right[4] = {{0, -1, 5}, {0, 1, 5}, {2, 1, 5}, {2, -1, 5}};
    RiPolygon(4, RI_P, right, RI_NULL);
    RiWorldEnd();
    RiEnd();
    Picture p = readPicture(out);
    ASSERT_EQ(p.width, 4);
    EXPECT_EQ(p.at(1, 0), 0);
    EXPECT_GT(p.at(2, 0), 0.3f);
    EXPECT_EQ(p.at(1, 0, 3), 1); // the unlit square is still there
}

TEST(LightingTest, UnknownShadersFallBackWithOneWarning)
{
    ErrorLog::entries().clear();
    RiErrorHandler(ErrorLog::handler);
    ScratchDir dir;
    std::string out = dir.file("u.tif");
    RiBegin(RI_NULL);
    exactFrame(out, 3, 3);
    orthoCamera(1);
    RiWorldBegin();
    RiLightSource(const_cast<char*>("nosuchlight"), RI_NULL);
    RiSurface(const_cast<char*>("nosuchsurface"), RI_NULL);
    RiSurface(const_cast<char*>("nosuchsurface"), RI_NULL);
    square(4, 5);
    RiWorldEnd();
    RiEnd();
    RiErrorHandler(RiErrorPrint);
    EXPECT_EQ(ErrorLog::count(RIE_NOSHADER), 2); // one for the light, one for the surface
    Picture p = readPicture(out);
    ASSERT_EQ(p.width, 3);
    // defaultsurface facing the eye: Ka + Kd = 1.
    EXPECT_NEAR(p.at(1, 1), 1, 1e-4);
}

} // namespace
