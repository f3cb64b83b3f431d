// Engine mesh buffers from 32-bit triangle lists. The engine's SMeshBuffer holds 16-bit indices,
// so a surface of more than 65 535 vertices is spread over several buffers instead of letting its
// indices wrap.
#pragma once

#include <irrlicht.h>

#include <cstdint>
#include <vector>

namespace vs {

/** Most vertices one SMeshBuffer takes (16-bit indices). */
constexpr uint32_t kMaxBufferVertices = 65535;

/** Appends triangles (indices into vertices, three per triangle; a trailing incomplete triangle
    is ignored) to mesh as SMeshBuffers of at most kMaxBufferVertices vertices each, every index
    below its buffer's vertex count. Each buffer gets `material` and its bounding box; the mesh's
    box is recalculated. Returns the number of buffers added: none when the triangles do not fit
    the running scene build's budget (SceneBudget.h). Throws std::invalid_argument when an index
    is not below vertices.size(). */
irr::u32 appendMeshBuffers(irr::scene::SMesh& mesh,
                           const std::vector<irr::video::S3DVertex>& vertices,
                           const std::vector<uint32_t>& indices,
                           const irr::video::SMaterial& material = irr::video::SMaterial());

/** Returns a new mesh (reference count 1: the caller drops it) holding the triangles as
    appendMeshBuffers does. Throws as appendMeshBuffers. */
irr::scene::SMesh* makeMesh(const std::vector<irr::video::S3DVertex>& vertices,
                            const std::vector<uint32_t>& indices,
                            const irr::video::SMaterial& material = irr::video::SMaterial());

/** Removes every buffer of mesh (dropping them) and resets its box. */
void clearMeshBuffers(irr::scene::SMesh& mesh);

/** Sets texture layer 0 of every buffer's material of mesh to texture (may be null). */
void setMeshTexture(irr::scene::IMesh& mesh, irr::video::ITexture* texture);

} // namespace vs
