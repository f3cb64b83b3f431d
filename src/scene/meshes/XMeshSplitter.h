// Large X meshes cut into meshes the engine can hold: its X loader makes one buffer per material
// of each mesh, and those buffers have 16-bit indices.
#pragma once

#include <cstdint>
#include <string>

namespace vs {

/** Splits the meshes of a checked X text file (the one layout the X checks write: frames with
 *  their matrices; meshes with vertices, faces, normals, texture coordinates, vertex colours and
 *  a material list, counts and indices already checked) so that no buffer the engine's loader
 *  makes from them exceeds kMaxVertices vertices. The loader gives each material of a mesh a
 *  buffer and copies a vertex into it once, or once per triangle corner when an earlier face of
 *  another material took the vertex first; a mesh whose buffers could pass the limit is cut,
 *  in face order, into meshes whose buffers cannot, each with its own vertices, normals,
 *  texture coordinates, vertex colours and the materials its faces use. Other meshes and
 *  everything around them are copied unchanged. */
class XMeshSplitter
{
public:
    static constexpr uint32_t kMaxVertices = 65535;

    /** The split file, or an empty string when `text` does not have the checked layout.
     *  `maxVertices` (at least 3) lowers the limit, for tests. */
    static std::string split(const std::string& text, uint32_t maxVertices = kMaxVertices);
};

} // namespace vs
