#include "DepthRaster.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ri {

namespace {

constexpr int kBandRows = 16;

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

/// The pixel holding raster position `v`, within lo..hi.
int pixelAt(float v, int lo, int hi)
{
    if (!(v > float(lo)))
        return lo;
    if (!(v < float(hi)))
        return hi;
    return int(std::floor(v));
}

/// The pixels (image coordinates) the triangle's projection may cover, within `r`.
void bound(const DepthCamera& c, int imageX, int imageY, const PixelRect& r, ProjectedTriangle& t)
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
    t.x0 = pixelAt(minX - float(imageX) - margin, r.x0, r.x1);
    t.x1 = std::min(pixelAt(maxX - float(imageX) + margin, r.x0, r.x1), r.x1 - 1);
    t.y0 = pixelAt(minY - float(imageY) - margin, r.y0, r.y1);
    t.y1 = std::min(pixelAt(maxY - float(imageY) + margin, r.y0, r.y1), r.y1 - 1);
}

/// Sets up triangle `k`, or leaves it covering nothing when it is culled or out of reach.
ProjectedTriangle setUp(const Scene& scene, const DepthCamera& c, const std::vector<Vec3>& camera,
                        int imageX, int imageY, const PixelRect& within, size_t k)
{
    ProjectedTriangle t;
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
    bound(c, imageX, imageY, within, t);
    return t;
}

/// drawPerspective's test for the four samples from k on, four at a time: the same operations
/// in the same order, so the same results.
inline void drawFourPerspective(const ProjectedTriangle& t, float nd0, uint32_t prim,
                                const DepthCamera& c, const SampleGrid& g, SampleHit* hits,
                                size_t k)
{
    const __m128 tanHalf = _mm_set1_ps(c.tanHalf), zero = _mm_setzero_ps();
    const __m128 X = _mm_mul_ps(_mm_loadu_ps(g.sx + k), tanHalf);
    const __m128 Y = _mm_mul_ps(_mm_loadu_ps(g.sy + k), tanHalf);
    auto plane = [&](const Vec3& p) {
        return _mm_add_ps(
            _mm_add_ps(_mm_mul_ps(_mm_set1_ps(p.x), X), _mm_mul_ps(_mm_set1_ps(p.y), Y)),
            _mm_set1_ps(p.z));
    };
    const __m128 e0 = plane(t.edge[0]), e1 = plane(t.edge[1]), e2 = plane(t.edge[2]);
    const __m128 positive = _mm_and_ps(_mm_and_ps(_mm_cmpge_ps(e0, zero), _mm_cmpge_ps(e1, zero)),
                                       _mm_cmpge_ps(e2, zero));
    const __m128 negative = _mm_and_ps(_mm_and_ps(_mm_cmple_ps(e0, zero), _mm_cmple_ps(e1, zero)),
                                       _mm_cmple_ps(e2, zero));
    const __m128 inside = _mm_or_ps(positive, negative);
    if (_mm_movemask_ps(inside) == 0)
        return;
    const __m128 depth = _mm_div_ps(_mm_set1_ps(nd0), plane(t.n));
    const __m128 reached = _mm_and_ps(inside, _mm_and_ps(_mm_cmpge_ps(depth, _mm_set1_ps(c.hither)),
                                                         _mm_cmple_ps(depth, _mm_set1_ps(c.yon))));
    int mask = _mm_movemask_ps(reached);
    if (mask == 0)
        return;
    alignas(16) float d[4], a[4], b[4], e[4];
    _mm_store_ps(d, depth);
    _mm_store_ps(a, e0);
    _mm_store_ps(b, e1);
    _mm_store_ps(e, e2);
    for (int j = 0; j < 4; ++j)
        if ((mask >> j & 1) && d[j] < hits[k + size_t(j)].t) {
            float sum = a[j] + b[j] + e[j];
            hits[k + size_t(j)] = {d[j], e[j] / sum, a[j] / sum, prim};
        }
}

/// Depth-tests the samples of rows y0..y1 (inclusive) of the triangle's pixels.
void drawPerspective(const ProjectedTriangle& t, uint32_t prim, const DepthCamera& c,
                     const SampleGrid& g, SampleHit* hits, int y0, int y1)
{
    const float nd0 = dot(t.n, t.v[0]);
    const int width = g.rect.x1 - g.rect.x0;
    for (int py = y0; py <= y1; ++py)
        for (int px = t.x0; px <= t.x1; ++px) {
            size_t first =
                (size_t(py - g.rect.y0) * size_t(width) + size_t(px - g.rect.x0)) * size_t(g.spp);
            size_t k = first;
            const size_t end = first + size_t(g.spp);
            for (; k + 4 <= end; k += 4)
                drawFourPerspective(t, nd0, prim, c, g, hits, k);
            for (; k < end; ++k) {
                Vec3 d(g.sx[k] * c.tanHalf, g.sy[k] * c.tanHalf, 1);
                // Each edge's plane through the eye, with the neighbouring triangle's exactly
                // negated: a sample on a shared edge is inside one of the two, or both.
                float e0 = dot(t.edge[0], d), e1 = dot(t.edge[1], d), e2 = dot(t.edge[2], d);
                bool inside = (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
                if (!inside)
                    continue;
                float depth = nd0 / dot(t.n, d);
                if (depth >= c.hither && depth <= c.yon && depth < hits[k].t) {
                    float sum = e0 + e1 + e2;
                    hits[k] = {depth, e2 / sum, e0 / sum, prim};
                }
            }
        }
}

void drawOrthographic(const ProjectedTriangle& t, uint32_t prim, const DepthCamera& c,
                      const SampleGrid& g, SampleHit* hits, int y0, int y1)
{
    auto edge = [](const Vec3& a, const Vec3& b, float x, float y) {
        // Swapping a and b negates it exactly.
        return (a.x - x) * (b.y - y) - (a.y - y) * (b.x - x);
    };
    const int width = g.rect.x1 - g.rect.x0;
    for (int py = y0; py <= y1; ++py)
        for (int px = t.x0; px <= t.x1; ++px) {
            size_t first =
                (size_t(py - g.rect.y0) * size_t(width) + size_t(px - g.rect.x0)) * size_t(g.spp);
            for (size_t k = first; k < first + size_t(g.spp); ++k) {
                float x = g.sx[k], y = g.sy[k];
                float e0 = edge(t.v[0], t.v[1], x, y), e1 = edge(t.v[1], t.v[2], x, y),
                      e2 = edge(t.v[2], t.v[0], x, y);
                bool inside = (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
                if (!inside)
                    continue;
                float depth = t.v[0].z - (t.n.x * (x - t.v[0].x) + t.n.y * (y - t.v[0].y)) / t.n.z;
                if (depth >= c.hither && depth <= c.yon && depth < hits[k].t) {
                    float sum = e0 + e1 + e2;
                    hits[k] = {depth, e2 / sum, e0 / sum, prim};
                }
            }
        }
}

} // namespace

std::vector<ProjectedTriangle> projectTriangles(const Scene& scene, const DepthCamera& c,
                                                int imageX, int imageY, const PixelRect& within)
{
    const size_t nv = scene.vertexCount(), nt = scene.triangleCount();
    std::vector<Vec3> camera(nv);
    tbb::parallel_for(tbb::blocked_range<size_t>(0, nv, 16384), [&](const auto& r) {
        for (size_t i = r.begin(); i < r.end(); ++i)
            camera[i] =
                c.worldToCamera.point({scene.P[3 * i], scene.P[3 * i + 1], scene.P[3 * i + 2]});
    });
    std::vector<ProjectedTriangle> triangles(nt);
    tbb::parallel_for(tbb::blocked_range<size_t>(0, nt, 4096), [&](const auto& r) {
        for (size_t k = r.begin(); k < r.end(); ++k)
            triangles[k] = setUp(scene, c, camera, imageX, imageY, within, k);
    });
    return triangles;
}

TriangleBins binTriangles(const std::vector<ProjectedTriangle>& triangles, int columns, int rows,
                          int cellWidth, int cellHeight, int marginX, int marginY)
{
    TriangleBins bins;
    bins.cellWidth = cellWidth, bins.cellHeight = cellHeight;
    bins.columns = columns, bins.rows = rows;
    const size_t cells = size_t(columns) * size_t(rows);
    bins.start.assign(cells + 1, 0);
    auto cellRange = [&](int lo, int hi, int size, int count, int& a, int& b) {
        a = std::clamp(lo < 0 ? -1 : lo / size, 0, count - 1);
        b = std::clamp(hi < 0 ? -1 : hi / size, 0, count - 1);
        return hi >= 0 && lo < count * size;
    };
    auto visit = [&](auto&& add) {
        for (size_t k = 0; k < triangles.size(); ++k) {
            const ProjectedTriangle& t = triangles[k];
            int c0, c1, r0, r1;
            if (t.x0 > t.x1 ||
                !cellRange(t.x0 - marginX, t.x1 + marginX, cellWidth, columns, c0, c1) ||
                !cellRange(t.y0 - marginY, t.y1 + marginY, cellHeight, rows, r0, r1))
                continue;
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c)
                    add(size_t(r) * size_t(columns) + size_t(c), k);
        }
    };
    visit([&](size_t cell, size_t) { ++bins.start[cell + 1]; });
    for (size_t i = 0; i < cells; ++i)
        bins.start[i + 1] += bins.start[i];
    bins.triangles.resize(bins.start.back());
    std::vector<size_t> fill(bins.start.begin(), bins.start.end() - 1);
    visit([&](size_t cell, size_t k) { bins.triangles[fill[cell]++] = uint32_t(k); });
    return bins;
}

void nearestHits(const std::vector<ProjectedTriangle>& triangles, const uint32_t* indices,
                 size_t count, const DepthCamera& c, const SampleGrid& g, SampleHit* hits)
{
    for (size_t i = 0; i < count; ++i) {
        const ProjectedTriangle& t = triangles[indices[i]];
        int x0 = std::max(t.x0, g.rect.x0), x1 = std::min(t.x1, g.rect.x1 - 1);
        int y0 = std::max(t.y0, g.rect.y0), y1 = std::min(t.y1, g.rect.y1 - 1);
        if (x0 > x1 || y0 > y1)
            continue;
        ProjectedTriangle clipped = t;
        clipped.x0 = x0, clipped.x1 = x1;
        if (c.perspective)
            drawPerspective(clipped, indices[i], c, g, hits, y0, y1);
        else
            drawOrthographic(clipped, indices[i], c, g, hits, y0, y1);
    }
}

void rasterizeDepth(const Scene& scene, const DepthCamera& c, DepthSamples& s,
                    const std::atomic<bool>& stop)
{
    s.z.assign(size_t(s.width) * size_t(s.height) * size_t(s.spp),
               std::numeric_limits<float>::infinity());
    if (scene.triangleCount() == 0 || s.width <= 0 || s.height <= 0)
        return;
    PixelRect image{0, 0, s.width, s.height};
    std::vector<ProjectedTriangle> triangles = projectTriangles(scene, c, s.x0, s.y0, image);
    if (stop.load())
        return;
    // Bands of rows, each with the triangles that reach it, run independently.
    const int bands = (s.height + kBandRows - 1) / kBandRows;
    TriangleBins bins = binTriangles(triangles, 1, bands, s.width, kBandRows, 0, 0);
    tbb::parallel_for(0, bands, [&](int b) {
        if (stop.load())
            return;
        SampleGrid g;
        g.rect = {0, b * kBandRows, s.width, std::min(s.height, (b + 1) * kBandRows)};
        g.spp = s.spp;
        const size_t first = size_t(g.rect.y0) * size_t(s.width) * size_t(s.spp);
        g.sx = s.sx.data() + first;
        g.sy = s.sy.data() + first;
        std::vector<SampleHit> hits(size_t(g.rect.y1 - g.rect.y0) * size_t(s.width) *
                                    size_t(s.spp));
        nearestHits(triangles, bins.triangles.data() + bins.start[size_t(b)],
                    bins.start[size_t(b) + 1] - bins.start[size_t(b)], c, g, hits.data());
        for (size_t k = 0; k < hits.size(); ++k)
            s.z[first + k] = hits[k].t;
    });
}

} // namespace ri
