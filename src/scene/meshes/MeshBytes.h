// A view of a model file's bytes and the little-endian readers the mesh checks share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace vs {

struct Bytes
{
    const uint8_t* data;
    size_t size;
};

struct Chunk
{
    uint16_t id;
    Bytes body;
    Bytes whole;
};

inline uint16_t readU16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

inline uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline Bytes after(Bytes b, size_t n)
{
    return Bytes{b.data + n, b.size - n};
}

/** Length of the zero-terminated string at the start of b, or npos when b holds no zero. */
inline size_t terminatedLength(Bytes b)
{
    const void* zero = b.size ? std::memchr(b.data, 0, b.size) : nullptr;
    return zero ? size_t(static_cast<const uint8_t*>(zero) - b.data) : std::string::npos;
}

} // namespace vs
