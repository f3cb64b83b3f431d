// Depth of the first surface at every camera sample of a frame that shows depth only (the
// depth renders behind shadow maps), found by projecting each triangle onto the samples it
// covers rather than casting a ray per sample: no ray-casting hierarchy to build.
#pragma once

#include "Math.h"
#include "Scene.h"

#include <atomic>
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
