// Turns RenderMan primitives into triangle meshes in object space, with their primitive
// variables interpolated per output vertex.
#pragma once

#include "Math.h"
#include "Request.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ri {

struct ObjectMesh
{
    std::vector<Vec3> P;
    std::vector<Vec3> N;   ///< empty, or one per vertex
    std::vector<Vec3> Cs;  ///< empty, or one per vertex
    std::vector<Vec3> Os;  ///< empty, or one per vertex
    std::vector<float> st; ///< empty, or two per vertex
    std::vector<uint32_t> triangles;
};

/// What tessellation needs from the graphics state.
struct TessellationContext
{
    /// Texture coordinates of the parametric corners (s1 t1 ... s4 t4).
    float textureCoordinates[8] = {0, 0, 1, 0, 0, 1, 1, 1};
    /// Number of segments for a full circle of the primitive; chosen from its size on screen.
    int circleSegments = 64;
    float ubasis[16], vbasis[16];
    int ustep = 3, vstep = 3;
    TessellationContext();
};

/// Polygons given as face/loop/vertex index lists. `loopsPerFace[f]` loops, `verticesPerLoop`
/// vertex counts, `indices` point indices. Errors are returned as text (empty when fine).
std::string tessellatePolygons(const std::vector<int>& loopsPerFace,
                               const std::vector<int>& verticesPerLoop,
                               const std::vector<int>& indices, const Request& request,
                               ObjectMesh& out);

/// A quadric request (Sphere, Cylinder, Cone, Paraboloid, Hyperboloid, Disk, Torus).
std::string tessellateQuadric(const Request& request, const TessellationContext& ctx,
                              ObjectMesh& out);

/// Patch and PatchMesh, bilinear or bicubic.
std::string tessellatePatch(const Request& request, const TessellationContext& ctx,
                            ObjectMesh& out);

/// Triangulates one simple polygon with holes given in 2D; returns corner indices into the
/// concatenated loops (outer loop first). Used by tessellatePolygons; exposed for tests.
std::vector<uint32_t> triangulate(const std::vector<std::vector<float>>& loopsXY);

} // namespace ri
