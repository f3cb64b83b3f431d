#include "scene/meshes/Mesh3dsSanitiser.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vs {
namespace {

// ---------------------------------------------------------------------------------------------
// 3DS: the engine's loader follows chunk lengths and counts without checking them against the
// file (a chunk shorter than its header makes it loop forever, an unterminated name runs off the
// buffer, a face-material list may index past the faces). The tree is therefore checked chunk by
// chunk, mirroring how far the loader reads into each chunk and that it parses whatever follows
// as sibling chunks, and rebuilt with only the materials and objects the mesh is made from.

constexpr size_t kChunkHeader = 6;
constexpr int kMaxChunkDepth = 32;

enum : uint16_t {
    kMain = 0x4D4D,
    kEditor = 0x3D3D,
    kMaterial = 0xAFFF,
    kObject = 0x4000,
    kMatName = 0xA000,
    kMatAmbient = 0xA010,
    kMatDiffuse = 0xA020,
    kMatSpecular = 0xA030,
    kMatShininess = 0xA040,
    kMatTransparency = 0xA050,
    kMatTwoSide = 0xA081,
    kMatWire = 0xA085,
    kMatShading = 0xA100,
    kMatTexMap = 0xA200,
    kMatSpecMap = 0xA204,
    kMatOpacMap = 0xA210,
    kMatReflMap = 0xA220,
    kMatBumpMap = 0xA230,
    kMatMapFile = 0xA300,
    kMatTiling = 0xA351,
    kMatUScale = 0xA354,
    kMatVScale = 0xA356,
    kMatUOffset = 0xA358,
    kMatVOffset = 0xA35A,
    kTriMesh = 0x4100,
    kTriVertices = 0x4110,
    kTriPointFlags = 0x4111,
    kTriFaces = 0x4120,
    kTriFaceMaterial = 0x4130,
    kTriTexCoords = 0x4140,
    kTriSmoothing = 0x4150,
    kTriMatrix = 0x4160,
    kTriColour = 0x4165,
    kPercentInt = 0x0030,
    kPercentFloat = 0x0031,
};

class ChunkTree3ds
{
public:
    /** Appends the checked materials and objects of a top-level chunk sequence to out. */
    bool collect(Bytes seq, std::vector<uint8_t>& out)
    {
        return forEach(seq, [&](const Chunk& c) {
            switch (c.id) {
            case kEditor: // the loader reads the editor's children as if they were top level
                return collect(c.body, out);
            case kMaterial:
                if (!materialChunks(c.body))
                    return false;
                break;
            case kObject:
                if (!object(c.body))
                    return false;
                break;
            default: // versions, keyframes, viewports: not needed for the mesh
                return true;
            }
            out.insert(out.end(), c.whole.data, c.whole.data + c.whole.size);
            return true;
        });
    }

private:
    struct ObjectState
    {
        uint32_t faceCount = 0;
        bool hasFaces = false;
        int maxFaceRef = -1;
        unsigned arrays = 0; // bits of the arrays read so far, see once()
    };

    /** The loader allocates the vertex, face, texture coordinate and smoothing arrays of an
     *  object anew for each such chunk and frees only the last: each may appear once. */
    bool once(uint16_t id)
    {
        const unsigned bit = id == kTriVertices    ? 1u
                             : id == kTriFaces     ? 2u
                             : id == kTriTexCoords ? 4u
                                                   : 8u;
        if (object_.arrays & bit)
            return false;
        object_.arrays |= bit;
        return true;
    }

    template <class Visit> bool forEach(Bytes seq, Visit visit)
    {
        if (depth_ >= kMaxChunkDepth)
            return false;
        ++depth_;
        bool ok = true;
        size_t pos = 0;
        while (ok && pos < seq.size) {
            const uint8_t* p = seq.data + pos;
            const uint32_t length = seq.size - pos >= kChunkHeader ? readU32(p + 2) : 0;
            if (length < kChunkHeader || length > seq.size - pos) {
                ok = false;
                break;
            }
            const Bytes whole{p, length};
            ok = visit(Chunk{readU16(p), after(whole, kChunkHeader), whole});
            pos += length;
        }
        --depth_;
        return ok;
    }

    /** The loader reads one colour or percentage sub-chunk and treats what follows as siblings;
     *  a sub-chunk it decodes must have exactly the size it reads. */
    static bool leadingValue(Bytes body, bool colour, size_t& consumed)
    {
        if (body.size < kChunkHeader)
            return false;
        const uint32_t length = readU32(body.data + 2);
        if (length < kChunkHeader || length > body.size)
            return false;
        long payload = -1;
        switch (readU16(body.data)) {
        case 0x0011:
        case 0x0012:
            payload = colour ? 3 : -1;
            break;
        case 0x0010:
        case 0x0013:
            payload = colour ? 12 : -1;
            break;
        case kPercentInt:
            payload = colour ? -1 : 2;
            break;
        case kPercentFloat:
            payload = colour ? -1 : 4;
            break;
        default:
            break;
        }
        if (payload >= 0 && length != kChunkHeader + size_t(payload))
            return false;
        consumed = length;
        return true;
    }

    bool materialChunks(Bytes seq)
    {
        return forEach(seq, [&](const Chunk& c) { return materialChunk(c); });
    }

    bool materialTail(Bytes body, size_t consumed)
    {
        return body.size >= consumed && materialChunks(after(body, consumed));
    }

    bool materialChunk(const Chunk& c)
    {
        size_t n = 0;
        switch (c.id) {
        case kMatName:
        case kMatMapFile:
            return terminatedLength(c.body) != std::string::npos;
        case kMatAmbient:
        case kMatDiffuse:
        case kMatSpecular:
            return leadingValue(c.body, true, n) && materialTail(c.body, n);
        case kMatShininess:
        case kMatTransparency:
            return leadingValue(c.body, false, n) && materialTail(c.body, n);
        case kMatShading:
            return c.body.size == 2;
        case kMatTexMap:
        case kMatSpecMap:
        case kMatOpacMap:
        case kMatBumpMap:
            if (c.body.size == 0) // the loader would peek into the next chunk
                return false;
            if (c.body.size >= 2 &&
                (readU16(c.body.data) == kPercentInt || readU16(c.body.data) == kPercentFloat) &&
                !leadingValue(c.body, false, n))
                return false;
            return materialTail(c.body, n);
        case kMatReflMap:
            return c.body.size > 0 && materialChunks(c.body);
        case kMatTiling:
            return materialTail(c.body, 2);
        case kMatUScale:
        case kMatVScale:
        case kMatUOffset:
        case kMatVOffset:
            return materialTail(c.body, 4);
        case kMatTwoSide:
        case kMatWire:
            return materialChunks(c.body);
        default: // skipped by length
            return true;
        }
    }

    bool object(Bytes body)
    {
        const size_t nameLength = terminatedLength(body);
        if (nameLength == std::string::npos)
            return false;
        object_ = ObjectState{};
        if (!objectChunks(after(body, nameLength + 1)))
            return false;
        // Face-material lists index the faces of the object's (last) face chunk.
        return object_.maxFaceRef < 0 ||
               (object_.hasFaces && uint32_t(object_.maxFaceRef) < object_.faceCount);
    }

    bool objectChunks(Bytes seq)
    {
        return forEach(seq, [&](const Chunk& c) { return objectChunk(c); });
    }

    bool objectTail(Bytes body, size_t consumed)
    {
        return body.size >= consumed && objectChunks(after(body, consumed));
    }

    bool objectChunk(const Chunk& c)
    {
        const Bytes& b = c.body;
        const size_t count = b.size >= 2 ? readU16(b.data) : 0;
        switch (c.id) {
        case kTriMesh:
            return objectChunks(b);
        case kTriVertices:
            return once(c.id) && b.size >= 2 && b.size == 2 + 12 * count;
        case kTriTexCoords:
            return once(c.id) && b.size >= 2 && b.size == 2 + 8 * count;
        case kTriPointFlags:
            return b.size >= 2 && objectTail(b, 2 + 2 * count);
        case kTriFaces:
            if (b.size < 2 || !once(c.id))
                return false;
            object_.faceCount = uint32_t(count);
            object_.hasFaces = true;
            return objectTail(b, 2 + 8 * count);
        case kTriFaceMaterial:
            return faceMaterial(b);
        case kTriSmoothing:
            return once(c.id) && objectTail(b, 4 * size_t(object_.faceCount));
        case kTriMatrix:
            return objectTail(b, 48);
        case kTriColour:
            return objectTail(b, 1);
        default: // lights, cameras and the like: skipped by length
            return true;
        }
    }

    bool faceMaterial(Bytes b)
    {
        const size_t nameLength = terminatedLength(b);
        if (nameLength == std::string::npos || b.size - nameLength - 1 < 2)
            return false;
        size_t at = nameLength + 1;
        const size_t count = readU16(b.data + at);
        at += 2;
        if (b.size - at < 2 * count)
            return false;
        for (size_t i = 0; i < count; ++i)
            object_.maxFaceRef = std::max<int>(object_.maxFaceRef, readU16(b.data + at + 2 * i));
        return objectTail(b, at + 2 * count);
    }

    int depth_ = 0;
    ObjectState object_;
};

} // namespace

std::vector<uint8_t> sanitized3ds(Bytes file)
{
    if (file.size < kChunkHeader || readU16(file.data) != kMain)
        return {};
    const uint32_t length = readU32(file.data + 2);
    if (length < kChunkHeader || length > file.size)
        return {};
    std::vector<uint8_t> out(kChunkHeader);
    ChunkTree3ds tree;
    if (!tree.collect(Bytes{file.data + kChunkHeader, length - kChunkHeader}, out))
        return {};
    const uint32_t outLength = uint32_t(out.size());
    out[0] = uint8_t(kMain & 0xFF);
    out[1] = uint8_t(kMain >> 8);
    for (int i = 0; i < 4; ++i)
        out[2 + i] = uint8_t(outLength >> (8 * i));
    return out;
}

} // namespace vs
