// The nearest surface at each camera sample found by projecting each triangle onto the samples
// it covers rather than casting a ray per sample: no ray-casting hierarchy to build. Used for
// frames that show depth only (the depth renders behind shadow maps) and for the first
// surfaces of frames whose surfaces are all opaque, where a sample sees one surface only.
#pragma once

#include "Math.h"
#include "Scene.h"

#include <atomic>
#include <cstdint>
#include <limits>
#include <vector>

namespace ri {

/// The camera as the hider casts its rays: through screen position (sx, sy), from the eye
/// along (sx tan, sy tan, 1) in camera space when in perspective, else from (sx, sy, 0)
/// along +z.
struct DepthCamera
{
    Matrix worldToCamera, cameraToWorld;
    bool perspective = true;
    float tanHalf = 1;
    float screen[4] = {-1, 1, -1, 1};
    int xres = 1, yres = 1;
    float hither = 0, yon = 1e30f;
};

/// A rectangle of pixels in image coordinates, x1 and y1 excluded.
struct PixelRect
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

/// One triangle ready to be projected onto samples, in camera space.
struct ProjectedTriangle
{
    int x0 = 1, y0 = 0, x1 = 0, y1 = 0; ///< pixels it may cover, inclusive; none when x0 > x1
    Vec3 v[3];                          ///< corners
    Vec3 edge[3];                       ///< in perspective, each edge's plane through the eye
    Vec3 n;                             ///< the triangle's plane normal
};

/// Sets up every triangle of `scene` for `camera`, the pixels it may cover clipped to
/// `within` (image coordinates; the image's corner sits at frame raster (imageX, imageY)).
/// One-sided triangles seen from behind, and triangles out of reach, cover nothing. Runs in
/// parallel on the calling task arena.
std::vector<ProjectedTriangle> projectTriangles(const Scene& scene, const DepthCamera& camera,
                                                int imageX, int imageY, const PixelRect& within);

/// The triangles that may cover each cell of a grid of cellWidth x cellHeight pixels laid from
/// the image's corner, each triangle's pixels widened by a margin.
struct TriangleBins
{
    int cellWidth = 1, cellHeight = 1, columns = 0, rows = 0;
    std::vector<size_t> start;       ///< per cell, row by row, and one past the last
    std::vector<uint32_t> triangles; ///< cell by cell

    size_t cell(int x, int y) const
    {
        return size_t(y / cellHeight) * size_t(columns) + size_t(x / cellWidth);
    }
};

TriangleBins binTriangles(const std::vector<ProjectedTriangle>& triangles, int columns, int rows,
                          int cellWidth, int cellHeight, int marginX, int marginY);

/// The nearest surface a sample's camera ray meets: its camera depth t and the barycentric
/// coordinates (u, v) of the triangle's second and third corners.
struct SampleHit
{
    static constexpr uint32_t kNone = ~0u;
    float t = std::numeric_limits<float>::infinity(), u = 0, v = 0;
    uint32_t prim = kNone;
};

/// Samples of a rectangle of pixels: spp per pixel, pixel by pixel, row by row, at screen
/// positions (sx, sy).
struct SampleGrid
{
    PixelRect rect;
    int spp = 1;
    const float* sx = nullptr;
    const float* sy = nullptr;
};

/// Updates each sample's hit with the nearest of the `count` triangles `indices` names that
/// its ray meets between hither and yon.
void nearestHits(const std::vector<ProjectedTriangle>& triangles, const uint32_t* indices,
                 size_t count, const DepthCamera& camera, const SampleGrid& grid, SampleHit* hits);

/// The samples of an image: `spp` per pixel, pixel by pixel, row by row.
struct DepthSamples
{
    int x0 = 0, y0 = 0;        ///< the image's corner in frame raster coordinates
    int width = 0, height = 0; ///< pixels
    int spp = 1;               ///< samples per pixel
    std::vector<float> sx, sy; ///< screen position of each sample
    std::vector<float> z;      ///< out: camera depth of the first surface, or +inf
};

/// Fills `samples.z`: for each sample the nearest triangle of `scene` its camera ray meets
/// between hither and yon, skipping one-sided triangles seen from behind. Bands of rows run in
/// parallel on the calling task arena; stops early, leaving rows unfilled, when `stop` is set.
void rasterizeDepth(const Scene& scene, const DepthCamera& camera, DepthSamples& samples,
                    const std::atomic<bool>& stop);

} // namespace ri
