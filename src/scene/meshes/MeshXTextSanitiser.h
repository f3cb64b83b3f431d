// The check of a DirectX text file before the engine's X loader reads it.
#pragma once

#include <string>

namespace vs {

/** The text X file in [begin, end) parsed and written anew in the one layout the engine's
 *  loader reads as meant (frames, matrices, meshes with their normals, texture coordinates,
 *  vertex colours and materials); empty when it is not an uncompressed text X file whose counts
 *  and indices agree, or breaks one of the limits. */
std::string sanitizedXText(const char* begin, const char* end);

} // namespace vs
