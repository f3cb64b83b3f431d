#include "DepthRaster.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ri {

namespace {

constexpr int kBandRows = 16;

/// One triangle ready for the sample loop, in camera space.
struct TriangleSetup
{
    int x0 = 1, y0 = 0, x1 = 0, y1 = 0; ///< pixels it may cover, inclusive; none when x0 > x1
    Vec3 v[3];                          ///< corners
    Vec3 edge[3];                       ///< in perspective, each edge's plane through the eye
    Vec3 n;                             ///< the triangle's plane normal
};

bool finite(const Vec3& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

/// The triangle's corners in front of the plane z = zc: the triangle clipped to it.
int clipNear(const Vec3 (&v)[3], float zc, Vec3 (&out)[4])
{
    int n = 0;
    for (int i = 0; i < 3; ++i) {
        const Vec3& a = v[i];
        const Vec3& b = v[(i + 1) % 3];
        if (a.z >= zc)
            out[n++] = a;
        if ((a.z >= zc) != (b.z >= zc) && n < 4) {
            float s = (zc - a.z) / (b.z - a.z);
            out[n++] = Vec3(a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s, zc);
        }
    }
    return n;
}

/// First pixel at or after raster position `v`, within lo..hi.
int pixelAt(float v, int lo, int hi)
{
    if (!(v > float(lo)))
        return lo;
    if (!(v < float(hi)))
        return hi;
    return int(std::floor(v));
}

/// The pixels (image coordinates) the triangle's projection may cover.
void bound(const DepthCamera& c, const DepthSamples& s, TriangleSetup& t)
{
    Vec3 p[4];
    int n = 3;
    if (c.perspective) {
        n = clipNear(t.v, std::max(c.hither, 1e-30f), p);
        if (n == 0)
            return;
    } else {
        std::copy(t.v, t.v + 3, p);
    }
    float minX = std::numeric_limits<float>::infinity(), maxX = -minX, minY = minX, maxY = -minX;
    for (int i = 0; i < n; ++i) {
        float sx = c.perspective ? p[i].x / p[i].z / c.tanHalf : p[i].x;
        float sy = c.perspective ? p[i].y / p[i].z / c.tanHalf : p[i].y;
        float rx = (sx - c.screen[0]) / (c.screen[1] - c.screen[0]) * float(c.xres);
        float ry = (c.screen[3] - sy) / (c.screen[3] - c.screen[2]) * float(c.yres);
        minX = std::min(minX, rx), maxX = std::max(maxX, rx);
        minY = std::min(minY, ry), maxY = std::max(maxY, ry);
    }
    // A pixel's samples lie inside it; the margin covers rounding in the projection.
    const float margin = 0.01f;
    t.x0 = pixelAt(minX - float(s.x0) - margin, 0, s.width);
    t.x1 = std::min(pixelAt(maxX - float(s.x0) + margin, 0, s.width), s.width - 1);
    t.y0 = pixelAt(minY - float(s.y0) - margin, 0, s.height);
    t.y1 = std::min(pixelAt(maxY - float(s.y0) + margin, 0, s.height), s.height - 1);
}

/// Sets up triangle `k`, or leaves it covering nothing when it is culled or out of reach.
TriangleSetup setUp(const Scene& scene, const DepthCamera& c, const std::vector<Vec3>& camera,
                    const DepthSamples& s, size_t k)
{
    TriangleSetup t;
    const uint32_t* tri = &scene.triangles[3 * k];
    for (int i = 0; i < 3; ++i)
        t.v[i] = camera[tri[i]];
    if (!finite(t.v[0]) || !finite(t.v[1]) || !finite(t.v[2]))
        return t;
    float zmin = std::min({t.v[0].z, t.v[1].z, t.v[2].z});
    float zmax = std::max({t.v[0].z, t.v[1].z, t.v[2].z});
    if (zmin > c.yon || (c.perspective && zmax < c.hither))
        return t;
    const PrimitiveAttributes& attr = scene.attributes[scene.triangleAttributes[k]];
    if (attr.oneSided) {
        // The same test as the ray caster's, in the world: the side the rays arrive from.
        auto world = [&](int i) {
            const float* p = &scene.P[3 * size_t(tri[i])];
            return Vec3(p[0], p[1], p[2]);
        };
        Vec3 w0 = world(0), w1 = world(1), w2 = world(2);
        Vec3 Ng = cross(w1 - w0, w2 - w0);
        if (scene.triangleFlipped[k])
            Ng = -Ng;
        Vec3 dir = c.perspective ? (w0 + w1 + w2) / 3 - c.cameraToWorld.point({0, 0, 0})
                                 : c.cameraToWorld.vector({0, 0, 1});
        if (dot(Ng, dir) > 0)
            return t;
    }
    t.n = cross(t.v[1] - t.v[0], t.v[2] - t.v[0]);
    for (int i = 0; i < 3; ++i)
        t.edge[i] = cross(t.v[i], t.v[(i + 1) % 3]);
    bound(c, s, t);
    return t;
}

/// Depth-tests the samples of rows y0..y1 (inclusive) of the triangle's pixels.
void drawPerspective(const TriangleSetup& t, const DepthCamera& c, DepthSamples& s, int y0, int y1)
{
    const float nd0 = dot(t.n, t.v[0]);
    for (int py = y0; py <= y1; ++py)
        for (int px = t.x0; px <= t.x1; ++px) {
            size_t first = (size_t(py) * size_t(s.width) + size_t(px)) * size_t(s.spp);
            for (size_t k = first; k < first + size_t(s.spp); ++k) {
                Vec3 d(s.sx[k] * c.tanHalf, s.sy[k] * c.tanHalf, 1);
                // Each edge's plane through the eye, with the neighbouring triangle's exactly
                // negated: a sample on a shared edge is inside one of the two, or both.
                float e0 = dot(t.edge[0], d), e1 = dot(t.edge[1], d), e2 = dot(t.edge[2], d);
                bool inside = (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
                if (!inside)
                    continue;
                float depth = nd0 / dot(t.n, d);
                if (depth >= c.hither && depth <= c.yon && depth < s.z[k])
                    s.z[k] = depth;
            }
        }
}

void drawOrthographic(const TriangleSetup& t, const DepthCamera& c, DepthSamples& s, int y0, int y1)
{
    auto edge = [](const Vec3& a, const Vec3& b, float x, float y) {
        // Swapping a and b negates it exactly.
        return (a.x - x) * (b.y - y) - (a.y - y) * (b.x - x);
    };
    for (int py = y0; py <= y1; ++py)
        for (int px = t.x0; px <= t.x1; ++px) {
            size_t first = (size_t(py) * size_t(s.width) + size_t(px)) * size_t(s.spp);
            for (size_t k = first; k < first + size_t(s.spp); ++k) {
                float x = s.sx[k], y = s.sy[k];
                float e0 = edge(t.v[0], t.v[1], x, y), e1 = edge(t.v[1], t.v[2], x, y),
                      e2 = edge(t.v[2], t.v[0], x, y);
                bool inside = (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
                if (!inside)
                    continue;
                float depth = t.v[0].z - (t.n.x * (x - t.v[0].x) + t.n.y * (y - t.v[0].y)) / t.n.z;
                if (depth >= c.hither && depth <= c.yon && depth < s.z[k])
                    s.z[k] = depth;
            }
        }
}

} // namespace

void rasterizeDepth(const Scene& scene, const DepthCamera& c, DepthSamples& s,
                    const std::atomic<bool>& stop)
{
    s.z.assign(size_t(s.width) * size_t(s.height) * size_t(s.spp),
               std::numeric_limits<float>::infinity());
    const size_t nv = scene.vertexCount(), nt = scene.triangleCount();
    if (nt == 0 || s.width <= 0 || s.height <= 0)
        return;
    std::vector<Vec3> camera(nv);
    tbb::parallel_for(tbb::blocked_range<size_t>(0, nv, 16384), [&](const auto& r) {
        for (size_t i = r.begin(); i < r.end(); ++i)
            camera[i] =
                c.worldToCamera.point({scene.P[3 * i], scene.P[3 * i + 1], scene.P[3 * i + 2]});
    });
    std::vector<TriangleSetup> setups(nt);
    tbb::parallel_for(tbb::blocked_range<size_t>(0, nt, 4096), [&](const auto& r) {
        for (size_t k = r.begin(); k < r.end(); ++k)
            setups[k] = setUp(scene, c, camera, s, k);
    });
    if (stop.load())
        return;

    // Triangles binned by the bands of rows they reach, so that bands run independently.
    const int bands = (s.height + kBandRows - 1) / kBandRows;
    std::vector<size_t> start(size_t(bands) + 1, 0);
    for (const TriangleSetup& t : setups)
        if (t.x0 <= t.x1)
            for (int b = t.y0 / kBandRows; b <= t.y1 / kBandRows; ++b)
                ++start[size_t(b) + 1];
    for (int b = 0; b < bands; ++b)
        start[size_t(b) + 1] += start[size_t(b)];
    std::vector<uint32_t> binned(start.back());
    std::vector<size_t> fill(start.begin(), start.end() - 1);
    for (size_t k = 0; k < nt; ++k) {
        const TriangleSetup& t = setups[k];
        if (t.x0 <= t.x1)
            for (int b = t.y0 / kBandRows; b <= t.y1 / kBandRows; ++b)
                binned[fill[size_t(b)]++] = uint32_t(k);
    }

    tbb::parallel_for(0, bands, [&](int b) {
        if (stop.load())
            return;
        const int top = b * kBandRows, bottom = std::min(s.height, top + kBandRows) - 1;
        for (size_t i = start[size_t(b)]; i < start[size_t(b) + 1]; ++i) {
            const TriangleSetup& t = setups[binned[i]];
            int y0 = std::max(t.y0, top), y1 = std::min(t.y1, bottom);
            if (c.perspective)
                drawPerspective(t, c, s, y0, y1);
            else
                drawOrthographic(t, c, s, y0, y1);
        }
    });
}

} // namespace ri
