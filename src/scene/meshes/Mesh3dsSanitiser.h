// The check of a 3DS file before the engine's 3DS loader reads it.
#pragma once

#include "scene/meshes/MeshBytes.h"

#include <cstdint>
#include <vector>

namespace vs {

/** The 3DS file reduced to checked materials and objects, or empty when it is inconsistent. */
std::vector<uint8_t> sanitized3ds(Bytes file);

} // namespace vs
