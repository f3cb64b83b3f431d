// libri.so as the module uses it: loaded with dlopen, every procedure resolved by name, and a
// shadow pass and a main pass rendered with the calls and values the scene export makes. Also
// checks that drivers and shaders are found beside libri.so when PIXIEHOME is unset.
#include "RenderFixture.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace ritest;

namespace {

const char* const kProcedures[] = {
#include "ProcedureNames.inc"
};

struct Library
{
    void* handle = dlopen(RI_TEST_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ~Library()
    {
        // Stays loaded, as the module keeps it.
    }
    template <class F> F get(const char* name) const
    {
        return reinterpret_cast<F>(dlsym(handle, name));
    }
};

TEST(HostTest, ExportsEveryProcedureAndTheProgressExtension)
{
    Library lib;
    ASSERT_TRUE(lib.handle) << dlerror();
    EXPECT_EQ(sizeof kProcedures / sizeof kProcedures[0], 181u);
    for (const char* name : kProcedures)
        EXPECT_TRUE(dlsym(lib.handle, name)) << name;
    EXPECT_TRUE(dlsym(lib.handle, "RiProgressHandler"));
}

TEST(HostTest, ShadowAndMainPassAsTheModuleExportsThem)
{
    Library lib;
    ASSERT_TRUE(lib.handle);
    auto Begin = lib.get<void (*)(RtToken)>("RiBegin");
    auto End = lib.get<void (*)()>("RiEnd");
    auto Display = lib.get<void (*)(char*, RtToken, RtToken, ...)>("RiDisplay");
    auto PixelSamples = lib.get<void (*)(RtFloat, RtFloat)>("RiPixelSamples");
    auto PixelFilter = lib.get<void (*)(RtFilterFunc, RtFloat, RtFloat)>("RiPixelFilter");
    auto Format = lib.get<void (*)(RtInt, RtInt, RtFloat)>("RiFormat");
    auto ShadingRate = lib.get<void (*)(RtFloat)>("RiShadingRate");
    auto Hider = lib.get<void (*)(RtToken, ...)>("RiHider");
    auto Projection = lib.get<void (*)(RtToken, ...)>("RiProjection");
    auto Transform = lib.get<void (*)(RtMatrix)>("RiTransform");
    auto ConcatTransform = lib.get<void (*)(RtMatrix)>("RiConcatTransform");
    auto WorldBegin = lib.get<void (*)()>("RiWorldBegin");
    auto WorldEnd = lib.get<void (*)()>("RiWorldEnd");
    auto AttributeBegin = lib.get<void (*)()>("RiAttributeBegin");
    auto AttributeEnd = lib.get<void (*)()>("RiAttributeEnd");
    auto LightSource = lib.get<RtLightHandle (*)(RtToken, ...)>("RiLightSource");
    auto Illuminate = lib.get<void (*)(RtLightHandle, RtBoolean)>("RiIlluminate");
    auto Surface = lib.get<void (*)(RtToken, ...)>("RiSurface");
    auto Opacity = lib.get<void (*)(RtColor)>("RiOpacity");
    auto Polygon = lib.get<void (*)(RtInt, ...)>("RiPolygon");
    auto MakeShadow = lib.get<void (*)(char*, char*, ...)>("RiMakeShadow");
    auto BoxFilter = lib.get<RtFilterFunc>("RiBoxFilter");
    auto CatmullRom = lib.get<RtFilterFunc>("RiCatmullRomFilter");

    ScratchDir dir;
    std::string cwd = std::filesystem::current_path();
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    const char* home = std::getenv("PIXIEHOME");
    std::string savedHome = home ? home : "";
    ::unsetenv("PIXIEHOME"); // drivers and shaders beside libri.so
    ::unsetenv("DISPLAY");   // the framebuffer writes its file only

    // A box on the floor (in 0.1 mm), seen from 3.7 m above for the shadow pass.
    auto box = [&] {
        RtPoint top[4] = {
            {-2000, 8000, -2000}, {-2000, 8000, 2000}, {2000, 8000, 2000}, {2000, 8000, -2000}};
        RtColor cs[4] = {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}};
        RtColor os[4] = {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}};
        RtPoint n[4] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
        Polygon(4, RI_P, top, RI_N, n, RI_CS, cs, RI_OS, os, RI_NULL);
    };
    // world to camera of a camera at y = 37000 looking down (-y), x to the right
    RtMatrix shadowView = {{1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {0, 0, 37000, 1}};
    Begin(RI_NULL);
    Display(const_cast<char*>("shadow0.z"), RI_FILE, RI_Z, RI_NULL);
    PixelSamples(1, 1);
    PixelFilter(BoxFilter, 1, 1);
    Format(64, 48, 1);
    ShadingRate(4);
    RtFloat jitter = 0;
    Hider(RI_HIDDEN, RI_JITTER, &jitter, RI_NULL);
    RtFloat fov = 89;
    Projection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    Transform(shadowView);
    WorldBegin();
    AttributeBegin();
    box();
    AttributeEnd();
    WorldEnd();
    MakeShadow(const_cast<char*>("shadow0.z"), const_cast<char*>("shadow0.sm"), RI_NULL);
    End();
    EXPECT_TRUE(std::filesystem::exists("shadow0.sm"));

    // Main pass: camera at the side, linear shadow point lights, opacity, framebuffer.
    RtMatrix view = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, -9000, 30000, 1}};
    Begin(RI_NULL);
    Display(const_cast<char*>("room.tif"), RI_FRAMEBUFFER, RI_RGB, RI_NULL);
    PixelSamples(4, 4);
    PixelFilter(CatmullRom, 3, 3);
    Format(40, 30, 1);
    fov = 60;
    Projection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    Transform(view);
    WorldBegin();
    RtFloat amb = 0.5f;
    LightSource(RI_AMBIENTLIGHT, RI_INTENSITY, &amb, RI_NULL);
    RtFloat in = 25.6f / 0.002f;
    RtLightHandle lights[3];
    RtString sm = const_cast<char*>("shadow0.sm");
    for (int k = 0; k < 3; ++k) {
        RtPoint from = {0, 14000.f + 6000 * k, 0};
        lights[k] =
            LightSource(const_cast<char*>("linearshadowpoint"), RI_INTENSITY, &in, RI_FROM, &from,
                        "shadowname_px", &sm, "shadowname_nx", &sm, "shadowname_py", &sm,
                        "shadowname_ny", &sm, "shadowname_pz", &sm, "shadowname_nz", &sm, RI_NULL);
    }
    Illuminate(lights[1], 0);
    Illuminate(lights[2], 0);
    RtMatrix identity = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    AttributeBegin();
    ConcatTransform(identity);
    Surface(RI_PLASTIC, RI_NULL);
    RtColor half = {0.5f, 0.5f, 0.5f};
    Opacity(half);
    RtPoint floor[3] = {{-20000, 0, -20000}, {-20000, 0, 20000}, {20000, 0, 20000}};
    Polygon(3, RI_P, floor, RI_NULL);
    AttributeEnd();
    WorldEnd();
    End();
    EXPECT_TRUE(std::filesystem::exists("room.tif"));
    Picture p = readPicture("room.tif");
    EXPECT_EQ(p.width, 40);
    EXPECT_EQ(p.channels, 3);

    if (!savedHome.empty())
        ::setenv("PIXIEHOME", savedHome.c_str(), 1);
    ASSERT_EQ(::chdir(cwd.c_str()), 0);
}

} // namespace
