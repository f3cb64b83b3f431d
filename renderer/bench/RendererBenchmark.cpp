// A room with tessellated spheres (100 000 or 500 000 triangles), 800 x 600, 4 x 4 samples,
// Catmull-Rom, two shadowed point lights: the two depth passes, the shadow maps and the main
// pass through the C binding. Counters give the time per stage. Peak memory: run under
// /usr/bin/time -v.
//
// The same triangles, lights, camera, samples and filter are also rendered by SunFlow (Debian
// package sunflow) when SUNFLOW_DRIVER names a folder holding a compiled headless driver class
// SfRender (arguments: scene.sc out.png threads aaMin aaMax) and java is on the path.
#include "Hider.h"
#include "ri.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

char* tok(const char* s)
{
    return const_cast<char*>(s);
}

struct SphereMesh
{
    std::vector<RtFloat> P, N;
    std::vector<RtInt> nverts, verts;
};

/// A UV sphere of radius 1 with `segments` x `rings` quads split into two triangles each.
SphereMesh tessellatedSphere(int segments, int rings)
{
    SphereMesh m;
    const float pi = 3.14159265f;
    for (int j = 0; j <= rings; ++j)
        for (int i = 0; i <= segments; ++i) {
            float th = 2 * pi * float(i) / float(segments), ph = pi * float(j) / float(rings);
            float x = std::sin(ph) * std::cos(th), y = std::cos(ph),
                  z = std::sin(ph) * std::sin(th);
            m.P.insert(m.P.end(), {x, y, z});
            m.N.insert(m.N.end(), {x, y, z});
        }
    for (int j = 0; j < rings; ++j)
        for (int i = 0; i < segments; ++i) {
            int a = j * (segments + 1) + i, b = a + 1, c = a + segments + 1, d = c + 1;
            m.verts.insert(m.verts.end(), {a, c, b, b, c, d});
            m.nverts.insert(m.nverts.end(), {3, 3});
        }
    return m;
}

const float kLights[2][3] = {{-2, 2.6f, -1}, {2, 2.6f, 1.5f}};
const float kEye[3] = {0, 1.6f, -6.5f};
const float kIntensity = 6;

/// Where sphere k sits and how large it is.
void sphereTransform(int k, float& x, float& y, float& z, float& r)
{
    x = -3.2f + 0.8f * float(k % 9);
    y = 0.3f + 0.6f * float((k / 9) % 3);
    z = -2 + 0.9f * float(k / 27);
    r = 0.3f;
}

void spheres(const SphereMesh& m, int count)
{
    for (int k = 0; k < count; ++k) {
        RiAttributeBegin();
        RtColor c = {0.3f + 0.6f * float(k % 3) / 2, 0.4f, 0.9f - 0.6f * float(k % 5) / 4};
        RiColor(c);
        float x, y, z, r;
        sphereTransform(k, x, y, z, r);
        RiTranslate(x, y, z);
        RiScale(r, r, r);
        RiPointsPolygons(RtInt(m.nverts.size()), const_cast<RtInt*>(m.nverts.data()),
                         const_cast<RtInt*>(m.verts.data()), RI_P, const_cast<RtFloat*>(m.P.data()),
                         RI_N, const_cast<RtFloat*>(m.N.data()), RI_NULL);
        RiAttributeEnd();
    }
}

void room()
{
    RtPoint floor[4] = {{-4, 0, -3}, {-4, 0, 3}, {4, 0, 3}, {4, 0, -3}};
    RtPoint ceiling[4] = {{-4, 2.8f, -3}, {4, 2.8f, -3}, {4, 2.8f, 3}, {-4, 2.8f, 3}};
    RtPoint back[4] = {{-4, 0, 3}, {-4, 2.8f, 3}, {4, 2.8f, 3}, {4, 0, 3}};
    RtPoint left[4] = {{-4, 0, -3}, {-4, 2.8f, -3}, {-4, 2.8f, 3}, {-4, 0, 3}};
    RtPoint right[4] = {{4, 0, 3}, {4, 2.8f, 3}, {4, 2.8f, -3}, {4, 0, -3}};
    RiAttributeBegin();
    RiSurface(RI_MATTE, RI_NULL);
    for (auto* p : {floor, ceiling, back, left, right})
        RiPolygon(4, RI_P, p, RI_NULL);
    RiAttributeEnd();
}

struct Times
{
    double parse = 0, bvh = 0, shadow = 0, shading = 0, output = 0;
    /// The shadow pass split: parsing, hierarchy, depth render and writing the zfile, making
    /// the shadow map from it.
    double shadowParse = 0, shadowBvh = 0, shadowRender = 0, shadowOutput = 0, makeShadow = 0;
};

void depthPass(const SphereMesh& m, int count, int light, const std::string& dir, Times& t)
{
    std::string z = dir + "/light" + std::to_string(light) + ".z";
    std::string sm = dir + "/light" + std::to_string(light) + ".sm";
    auto t0 = Clock::now();
    RiBegin(RI_NULL);
    RiDisplay(tok(z.c_str()), RI_FILE, RI_Z, RI_NULL);
    RiFormat(512, 512, 1);
    RiPixelSamples(1, 1);
    RiPixelFilter(RiBoxFilter, 1, 1);
    RtFloat fov = 150;
    RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    RiRotate(-90, 1, 0, 0);
    RiTranslate(-kLights[light][0], -kLights[light][1], -kLights[light][2]);
    RiWorldBegin();
    spheres(m, count);
    auto t1 = Clock::now();
    RiWorldEnd();
    auto t2 = Clock::now();
    RiMakeShadow(tok(z.c_str()), tok(sm.c_str()), RI_NULL);
    RiEnd();
    auto t3 = Clock::now();
    const ri::HiderResult& r = ri::lastFrameStatistics();
    t.shadow += std::chrono::duration<double>(t3 - t0).count();
    t.shadowParse += std::chrono::duration<double>(t1 - t0).count();
    t.shadowBvh += r.bvhSeconds;
    t.shadowRender += r.renderSeconds;
    t.shadowOutput += r.outputSeconds;
    t.makeShadow += std::chrono::duration<double>(t3 - t2).count();
}

void mainPass(const SphereMesh& m, int count, const std::string& dir, Times& t)
{
    std::string out = dir + "/room.tif";
    auto t0 = Clock::now();
    RiBegin(RI_NULL);
    RiDisplay(tok(out.c_str()), RI_FILE, RI_RGB, RI_NULL);
    RiFormat(800, 600, 1);
    RiPixelSamples(4, 4);
    RiPixelFilter(RiCatmullRomFilter, 3, 3);
    RtFloat fov = 60;
    RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    RiTranslate(-kEye[0], -kEye[1], -kEye[2]);
    RiWorldBegin();
    RtFloat amb = 0.1f;
    RiLightSource(RI_AMBIENTLIGHT, RI_INTENSITY, &amb, RI_NULL);
    for (int l = 0; l < 2; ++l) {
        std::string sm = dir + "/light" + std::to_string(l) + ".sm";
        RtString s = tok(sm.c_str());
        RtFloat in = kIntensity;
        RtPoint from = {kLights[l][0], kLights[l][1], kLights[l][2]};
        RiLightSource(tok("shadowpoint"), RI_INTENSITY, &in, RI_FROM, &from, "shadowname_px", &s,
                      "shadowname_nx", &s, "shadowname_py", &s, "shadowname_ny", &s,
                      "shadowname_pz", &s, "shadowname_nz", &s, RI_NULL);
    }
    room();
    RiSurface(RI_PLASTIC, RI_NULL);
    spheres(m, count);
    auto t1 = Clock::now();
    RiWorldEnd();
    RiEnd();
    const ri::HiderResult& r = ri::lastFrameStatistics();
    t.parse += std::chrono::duration<double>(t1 - t0).count();
    t.bvh += r.bvhSeconds;
    t.shading += r.renderSeconds;
    t.output += r.outputSeconds;
}

void BM_RoomWithSpheres(benchmark::State& state)
{
    const int triangles = int(state.range(0));
    const int count = 36;
    // Segments x rings x 2 triangles per sphere.
    int rings = int(std::lround(std::sqrt(double(triangles) / count / 4)));
    SphereMesh m = tessellatedSphere(2 * rings, rings);
    char tmpl[] = "/tmp/ribenchXXXXXX";
    std::string dir = ::mkdtemp(tmpl);
    Times t;
    int iterations = 0;
    for (auto _ : state) {
        depthPass(m, count, 0, dir, t);
        depthPass(m, count, 1, dir, t);
        mainPass(m, count, dir, t);
        ++iterations;
    }
    std::filesystem::remove_all(dir);
    double n = std::max(1, iterations);
    state.counters["triangles"] = double(m.nverts.size()) * count;
    state.counters["parse_s"] = t.parse / n;
    state.counters["bvh_s"] = t.bvh / n;
    state.counters["shadow_pass_s"] = t.shadow / n;
    state.counters["shadow_parse_s"] = t.shadowParse / n;
    state.counters["shadow_bvh_s"] = t.shadowBvh / n;
    state.counters["shadow_render_s"] = t.shadowRender / n;
    state.counters["shadow_zfile_s"] = t.shadowOutput / n;
    state.counters["make_shadow_s"] = t.makeShadow / n;
    state.counters["shading_and_sampling_s"] = t.shading / n;
    state.counters["filter_and_output_s"] = t.output / n;
}

/// Writes the scene for SunFlow: the room and all spheres as meshes in world space.
void writeSunflowScene(const std::string& path, const SphereMesh& m, int count)
{
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f)
        return;
    // SunFlow's fov is horizontal; ours (60) is across the shorter, vertical side.
    double hfov = 2 * std::atan(std::tan(30 * 3.14159265 / 180) * 800.0 / 600.0) * 180 / 3.14159265;
    std::fprintf(f, "image {\n  resolution 800 600\n  aa 2 2\n  filter catmull-rom\n}\n");
    std::fprintf(f, "trace-depths {\n  diff 0\n  refl 0\n  refr 0\n}\ngi { type none }\n");
    std::fprintf(f,
                 "camera {\n  type pinhole\n  eye %g %g %g\n  target %g %g %g\n  up 0 1 0\n"
                 "  fov %g\n  aspect 1.333333\n}\n",
                 kEye[0], kEye[1], kEye[2], kEye[0], kEye[1], kEye[2] + 1, hfov);
    // Our intensity I lights as I / d^2; SunFlow's power P as P / (4 pi d^2).
    for (const auto& l : kLights)
        std::fprintf(f,
                     "light {\n  type point\n  color { \"sRGB linear\" 1 1 1 }\n  power %g\n"
                     "  p %g %g %g\n}\n",
                     4 * 3.14159265 * kIntensity, l[0], l[1], l[2]);
    std::fprintf(f, "shader {\n  name walls\n  type diffuse\n  diff 0.8 0.8 0.8\n}\n");
    std::fprintf(f, "shader {\n  name balls\n  type phong\n  diff 0.6 0.4 0.4\n"
                    "  spec 0.5 0.5 0.5 10\n  samples 0\n}\n");
    const float room[20][3] = {{-4, 0, -3},    {-4, 0, 3},     {4, 0, 3},     {4, 0, -3},
                               {-4, 2.8f, -3}, {4, 2.8f, -3},  {4, 2.8f, 3},  {-4, 2.8f, 3},
                               {-4, 0, 3},     {-4, 2.8f, 3},  {4, 2.8f, 3},  {4, 0, 3},
                               {-4, 0, -3},    {-4, 2.8f, -3}, {-4, 2.8f, 3}, {-4, 0, 3},
                               {4, 0, 3},      {4, 2.8f, 3},   {4, 2.8f, -3}, {4, 0, -3}};
    std::fprintf(f, "object {\n  shader walls\n  type generic-mesh\n  name room\n  points 20\n");
    for (const auto& p : room)
        std::fprintf(f, "    %g %g %g\n", p[0], p[1], p[2]);
    std::fprintf(f, "  triangles 10\n");
    for (int q = 0; q < 5; ++q)
        std::fprintf(f, "    %d %d %d\n    %d %d %d\n", 4 * q, 4 * q + 1, 4 * q + 2, 4 * q,
                     4 * q + 2, 4 * q + 3);
    std::fprintf(f, "  normals none\n  uvs none\n}\n");
    size_t nv = m.P.size() / 3, nt = m.nverts.size();
    std::fprintf(f, "object {\n  shader balls\n  type generic-mesh\n  name spheres\n  points %zu\n",
                 nv * size_t(count));
    for (int k = 0; k < count; ++k) {
        float x, y, z, r;
        sphereTransform(k, x, y, z, r);
        for (size_t v = 0; v < nv; ++v)
            std::fprintf(f, "    %g %g %g\n", x + r * m.P[3 * v], y + r * m.P[3 * v + 1],
                         z + r * m.P[3 * v + 2]);
    }
    std::fprintf(f, "  triangles %zu\n", nt * size_t(count));
    for (int k = 0; k < count; ++k)
        for (size_t t = 0; t < nt; ++t)
            std::fprintf(f, "    %zu %zu %zu\n", k * nv + size_t(m.verts[3 * t]),
                         k * nv + size_t(m.verts[3 * t + 1]), k * nv + size_t(m.verts[3 * t + 2]));
    std::fprintf(f, "  normals vertex\n");
    for (int k = 0; k < count; ++k)
        for (size_t v = 0; v < nv; ++v)
            std::fprintf(f, "    %g %g %g\n", m.N[3 * v], m.N[3 * v + 1], m.N[3 * v + 2]);
    std::fprintf(f, "  uvs none\n}\n");
    std::fclose(f);
}

void BM_SunflowRoomWithSpheres(benchmark::State& state)
{
    const char* driver = std::getenv("SUNFLOW_DRIVER");
    if (!driver || !*driver || !std::filesystem::exists("/usr/share/java/sunflow.jar")) {
        state.SkipWithError("SUNFLOW_DRIVER not set or sunflow not installed");
        return;
    }
    const int triangles = int(state.range(0));
    const int count = 36;
    int rings = int(std::lround(std::sqrt(double(triangles) / count / 4)));
    SphereMesh m = tessellatedSphere(2 * rings, rings);
    char tmpl[] = "/tmp/sfbenchXXXXXX";
    std::string dir = ::mkdtemp(tmpl);
    writeSunflowScene(dir + "/room.sc", m, count);
    std::string cmd = std::string("java -Xmx3g -cp /usr/share/java/sunflow.jar:") + driver +
                      " SfRender " + dir + "/room.sc " + dir + "/room.png 2 2 2 > " + dir +
                      "/log.txt 2>&1";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("sunflow failed");
            break;
        }
    }
    state.counters["triangles"] = double(m.nverts.size()) * count;
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_SunflowRoomWithSpheres)
    ->Arg(100000)
    ->Arg(500000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

BENCHMARK(BM_RoomWithSpheres)
    ->Arg(100000)
    ->Arg(500000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
