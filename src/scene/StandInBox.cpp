#include "scene/StandInBox.h"

#include "scene/MeshBuffers.h"

#include <cmath>
#include <vector>

using namespace irr;

namespace vs {
namespace {

constexpr float kZeroExtent = 0.000001f;
const video::SColor kStandInGrey(255, 176, 176, 176);

float usableExtent(float extent, float size)
{
    return std::isfinite(extent) && std::fabs(extent) > kZeroExtent ? extent : size;
}

} // namespace

core::aabbox3df standInBoxBounds(const core::vector3df& extent, const core::vector3df& size)
{
    const float x = std::fabs(usableExtent(extent.X, size.X));
    const float y = std::fabs(usableExtent(extent.Y, size.Y));
    const float z = std::fabs(usableExtent(extent.Z, size.Z));
    core::aabbox3df box(-x / 2, 0, -z / 2, x / 2, y, z / 2);
    box.repair();
    return box;
}

scene::SMesh* makeStandInBox(const core::aabbox3df& box)
{
    const core::vector3df lo = box.MinEdge;
    const core::vector3df hi = box.MaxEdge;
    // Each face: its outward normal and its four corners, clockwise seen from outside (the
    // engine's front faces).
    struct Face
    {
        core::vector3df normal;
        core::vector3df corners[4];
    };
    const Face faces[6] = {
        {{0, 0, -1},
         {{lo.X, lo.Y, lo.Z}, {lo.X, hi.Y, lo.Z}, {hi.X, hi.Y, lo.Z}, {hi.X, lo.Y, lo.Z}}},
        {{0, 0, 1},
         {{hi.X, lo.Y, hi.Z}, {hi.X, hi.Y, hi.Z}, {lo.X, hi.Y, hi.Z}, {lo.X, lo.Y, hi.Z}}},
        {{-1, 0, 0},
         {{lo.X, lo.Y, hi.Z}, {lo.X, hi.Y, hi.Z}, {lo.X, hi.Y, lo.Z}, {lo.X, lo.Y, lo.Z}}},
        {{1, 0, 0},
         {{hi.X, lo.Y, lo.Z}, {hi.X, hi.Y, lo.Z}, {hi.X, hi.Y, hi.Z}, {hi.X, lo.Y, hi.Z}}},
        {{0, 1, 0},
         {{lo.X, hi.Y, lo.Z}, {lo.X, hi.Y, hi.Z}, {hi.X, hi.Y, hi.Z}, {hi.X, hi.Y, lo.Z}}},
        {{0, -1, 0},
         {{lo.X, lo.Y, hi.Z}, {lo.X, lo.Y, lo.Z}, {hi.X, lo.Y, lo.Z}, {hi.X, lo.Y, hi.Z}}},
    };
    std::vector<video::S3DVertex> vertices;
    std::vector<uint32_t> indices;
    const core::vector2df uv[4] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    for (const Face& face : faces) {
        const auto first = static_cast<uint32_t>(vertices.size());
        for (int i = 0; i < 4; ++i)
            vertices.emplace_back(face.corners[i], face.normal, kStandInGrey, uv[i]);
        for (uint32_t k : {0u, 1u, 2u, 0u, 2u, 3u})
            indices.push_back(first + k);
    }
    video::SMaterial material;
    material.DiffuseColor = kStandInGrey;
    material.AmbientColor = kStandInGrey;
    // Some light of its own, so that the box reads as grey on its unlit sides too.
    material.EmissiveColor = video::SColor(255, 72, 72, 72);
    material.NormalizeNormals = true; // the facility's node is scaled
    return makeMesh(vertices, indices, material);
}

} // namespace vs
