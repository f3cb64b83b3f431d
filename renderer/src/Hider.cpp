#include "Hider.h"

#include "DepthRaster.h"
#include "Display.h"
#include "Textures.h"

#include <embree3/rtcore.h>
#include <pmmintrin.h>
#include <tbb/enumerable_thread_specific.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>
#include <xmmintrin.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <thread>

namespace ri {

namespace {

using Clock = std::chrono::steady_clock;

thread_local HiderResult tLastStatistics;

/// Deterministic hash to [0, 1): the same pixel and sample always get the same jitter, so
/// that buckets computing the same border pixels agree.
float hash01(uint32_t a, uint32_t b, uint32_t c)
{
    uint32_t h = (a + 0x9e3779b9u) * 0x8da6b343u ^ (b + 0x7f4a7c15u) * 0xd8163841u ^
                 (c + 0x2545f491u) * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return float(h >> 8) * (1.0f / 16777216.0f);
}

struct Camera
{
    Matrix cameraToWorld;
    Vec3 eye; ///< the camera's origin in the world
    bool perspective;
    float tanHalf;
    float screen[4];
    int xres, yres;
    float hither, yon;

    /// Screen position of raster position (x, y) of the full frame.
    void screenAt(float x, float y, float& sx, float& sy) const
    {
        sx = screen[0] + x / float(xres) * (screen[1] - screen[0]);
        sy = screen[3] - y / float(yres) * (screen[3] - screen[2]);
    }

    /// Ray through raster position (x, y) of the full frame.
    void ray(float x, float y, Vec3& org, Vec3& dir) const
    {
        float sx, sy;
        screenAt(x, y, sx, sy);
        if (perspective) {
            org = eye;
            dir = cameraToWorld.vector({sx * tanHalf, sy * tanHalf, 1});
        } else {
            org = cameraToWorld.point({sx, sy, 0});
            dir = cameraToWorld.vector({0, 0, 1});
        }
    }
};

struct Sample
{
    float x, y; ///< raster position
    float c[4]; ///< premultiplied r g b, alpha
    float z;    ///< camera depth of the first surface, or +inf
};

struct CacheEntry
{
    uint32_t prim;
    Vec3 Ci, Oi;
};

/// The first surface a camera sample met, from its packet.
struct FirstHit
{
    float t, u, v;
    uint32_t prim, geom;
};

/// Everything the bucket workers share.
struct Frame
{
    const FrameOptions* options;
    const Scene* scene;
    Camera camera;
    RTCScene rtc = nullptr;
    TextureStore* textures = nullptr;
    int x0, y0, width, height; ///< the image (crop window) in frame raster coordinates
    int nx, ny;
    float fw, fh;
    int rx, ry; ///< neighbour pixels a filter reaches
    /// The filter tabulated over its support, kTableSteps entries per pixel each way.
    std::vector<float> filterTable;
    int tableWidth = 0, tableHeight = 0;
    std::vector<std::vector<const Light*>> lightsPerAttributes;
    /// Every display takes depth only: the first surface's distance, no shading.
    bool depthOnly = false;
    /// Depth of each sample of the image found beforehand, when not by casting rays.
    const DepthSamples* depth = nullptr;
    /// When every surface is opaque: the triangles projected for the camera and binned by
    /// tile, to find each sample's one surface without casting rays.
    DepthCamera projection;
    const std::vector<ProjectedTriangle>* projected = nullptr;
    const TriangleBins* bins = nullptr;
};

constexpr size_t kMaxRasterSamples = size_t(1) << 23;

constexpr int kTableSteps = 64;

float filterAt(const FrameOptions& o, float dx, float dy)
{
    if (o.customFilter)
        return o.customFilter(dx, dy, o.filterWidth[0], o.filterWidth[1]);
    return filterWeight(o.filter, dx, dy, o.filterWidth[0], o.filterWidth[1]);
}

void tabulateFilter(Frame& f)
{
    f.tableWidth = int(std::ceil(f.fw * kTableSteps)) + 1;
    f.tableHeight = int(std::ceil(f.fh * kTableSteps)) + 1;
    f.filterTable.resize(size_t(f.tableWidth) * size_t(f.tableHeight));
    for (int j = 0; j < f.tableHeight; ++j)
        for (int i = 0; i < f.tableWidth; ++i)
            f.filterTable[size_t(j) * size_t(f.tableWidth) + size_t(i)] =
                filterAt(*f.options, float(i) / kTableSteps - f.fw * 0.5f,
                         float(j) / kTableSteps - f.fh * 0.5f);
}

/// Shades the hit of primitive `prim` at barycentrics (u, v) seen along org + t dir.
void shadeHit(const Frame& f, uint32_t prim, float u, float v, float t, const Vec3& org,
              const Vec3& dir, const Vec3& Ng, float px, float py, Vec3& Ci, Vec3& Oi)
{
    const Scene& s = *f.scene;
    const uint32_t* tri = &s.triangles[3 * size_t(prim)];
    float w = 1 - u - v;
    auto interp3 = [&](const std::vector<float>& a) {
        const float* p0 = &a[3 * size_t(tri[0])];
        const float* p1 = &a[3 * size_t(tri[1])];
        const float* p2 = &a[3 * size_t(tri[2])];
        return Vec3(w * p0[0] + u * p1[0] + v * p2[0], w * p0[1] + u * p1[1] + v * p2[1],
                    w * p0[2] + u * p1[2] + v * p2[2]);
    };
    const PrimitiveAttributes& attr = s.attributes[s.triangleAttributes[prim]];
    ShadingPoint sp;
    sp.P = org + dir * t;
    sp.I = dir;
    Vec3 n = interp3(s.N);
    sp.N = dot(n, n) > 0 ? normalize(n) : Ng;
    sp.Cs = interp3(s.Cs);
    sp.Os = interp3(s.Os);
    const float* st0 = &s.st[2 * size_t(tri[0])];
    const float* st1 = &s.st[2 * size_t(tri[1])];
    const float* st2 = &s.st[2 * size_t(tri[2])];
    sp.s = w * st0[0] + u * st1[0] + v * st2[0];
    sp.t = w * st0[1] + u * st1[1] + v * st2[1];
    if (!attr.surface.texture.empty()) {
        // Ray differentials of one pixel step, carried to the triangle's plane, give the
        // texture filter its footprint.
        Vec3 o1, d1, o2, d2;
        f.camera.ray(px + 1, py, o1, d1);
        f.camera.ray(px, py + 1, o2, d2);
        Vec3 P0(s.P[3 * size_t(tri[0])], s.P[3 * size_t(tri[0]) + 1], s.P[3 * size_t(tri[0]) + 2]);
        auto onPlane = [&](const Vec3& o, const Vec3& d) {
            float dn = dot(d, Ng);
            float tt = std::fabs(dn) > 1e-20f ? dot(P0 - o, Ng) / dn : t;
            return o + d * tt;
        };
        Vec3 dPdx = onPlane(o1, d1) - sp.P, dPdy = onPlane(o2, d2) - sp.P;
        Vec3 p1(s.P[3 * size_t(tri[1])], s.P[3 * size_t(tri[1]) + 1], s.P[3 * size_t(tri[1]) + 2]);
        Vec3 p2(s.P[3 * size_t(tri[2])], s.P[3 * size_t(tri[2]) + 1], s.P[3 * size_t(tri[2]) + 2]);
        Vec3 e1 = p1 - P0, e2 = p2 - P0;
        float a11 = dot(e1, e1), a12 = dot(e1, e2), a22 = dot(e2, e2);
        float det = a11 * a22 - a12 * a12;
        auto toST = [&](const Vec3& dP, float& ds, float& dt) {
            if (std::fabs(det) < 1e-30f) {
                ds = dt = 0;
                return;
            }
            float b1 = dot(dP, e1), b2 = dot(dP, e2);
            float al = (a22 * b1 - a12 * b2) / det, be = (a11 * b2 - a12 * b1) / det;
            ds = al * (st1[0] - st0[0]) + be * (st2[0] - st0[0]);
            dt = al * (st1[1] - st0[1]) + be * (st2[1] - st0[1]);
        };
        toST(dPdx, sp.dsdx, sp.dtdx);
        toST(dPdy, sp.dsdy, sp.dtdy);
    }
    shade(attr.surface, f.lightsPerAttributes[s.triangleAttributes[prim]], sp, *f.textures, Ci, Oi);
}

/// Traces one camera sample (position already in `out`) through every partly opaque surface,
/// front to back, starting from the first surface its packet found.
void traceSample(const Frame& f, const Vec3& org, const Vec3& dir, const FirstHit& first,
                 CacheEntry* cache, int& cacheSize, Sample& out)
{
    out.c[0] = out.c[1] = out.c[2] = out.c[3] = 0;
    out.z = std::numeric_limits<float>::infinity();
    float tnear = f.camera.hither;
    const Scene& s = *f.scene;
    for (int layer = 0; layer < 64; ++layer) {
        FirstHit hit = first;
        if (layer > 0 && !f.rtc)
            break; // surfaces found by projection are opaque: nothing lies behind
        if (layer > 0) {
            RTCRayHit rh;
            rh.ray.org_x = org.x, rh.ray.org_y = org.y, rh.ray.org_z = org.z;
            rh.ray.dir_x = dir.x, rh.ray.dir_y = dir.y, rh.ray.dir_z = dir.z;
            rh.ray.tnear = tnear;
            rh.ray.tfar = f.camera.yon;
            rh.ray.mask = 0xffffffffu;
            rh.ray.flags = 0;
            rh.ray.time = 0;
            rh.hit.geomID = RTC_INVALID_GEOMETRY_ID;
            rh.hit.instID[0] = RTC_INVALID_GEOMETRY_ID;
            RTCIntersectContext ctx;
            rtcInitIntersectContext(&ctx);
            rtcIntersect1(f.rtc, &ctx, &rh);
            hit = {rh.ray.tfar, rh.hit.u, rh.hit.v, rh.hit.primID, rh.hit.geomID};
        }
        if (hit.geom == RTC_INVALID_GEOMETRY_ID)
            break;
        uint32_t prim = hit.prim;
        const uint32_t* tri = &s.triangles[3 * size_t(prim)];
        auto vtx = [&](int k) {
            const float* p = &s.P[3 * size_t(tri[k])];
            return Vec3(p[0], p[1], p[2]);
        };
        Vec3 p0 = vtx(0);
        // Its length is of no matter for the side seen; normalised only for shading.
        Vec3 Ng = cross(vtx(1) - p0, vtx(2) - p0);
        if (s.triangleFlipped[prim])
            Ng = -Ng;
        float t = hit.t;
        // Next layer starts just past this hit.
        tnear = t + std::max(1e-5f * t, 1e-6f);
        const PrimitiveAttributes& attr = s.attributes[s.triangleAttributes[prim]];
        if (attr.oneSided && dot(Ng, dir) > 0)
            continue;
        // t is the camera depth: the camera ray's direction has z = 1.
        if (layer == 0 || out.z == std::numeric_limits<float>::infinity())
            out.z = std::min(out.z, t);
        if (f.depthOnly)
            break; // surfaces further on change neither the depth nor anything shown
        if (attr.matte) {
            out.c[3] = 1; // holds out what lies behind; adds no colour
            break;
        }
        Vec3 Ci, Oi;
        int cached = -1;
        for (int k = 0; k < cacheSize; ++k)
            if (cache[k].prim == prim) {
                cached = k;
                break;
            }
        if (cached >= 0) {
            Ci = cache[cached].Ci, Oi = cache[cached].Oi;
        } else {
            shadeHit(f, prim, hit.u, hit.v, t, org, dir, normalize(Ng), out.x, out.y, Ci, Oi);
            if (cacheSize < 8)
                cache[cacheSize++] = {prim, Ci, Oi};
        }
        float rem = 1 - out.c[3];
        float a = (Oi.x + Oi.y + Oi.z) / 3;
        out.c[0] += rem * Ci.x;
        out.c[1] += rem * Ci.y;
        out.c[2] += rem * Ci.z;
        out.c[3] += rem * a;
        if (out.c[3] >= 0.999f)
            break;
    }
}

/// Working memory of one thread, kept from tile to tile.
struct TileScratch
{
    std::vector<Sample> samples; ///< spp per pixel of the tile and its filter border
    std::vector<int> columns;    ///< filter table column of each sample per x offset
    std::vector<int> rows;       ///< filter table row start of each sample per y offset
    std::vector<Sample*> block;  ///< the samples of the pixels traced together
    std::vector<FirstHit> hits;  ///< their first surfaces
    std::vector<Vec3> origins, directions;
    std::vector<float> pixels;      ///< r g b a z per pixel of the tile
    std::vector<float> sx, sy;      ///< screen position of each sample, when projecting
    std::vector<SampleHit> nearest; ///< the surface each sample sees, when projecting
};

/// Traces the samples of a few neighbouring pixels (`count` samples, `spp` per pixel in
/// order): their first surfaces in packets of 16 rays, which share most of their way through
/// the hierarchy, then each sample's further layers alone, with one shading cache per pixel.
void traceBlock(const Frame& f, int count, int spp, TileScratch& w)
{
    w.hits.resize(size_t(count));
    w.origins.resize(size_t(count));
    w.directions.resize(size_t(count));
    for (int start = 0; start < count; start += 16) {
        int n = std::min(16, count - start);
        alignas(64) RTCRayHit16 packet;
        alignas(64) int valid[16];
        for (int l = 0; l < 16; ++l) {
            valid[l] = l < n ? -1 : 0;
            Vec3 org, dir;
            if (l < n) {
                const Sample& s = *w.block[size_t(start + l)];
                f.camera.ray(s.x, s.y, org, dir);
                w.origins[size_t(start + l)] = org;
                w.directions[size_t(start + l)] = dir;
            }
            packet.ray.org_x[l] = org.x, packet.ray.org_y[l] = org.y, packet.ray.org_z[l] = org.z;
            packet.ray.dir_x[l] = dir.x, packet.ray.dir_y[l] = dir.y, packet.ray.dir_z[l] = dir.z;
            packet.ray.tnear[l] = f.camera.hither;
            packet.ray.tfar[l] = f.camera.yon;
            packet.ray.time[l] = 0;
            packet.ray.mask[l] = 0xffffffffu;
            packet.ray.id[l] = unsigned(l);
            packet.ray.flags[l] = 0;
            packet.hit.geomID[l] = RTC_INVALID_GEOMETRY_ID;
            packet.hit.instID[0][l] = RTC_INVALID_GEOMETRY_ID;
        }
        RTCIntersectContext ctx;
        rtcInitIntersectContext(&ctx);
        rtcIntersect16(valid, f.rtc, &ctx, &packet);
        for (int l = 0; l < n; ++l)
            w.hits[size_t(start + l)] = {packet.ray.tfar[l], packet.hit.u[l], packet.hit.v[l],
                                         packet.hit.primID[l], packet.hit.geomID[l]};
    }
    for (int p = 0; p < count; p += spp) {
        CacheEntry cache[8];
        int cacheSize = 0;
        for (int k = p; k < p + spp; ++k)
            traceSample(f, w.origins[size_t(k)], w.directions[size_t(k)], w.hits[size_t(k)], cache,
                        cacheSize, *w.block[size_t(k)]);
    }
}

struct Bucket
{
    int x0, y0, x1, y1; ///< image coordinates
};

/// The pixels of a tile and of its filter border, with their jittered sample positions.
struct SampleRegion
{
    int x0, y0, x1, y1; ///< image coordinates
    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
};

/// Raster position of sample k (of nx x ny strata) of frame pixel (fx, fy).
inline void samplePosition(const Frame& f, int fx, int fy, int k, float& x, float& y)
{
    const int i = k % f.nx, j = k / f.nx;
    const bool jitter = f.options->jitter;
    float jx = jitter ? hash01(uint32_t(fx), uint32_t(fy), 2 * uint32_t(k)) : 0.5f;
    float jy = jitter ? hash01(uint32_t(fx), uint32_t(fy), 2 * uint32_t(k) + 1) : 0.5f;
    x = float(fx) + (float(i) + jx) / float(f.nx);
    y = float(fy) + (float(j) + jy) / float(f.ny);
}

void placeSamples(const Frame& f, const SampleRegion& r, std::vector<Sample>& samples)
{
    const int spp = f.nx * f.ny;
    samples.resize(size_t(r.width()) * size_t(r.height()) * size_t(spp));
    for (int py = r.y0; py < r.y1; ++py)
        for (int px = r.x0; px < r.x1; ++px) {
            int fx = px + f.x0, fy = py + f.y0; // frame raster
            Sample* out =
                &samples[(size_t(py - r.y0) * size_t(r.width()) + size_t(px - r.x0)) * size_t(spp)];
            for (int k = 0; k < spp; ++k)
                samplePosition(f, fx, fy, k, out[k].x, out[k].y);
        }
}

/// Traces every sample of the region, a block of pixels at a time: as many pixels as fill a
/// packet of 16 rays when a pixel has fewer samples.
void traceRegion(const Frame& f, const SampleRegion& r, TileScratch& w)
{
    const int spp = f.nx * f.ny;
    const int side = std::max(1, int(std::sqrt(16.0 / double(spp))));
    for (int by = r.y0; by < r.y1; by += side)
        for (int bx = r.x0; bx < r.x1; bx += side) {
            w.block.clear();
            for (int py = by; py < std::min(by + side, r.y1); ++py)
                for (int px = bx; px < std::min(bx + side, r.x1); ++px) {
                    Sample* s =
                        &w.samples[(size_t(py - r.y0) * size_t(r.width()) + size_t(px - r.x0)) *
                                   size_t(spp)];
                    for (int k = 0; k < spp; ++k)
                        w.block.push_back(s + k);
                }
            traceBlock(f, int(w.block.size()), spp, w);
        }
}

/// Finds the surface each sample of the region sees by projecting the tile's triangles onto
/// the samples, then shades them with one cache per pixel.
void projectRegion(const Frame& f, const Bucket& tile, const SampleRegion& r, TileScratch& w)
{
    const int spp = f.nx * f.ny;
    const size_t n = w.samples.size();
    w.sx.resize(n);
    w.sy.resize(n);
    for (size_t k = 0; k < n; ++k)
        f.camera.screenAt(w.samples[k].x, w.samples[k].y, w.sx[k], w.sy[k]);
    w.nearest.assign(n, SampleHit());
    SampleGrid grid;
    grid.rect = {r.x0, r.y0, r.x1, r.y1};
    grid.spp = spp;
    grid.sx = w.sx.data();
    grid.sy = w.sy.data();
    const size_t cell = f.bins->cell(tile.x0, tile.y0);
    const size_t first = f.bins->start[cell];
    nearestHits(*f.projected, f.bins->triangles.data() + first, f.bins->start[cell + 1] - first,
                f.projection, grid, w.nearest.data());
    for (size_t p = 0; p < n; p += size_t(spp)) {
        CacheEntry cache[8];
        int cacheSize = 0;
        for (size_t k = p; k < p + size_t(spp); ++k) {
            const SampleHit& h = w.nearest[k];
            FirstHit hit{h.t, h.u, h.v, h.prim,
                         h.prim == SampleHit::kNone ? RTC_INVALID_GEOMETRY_ID : 0u};
            Vec3 org, dir;
            f.camera.ray(w.samples[k].x, w.samples[k].y, org, dir);
            traceSample(f, org, dir, hit, cache, cacheSize, w.samples[k]);
        }
    }
}

/// The samples' depths from the frame's depth samples; the border outside the image, which
/// only the colour filter reaches, sees nothing.
void takeDepths(const Frame& f, const SampleRegion& r, TileScratch& w)
{
    const int spp = f.nx * f.ny;
    for (int py = r.y0; py < r.y1; ++py)
        for (int px = r.x0; px < r.x1; ++px) {
            Sample* s = &w.samples[(size_t(py - r.y0) * size_t(r.width()) + size_t(px - r.x0)) *
                                   size_t(spp)];
            bool inside = px >= 0 && py >= 0 && px < f.width && py < f.height;
            const float* z =
                inside ? &f.depth->z[(size_t(py) * size_t(f.width) + size_t(px)) * size_t(spp)]
                       : nullptr;
            for (int k = 0; k < spp; ++k) {
                s[k].c[0] = s[k].c[1] = s[k].c[2] = s[k].c[3] = 0;
                s[k].z = z ? z[k] : std::numeric_limits<float>::infinity();
            }
        }
}

/// Where each sample's filter weights sit in the table, for each pixel it reaches: the column
/// for each x offset -rx..rx and the row start for each y offset -ry..ry, from the output
/// pixel to the sample's own pixel; -1 outside the filter's support.
void locateInFilter(const Frame& f, const SampleRegion& r, TileScratch& w)
{
    const int spp = f.nx * f.ny;
    const size_t n = w.samples.size();
    w.columns.resize(n * size_t(2 * f.rx + 1));
    w.rows.resize(n * size_t(2 * f.ry + 1));
    for (int py = r.y0; py < r.y1; ++py)
        for (int px = r.x0; px < r.x1; ++px) {
            size_t first =
                (size_t(py - r.y0) * size_t(r.width()) + size_t(px - r.x0)) * size_t(spp);
            for (size_t k = first; k < first + size_t(spp); ++k) {
                const Sample& s = w.samples[k];
                for (int a = -f.rx; a <= f.rx; ++a) {
                    float dx = s.x - (float(px - a + f.x0) + 0.5f);
                    int i = int((dx + f.fw * 0.5f) * kTableSteps + 0.5f);
                    w.columns[size_t(a + f.rx) * n + k] =
                        std::fabs(dx) > f.fw * 0.5f ? -1 : std::clamp(i, 0, f.tableWidth - 1);
                }
                for (int b = -f.ry; b <= f.ry; ++b) {
                    float dy = s.y - (float(py - b + f.y0) + 0.5f);
                    int j = int((dy + f.fh * 0.5f) * kTableSteps + 0.5f);
                    w.rows[size_t(b + f.ry) * n + k] =
                        std::fabs(dy) > f.fh * 0.5f
                            ? -1
                            : std::clamp(j, 0, f.tableHeight - 1) * f.tableWidth;
                }
            }
        }
}

/// Filters the samples of the region into the tile's pixels: r g b a z each.
void filterTile(const Frame& f, const Bucket& b, const SampleRegion& r, TileScratch& w)
{
    const int spp = f.nx * f.ny;
    const size_t n = w.samples.size();
    const int bw = b.x1 - b.x0;
    w.pixels.assign(size_t(bw) * size_t(b.y1 - b.y0) * 5, 0.f);
    auto firstOf = [&](int px, int py) {
        return (size_t(py - r.y0) * size_t(r.width()) + size_t(px - r.x0)) * size_t(spp);
    };
    for (int py = b.y0; py < b.y1; ++py)
        for (int px = b.x0; px < b.x1; ++px) {
            float acc[4] = {0, 0, 0, 0}, wsum = 0;
            for (int ny = py - f.ry; ny <= py + f.ry; ++ny) {
                const int* rows = &w.rows[size_t(ny - py + f.ry) * n];
                for (int nx = px - f.rx; nx <= px + f.rx; ++nx) {
                    const int* columns = &w.columns[size_t(nx - px + f.rx) * n];
                    size_t first = firstOf(nx, ny);
                    for (size_t k = first; k < first + size_t(spp); ++k) {
                        int row = rows[k], column = columns[k];
                        if (row < 0 || column < 0)
                            continue;
                        float weight = f.filterTable[size_t(row + column)];
                        const float* c = w.samples[k].c;
                        for (int ch = 0; ch < 4; ++ch)
                            acc[ch] += weight * c[ch];
                        wsum += weight;
                    }
                }
            }
            float* out = &w.pixels[(size_t(py - b.y0) * size_t(bw) + size_t(px - b.x0)) * 5];
            for (int c = 0; c < 4; ++c)
                out[c] = wsum != 0 ? acc[c] / wsum : 0;
            const Sample* own = &w.samples[firstOf(px, py)];
            float z = std::numeric_limits<float>::infinity();
            for (int k = 0; k < spp; ++k)
                z = std::min(z, own[k].z);
            out[4] = z;
        }
}

/// Pixel values of one tile into `w.pixels`: r g b a z per pixel.
void renderTile(const Frame& f, const Bucket& b, TileScratch& w)
{
    SampleRegion r{b.x0 - f.rx, b.y0 - f.ry, b.x1 + f.rx, b.y1 + f.ry};
    placeSamples(f, r, w.samples);
    if (f.depth)
        takeDepths(f, r, w);
    else if (f.projected)
        projectRegion(f, b, r, w);
    else
        traceRegion(f, r, w);
    locateInFilter(f, r, w);
    filterTile(f, b, r, w);
}

struct OpenDisplay
{
    std::unique_ptr<DisplayDriver> driver;
    std::string channels;     ///< subset of "rgbaz"
    std::vector<int> indices; ///< of each channel in r g b a z
    int bits;
};

std::string channelsOf(const std::string& mode)
{
    std::string c;
    for (char ch : mode)
        if (std::strchr("rgbaz", ch) && c.find(ch) == std::string::npos)
            c += ch;
    return c.empty() ? "rgba" : c;
}

int bitsFor(const std::string& channels, const FrameOptions& o)
{
    bool color = channels.find_first_of("rgba") != std::string::npos;
    bool depth = channels.find('z') != std::string::npos;
    const QuantizeSpec& q = o.colorQuantize;
    if (depth || !color || q.one == 0)
        return 32;
    if (q.max <= 255 && q.min >= 0)
        return 8;
    if (q.max <= 65535 && q.min >= 0)
        return 16;
    return 32;
}

void screenMatrices(const FrameOptions& o, float w2c[16], float w2s[16])
{
    Matrix toCamera = o.worldToCamera;
    float sw[4];
    o.effectiveScreenWindow(sw);
    // Camera to screen, normalised so that the screen window maps to -1..1 both ways.
    Matrix proj;
    float sx = 2 / (sw[1] - sw[0]), sy = 2 / (sw[3] - sw[2]);
    float ox = -(sw[1] + sw[0]) / (sw[1] - sw[0]), oy = -(sw[3] + sw[2]) / (sw[3] - sw[2]);
    if (o.perspective) {
        float c = 1 / std::tan(o.fov * 3.14159265358979f / 360.f);
        // x' = x c sx / z + ox, with w = z.
        proj.m[0][0] = c * sx, proj.m[1][1] = c * sy;
        proj.m[2][0] = ox, proj.m[2][1] = oy;
        proj.m[2][2] = 1, proj.m[2][3] = 1;
        proj.m[3][2] = 0, proj.m[3][3] = 0;
    } else {
        proj.m[0][0] = sx, proj.m[1][1] = sy;
        proj.m[3][0] = ox, proj.m[3][1] = oy;
    }
    Matrix toScreen = toCamera * proj;
    for (int i = 0; i < 16; ++i) {
        w2c[i] = toCamera.m[i / 4][i % 4];
        w2s[i] = toScreen.m[i / 4][i % 4];
    }
}

/// The camera as the projection of triangles onto samples sees it.
DepthCamera projectionCamera(const Frame& f)
{
    DepthCamera c;
    c.worldToCamera = f.options->worldToCamera;
    c.cameraToWorld = f.camera.cameraToWorld;
    c.perspective = f.camera.perspective;
    c.tanHalf = f.camera.tanHalf;
    std::copy(f.camera.screen, f.camera.screen + 4, c.screen);
    c.xres = f.camera.xres, c.yres = f.camera.yres;
    c.hither = f.camera.hither, c.yon = f.camera.yon;
    return c;
}

/// Whether every vertex is fully opaque: then a sample sees one surface, the nearest.
bool allOpaque(const Scene& scene)
{
    return std::all_of(scene.Os.begin(), scene.Os.end(), [](float o) { return o == 1; });
}

/// The frame's triangles in a ray-casting hierarchy; `quick` trades ray speed for build time.
RTCScene buildHierarchy(RTCDevice device, const Scene& scene, bool quick)
{
    RTCScene rtc = rtcNewScene(device);
    if (quick)
        rtcSetSceneBuildQuality(rtc, RTC_BUILD_QUALITY_LOW);
    if (scene.triangleCount() > 0) {
        RTCGeometry geom = rtcNewGeometry(device, RTC_GEOMETRY_TYPE_TRIANGLE);
        if (quick)
            rtcSetGeometryBuildQuality(geom, RTC_BUILD_QUALITY_LOW);
        rtcSetSharedGeometryBuffer(geom, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3,
                                   scene.P.data(), 0, 3 * sizeof(float), scene.vertexCount());
        rtcSetSharedGeometryBuffer(geom, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3,
                                   scene.triangles.data(), 0, 3 * sizeof(uint32_t),
                                   scene.triangleCount());
        rtcCommitGeometry(geom);
        rtcAttachGeometry(rtc, geom);
        rtcReleaseGeometry(geom);
    }
    rtcCommitScene(rtc);
    return rtc;
}

/// Depth of every sample of the image (not of the filter's border, which a depth-only picture
/// does not use) by projecting the triangles.
void rasterizeFrame(const Frame& f, DepthSamples& depth, const std::atomic<bool>& stop)
{
    depth.x0 = f.x0, depth.y0 = f.y0;
    depth.width = f.width, depth.height = f.height;
    depth.spp = f.nx * f.ny;
    const size_t n = size_t(f.width) * size_t(f.height) * size_t(depth.spp);
    depth.sx.resize(n);
    depth.sy.resize(n);
    tbb::parallel_for(0, f.height, [&](int py) {
        for (int px = 0; px < f.width; ++px) {
            size_t first = (size_t(py) * size_t(f.width) + size_t(px)) * size_t(depth.spp);
            for (int k = 0; k < depth.spp; ++k) {
                float x, y;
                samplePosition(f, px + f.x0, py + f.y0, k, x, y);
                f.camera.screenAt(x, y, depth.sx[first + size_t(k)], depth.sy[first + size_t(k)]);
            }
        }
    });
    rasterizeDepth(*f.scene, f.projection, depth, stop);
}

/// Tiles the hider renders at once: whole display buckets, up to about 128 pixels a side, so
/// that the samples of the filter's border, traced for both tiles they touch, are fewer; but
/// at least eight tiles a thread while the buckets allow it.
std::vector<Bucket> tilesOf(const Frame& f, const FrameOptions& o, int threads, int& tileWidth,
                            int& tileHeight)
{
    auto tiling = [&](int kx, int ky) {
        std::vector<Bucket> tiles;
        const int tw = o.bucket[0] * kx, th = o.bucket[1] * ky;
        for (int y = 0; y < f.height; y += th)
            for (int x = 0; x < f.width; x += tw)
                tiles.push_back({x, y, std::min(f.width, x + tw), std::min(f.height, y + th)});
        return tiles;
    };
    int kx = std::max(1, 128 / o.bucket[0]), ky = std::max(1, 128 / o.bucket[1]);
    std::vector<Bucket> tiles = tiling(kx, ky);
    while ((kx > 1 || ky > 1) && tiles.size() < size_t(8 * threads)) {
        kx = std::max(1, kx / 2), ky = std::max(1, ky / 2);
        tiles = tiling(kx, ky);
    }
    tileWidth = o.bucket[0] * kx, tileHeight = o.bucket[1] * ky;
    return tiles;
}

/// Exposes and quantises bucket `b` of the tile's pixels (r g b a z each) into the channels of
/// display `d` and hands it over; false when the display fails.
bool sendBucket(const Frame& f, OpenDisplay& d, const Bucket& b, const Bucket& tile,
                const std::vector<float>& pixels)
{
    const FrameOptions& o = *f.options;
    const size_t channels = d.channels.size();
    const int bw = b.x1 - b.x0, tw = tile.x1 - tile.x0;
    std::vector<float> out(size_t(bw) * size_t(b.y1 - b.y0) * channels);
    for (int py = b.y0; py < b.y1; ++py)
        for (int px = b.x0; px < b.x1; ++px) {
            const float* in =
                &pixels[(size_t(py - tile.y0) * size_t(tw) + size_t(px - tile.x0)) * 5];
            float* to = &out[(size_t(py - b.y0) * size_t(bw) + size_t(px - b.x0)) * channels];
            for (size_t c = 0; c < channels; ++c) {
                int idx = d.indices[c];
                float v = in[idx];
                float rnd = hash01(uint32_t(px + f.x0), uint32_t(py + f.y0), 1000 + uint32_t(c));
                if (idx == 4)
                    v = exposeAndQuantize(v, false, o, o.depthQuantize, rnd);
                else if (d.bits != 32 || o.colorQuantize.one == 0)
                    v = exposeAndQuantize(v, idx < 3, o, o.colorQuantize, rnd);
                else
                    v = exposeAndQuantize(v, idx < 3, o, QuantizeSpec{0, 0, 0, 0}, rnd);
                to[c] = v;
            }
        }
    return d.driver->data(b.x0, b.y0, b.x1, b.y1, out.data());
}

void embreeError(void* user, RTCError, const char* message)
{
    auto* out = static_cast<std::vector<HiderMessage>*>(user);
    out->push_back(
        {RIE_SYSTEM, RIE_ERROR, std::string("ray casting: ") + (message ? message : "")});
}

} // namespace

float exposeAndQuantize(float v, bool expose, const FrameOptions& o, const QuantizeSpec& q,
                        float random)
{
    if (expose) {
        v *= o.gain;
        if (o.gamma != 1)
            v = v > 0 ? std::pow(v, 1 / o.gamma) : 0;
    }
    if (q.one == 0)
        return v;
    float r = std::round(float(q.one) * v + q.dither * (2 * random - 1));
    return std::clamp(r, float(q.min), float(q.max));
}

const HiderResult& lastFrameStatistics()
{
    return tLastStatistics;
}

HiderResult renderFrame(const FrameOptions& o, const Scene& scene, RtProgressFunc progress,
                        RtPointer progressData)
{
    HiderResult result;
    Frame f;
    f.options = &o;
    f.scene = &scene;
    f.camera.cameraToWorld = o.worldToCamera.inverse();
    f.camera.eye = f.camera.cameraToWorld.point({0, 0, 0});
    f.camera.perspective = o.perspective;
    f.camera.tanHalf = std::tan(o.fov * 3.14159265358979f / 360.f);
    o.effectiveScreenWindow(f.camera.screen);
    f.camera.xres = o.xres, f.camera.yres = o.yres;
    f.camera.hither = o.hither;
    f.camera.yon = std::min(o.yon, 1e30f);
    f.x0 = int(std::ceil(o.crop[0] * float(o.xres) - 0.5f));
    f.y0 = int(std::ceil(o.crop[2] * float(o.yres) - 0.5f));
    int x1 = int(std::ceil(o.crop[1] * float(o.xres) - 0.5f));
    int y1 = int(std::ceil(o.crop[3] * float(o.yres) - 0.5f));
    f.x0 = std::clamp(f.x0, 0, o.xres), f.y0 = std::clamp(f.y0, 0, o.yres);
    x1 = std::clamp(x1, f.x0, o.xres), y1 = std::clamp(y1, f.y0, o.yres);
    f.width = x1 - f.x0, f.height = y1 - f.y0;
    f.nx = std::max(1, int(std::lround(o.xsamples)));
    f.ny = std::max(1, int(std::lround(o.ysamples)));
    f.fw = o.filterWidth[0], f.fh = o.filterWidth[1];
    f.rx = std::max(0, int(std::ceil(f.fw * 0.5f - 0.5f)));
    f.ry = std::max(0, int(std::ceil(f.fh * 0.5f - 0.5f)));
    tabulateFilter(f);
    for (const PrimitiveAttributes& a : scene.attributes) {
        std::vector<const Light*> lights;
        for (uint32_t k : a.lights)
            if (k < scene.lights.size())
                lights.push_back(&scene.lights[k]);
        f.lightsPerAttributes.push_back(std::move(lights));
    }
    if (f.width <= 0 || f.height <= 0) {
        result.messages.push_back({RIE_RANGE, RIE_WARNING, "the crop window is empty"});
        return result;
    }

    // Displays first: a display that cannot open fails the frame before any work.
    float w2c[16], w2s[16];
    screenMatrices(o, w2c, w2s);
    std::vector<OpenDisplay> displays;
    for (const DisplaySpec& d : o.displays) {
        OpenDisplay od;
        std::string error;
        od.driver = DisplayDriver::load(d.type, o.displayPath, error);
        od.channels = channelsOf(d.mode);
        for (char ch : od.channels)
            od.indices.push_back(int(std::string("rgbaz").find(ch)));
        od.bits = d.type == "rgbe" ? 32 : bitsFor(od.channels, o);
        RiDisplayFormat fmt{};
        fmt.width = f.width, fmt.height = f.height;
        fmt.originX = f.x0, fmt.originY = f.y0;
        fmt.frameWidth = o.xres, fmt.frameHeight = o.yres;
        fmt.channels = int(od.channels.size());
        fmt.channelNames = od.channels.c_str();
        fmt.bitsPerSample = od.bits;
        std::copy(w2c, w2c + 16, fmt.worldToCamera);
        std::copy(w2s, w2s + 16, fmt.worldToScreen);
        if (!od.driver || !od.driver->open(d.name, fmt, error)) {
            result.messages.push_back({RIE_SYSTEM, RIE_ERROR, error});
            result.failed = true;
            continue;
        }
        displays.push_back(std::move(od));
    }
    if (displays.empty()) {
        result.failed = true;
        return result;
    }

    f.depthOnly = true;
    for (OpenDisplay& d : displays)
        f.depthOnly = f.depthOnly && d.channels.find_first_not_of('z') == std::string::npos;
    // Depth alone is found by projecting the triangles, unless the samples would take too
    // much memory at once.
    const size_t rays = size_t(f.width) * size_t(f.height) * size_t(f.nx) * size_t(f.ny);
    const bool rasterize = f.depthOnly && rays <= kMaxRasterSamples;
    // Where every surface is opaque, each sample sees only the nearest: projecting the
    // triangles finds it sooner than building a hierarchy and casting rays.
    const bool project = !rasterize && allOpaque(scene);
    f.projection = projectionCamera(f);
    const int threads = o.threads > 0 ? o.threads : tbb::this_task_arena::max_concurrency();
    tbb::task_arena arena(std::max(1, threads));
    int tileWidth = 1, tileHeight = 1;
    std::vector<Bucket> tiles = tilesOf(f, o, std::max(1, threads), tileWidth, tileHeight);

    auto t0 = Clock::now();
    RTCDevice device = nullptr;
    RTCScene rtc = nullptr;
    std::vector<ProjectedTriangle> projected;
    TriangleBins bins;
    if (project) {
        arena.execute([&] {
            projected = projectTriangles(scene, f.projection, f.x0, f.y0,
                                         {-f.rx, -f.ry, f.width + f.rx, f.height + f.ry});
        });
        bins = binTriangles(projected, (f.width + tileWidth - 1) / tileWidth,
                            (f.height + tileHeight - 1) / tileHeight, tileWidth, tileHeight, f.rx,
                            f.ry);
        f.projected = &projected;
        f.bins = &bins;
    } else if (!rasterize) {
        device = rtcNewDevice(nullptr);
        rtcSetDeviceErrorFunction(device, embreeError, &result.messages);
        // A hierarchy of the best quality takes two to three times as long to build and makes
        // each ray about a third faster: worth it only when many rays cross each triangle.
        rtc = buildHierarchy(device, scene, rays < 8 * scene.triangleCount());
    }
    f.rtc = rtc;
    auto t1 = Clock::now();
    result.bvhSeconds = std::chrono::duration<double>(t1 - t0).count();

    TextureStore textures(o.texturePath);
    f.textures = &textures;

    textures.preloadShadowMaps(scene.lights);
    DepthSamples depth;
    if (rasterize)
        f.depth = &depth;

    std::atomic<bool> stop{false};
    std::atomic<size_t> done{0};
    std::mutex displayMutex;
    const std::thread::id caller = std::this_thread::get_id();
    auto lastReport = Clock::now();
    auto report = [&](float fraction) {
        if (progress && !stop.load() && progress(fraction, progressData) != 0)
            stop = true;
        lastReport = Clock::now();
    };
    report(0);

    tbb::enumerable_thread_specific<TileScratch> scratch;
    auto body = [&](size_t index) {
        if (stop.load())
            return;
        unsigned int csr = _mm_getcsr();
        _MM_SET_FLUSH_ZERO_MODE(_MM_FLUSH_ZERO_ON);
        _MM_SET_DENORMALS_ZERO_MODE(_MM_DENORMALS_ZERO_ON);
        const Bucket& tile = tiles[index];
        TileScratch& w = scratch.local();
        renderTile(f, tile, w);
        _mm_setcsr(csr);
        if (stop.load())
            return;
        {
            std::lock_guard<std::mutex> lock(displayMutex);
            // The displays get the tile bucket by bucket, as the options size them.
            for (int y = tile.y0; y < tile.y1; y += o.bucket[1])
                for (int x = tile.x0; x < tile.x1; x += o.bucket[0]) {
                    Bucket b{x, y, std::min(tile.x1, x + o.bucket[0]),
                             std::min(tile.y1, y + o.bucket[1])};
                    for (OpenDisplay& d : displays)
                        if (!sendBucket(f, d, b, tile, w.pixels))
                            result.failed = true;
                }
        }
        size_t finished = ++done;
        if (std::this_thread::get_id() == caller &&
            Clock::now() - lastReport > std::chrono::milliseconds(50))
            report(float(finished) / float(tiles.size()));
    };
    arena.execute([&] {
        if (rasterize)
            rasterizeFrame(f, depth, stop);
        tbb::parallel_for(size_t(0), tiles.size(), size_t(1), body);
    });
    auto t2 = Clock::now();
    result.renderSeconds = std::chrono::duration<double>(t2 - t1).count();
    if (!stop.load())
        report(1);
    result.stopped = stop.load();

    for (const std::string& m : textures.takeMessages())
        result.messages.push_back({RIE_NOFILE, RIE_WARNING, m});
    bool commit = !result.stopped && !result.failed;
    for (OpenDisplay& d : displays) {
        std::string error;
        if (!d.driver->close(commit, error) && commit) {
            result.messages.push_back({RIE_SYSTEM, RIE_ERROR, error});
            result.failed = true;
        }
    }
    if (rtc)
        rtcReleaseScene(rtc);
    if (device)
        rtcReleaseDevice(device);
    result.outputSeconds = std::chrono::duration<double>(Clock::now() - t2).count();
    tLastStatistics = result;
    return result;
}

} // namespace ri
