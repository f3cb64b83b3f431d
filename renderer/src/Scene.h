// The world of one frame, flattened for the hider: every primitive as triangles in world space
// with its vertex data, the attributes it was given, and the frame's lights.
#pragma once

#include "Shading.h"

#include <cstdint>
#include <vector>

namespace ri {

struct PrimitiveAttributes
{
    Surface surface;
    std::vector<uint32_t> lights; ///< indices into Scene::lights
    bool oneSided = false;
    bool matte = false;
};

struct Scene
{
    std::vector<float> P;  ///< x y z per vertex, plus one float of padding at the end
    std::vector<float> N;  ///< x y z per vertex; zero when the primitive gave none
    std::vector<float> Cs; ///< r g b per vertex
    std::vector<float> Os; ///< r g b per vertex
    std::vector<float> st; ///< s t per vertex
    std::vector<uint32_t> triangles;
    std::vector<uint32_t> triangleAttributes; ///< index into `attributes`, one per triangle
    std::vector<uint8_t> triangleFlipped;     ///< the front side is the other one
    std::vector<PrimitiveAttributes> attributes;
    std::vector<Light> lights;

    size_t vertexCount() const { return N.size() / 3; }
    size_t triangleCount() const { return triangles.size() / 3; }
};

} // namespace ri
