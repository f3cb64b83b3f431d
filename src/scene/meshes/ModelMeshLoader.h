// Facility meshes from the host's model blocks, read by the engine's own 3DS and X loaders.
#pragma once

#include <cstdint>
#include <string>

#include <irrlicht.h>

namespace vs {

/** Format codes at the head of a host model block. */
enum class ModelFormat : uint32_t { Mesh3ds = 1, MeshX = 2 };

/** Builds a static mesh from a host model block: 32-bit little-endian format code (1 = 3DS,
 *  2 = DirectX .x) followed by the file's bytes. The file is read as an in-memory engine file
 *  named `fileName` (the model's name) through the scene manager's own loader for that format,
 *  found in its loader list and called directly: nothing is registered, the engine's mesh cache
 *  is not used. An animated mesh yields its first frame, copied into a static mesh the caller
 *  owns (one reference, caller drops). With zUp the second and third index of every triangle
 *  are exchanged. Each buffer then gets the transparency rule of applyModelTransparency.
 *  The bytes are checked before the engine sees them, since its loaders trust their input:
 *  3DS chunk trees must be consistent, each object holding at most one vertex, face, texture
 *  coordinate and smoothing array (keyframe and other chunks the mesh does not need are left
 *  out). X files must be uncompressed text whose counts and indices agree; they are handed to
 *  the loader rewritten in one fixed layout holding only frames, frame matrices, meshes with
 *  at least one face, normals, texture coordinates, vertex colours and materials (at most two
 *  texture names each), so names, templates, animations and unknown objects are left out and
 *  referenced materials copied in; meshes whose engine buffers would pass 65535 vertices are
 *  split (XMeshSplitter). Compressed X files, non-finite numbers, repeated mesh parts, more
 *  than 1048576 vertices in a mesh or 4096 materials in a file, and frames nested over 32
 *  deep are refused. Returns null for a null scene manager or block, a block shorter than 4
 *  bytes, an unknown format code, data that fails the checks or that the loader rejects, and a
 *  mesh without buffers or with an index outside its buffer. Never throws for bad data.
 *  Textures named by the file are looked up by the loader on disk and in the driver's texture
 *  cache; missing ones are logged and left empty. When the block holds data of format 1 or 2
 *  that cannot be made into a mesh, `why` (when given) receives the reason as one short
 *  phrase; it is left empty when there is simply no mesh (no block, an unknown format code). */
irr::scene::IMesh* loadModelMesh(irr::scene::ISceneManager* smgr, const void* block,
                                 int32_t blockSize, const std::string& fileName, bool zUp,
                                 std::string* why = nullptr);

/** Exchanges the second and third index of every triangle of the buffer (16- or 32-bit
 *  indices), turning its winding; a trailing incomplete triangle is left alone. */
void reverseTriangles(irr::scene::IMeshBuffer& buffer);

/** The model transparency rule: when the first vertex's colour has alpha below 255 the
 *  material becomes EMT_TRANSPARENT_VERTEX_ALPHA; when it is opaque and the name of the
 *  layer-0 texture ends in ".tga" or ".gif" (any case, name at least 5 characters) it becomes
 *  EMT_TRANSPARENT_ALPHA_CHANNEL; otherwise the material is unchanged. A buffer without
 *  vertices is unchanged. */
void applyModelTransparency(irr::scene::IMeshBuffer& buffer);

} // namespace vs
