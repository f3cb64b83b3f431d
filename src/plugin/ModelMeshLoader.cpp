#include "plugin/ModelMeshLoader.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include <CDynamicMeshBuffer.h>

using namespace irr;

namespace vs {
namespace {

// ---------------------------------------------------------------------------------------------
// 3DS: the engine's loader follows chunk lengths and counts without checking them against the
// file (a chunk shorter than its header makes it loop forever, an unterminated name runs off the
// buffer, a face-material list may index past the faces). The tree is therefore checked chunk by
// chunk, mirroring how far the loader reads into each chunk and that it parses whatever follows
// as sibling chunks, and rebuilt with only the materials and objects the mesh is made from.

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

uint16_t readU16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

Bytes after(Bytes b, size_t n)
{
    return Bytes{b.data + n, b.size - n};
}

/** Length of the zero-terminated string at the start of b, or npos when b holds no zero. */
size_t terminatedLength(Bytes b)
{
    const void* zero = b.size ? std::memchr(b.data, 0, b.size) : nullptr;
    return zero ? size_t(static_cast<const uint8_t*>(zero) - b.data) : std::string::npos;
}

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
    };

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
            return b.size >= 2 && b.size == 2 + 12 * count;
        case kTriTexCoords:
            return b.size >= 2 && b.size == 2 + 8 * count;
        case kTriPointFlags:
            return b.size >= 2 && objectTail(b, 2 + 2 * count);
        case kTriFaces:
            if (b.size < 2)
                return false;
            object_.faceCount = uint32_t(count);
            object_.hasFaces = true;
            return objectTail(b, 2 + 8 * count);
        case kTriFaceMaterial:
            return faceMaterial(b);
        case kTriSmoothing:
            return objectTail(b, 4 * size_t(object_.faceCount));
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

/** The 3DS file reduced to checked materials and objects, or empty when it is inconsistent. */
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

// ---------------------------------------------------------------------------------------------
// DirectX text files: the engine's loader trusts every count and index (face indices, material
// indices and normal indices write and read outside its arrays), stops silently on a parse
// error and then builds buffers from half-read meshes, and reads past its buffer at the end of
// the file. The check below walks the file with the loader's own tokenising rules and accepts
// it only when every object the loader interprets parses completely and agrees with its mesh.

class XTextCheck
{
public:
    XTextCheck(const char* begin, const char* end) : begin_(begin), p_(begin), end_(end) {}

    bool run()
    {
        if (!header())
            return false;
        while (true) {
            const std::string name = token();
            if (name.empty())
                return true;
            if (!topLevelObject(name))
                return false;
        }
    }

private:
    struct MeshState
    {
        uint32_t vertexCount = 0;
        std::vector<uint32_t> indicesPerFace; // as the loader keeps them: 16 bits
        uint32_t materialCount = 0;
        uint32_t maxMaterialIndex = 0;
    };

    bool header()
    {
        if (end_ - begin_ < 16 || std::strncmp(begin_, "xof ", 4) != 0 ||
            std::strncmp(begin_ + 8, "txt ", 4) != 0)
            return false;
        if (std::strncmp(begin_ + 12, "0032", 4) != 0 && std::strncmp(begin_ + 12, "0064", 4) != 0)
            return false;
        p_ = begin_ + 16;
        skipLine();
        return true;
    }

    static bool isSpace(char c)
    {
        return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v';
    }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    bool commentAt() const { return *p_ == '#' || (*p_ == '/' && p_ + 1 < end_ && p_[1] == '/'); }

    void skipLine()
    {
        while (p_ < end_) {
            const char c = *p_++;
            if (c == '\n' || c == '\r')
                return;
        }
    }

    void skipSpace()
    {
        while (true) {
            while (p_ < end_ && isSpace(*p_))
                ++p_;
            if (p_ >= end_ || !commentAt())
                return;
            skipLine();
        }
    }

    std::string token()
    {
        std::string s;
        skipSpace();
        while (p_ < end_ && !isSpace(*p_)) {
            const char c = *p_;
            if (c == ';' || c == '}' || c == '{' || c == ',') {
                if (s.empty()) {
                    s += c;
                    ++p_;
                }
                break;
            }
            s += c;
            ++p_;
        }
        return s;
    }

    /** Moves to the next character that may start a number, as the loader does; false when the
     *  loader would then read past the end of its buffer. */
    bool toNumber()
    {
        while (p_ < end_ && *p_ != '-' && *p_ != '.' && !isDigit(*p_)) {
            if (*p_ == '/' && p_ + 1 >= end_)
                return false;
            if (commentAt())
                skipLine();
            else
                ++p_;
        }
        return p_ < end_;
    }

    size_t digits(size_t limit)
    {
        size_t n = 0;
        while (p_ < end_ && isDigit(*p_) && n <= limit) {
            ++p_;
            ++n;
        }
        return n;
    }

    bool readInt(uint32_t& value)
    {
        if (!toNumber() || !isDigit(*p_))
            return false; // a sign or point would leave the loader reading zeros in place
        uint64_t v = 0;
        size_t n = 0;
        while (p_ < end_ && isDigit(*p_)) {
            v = v * 10 + uint64_t(*p_++ - '0');
            if (++n > 10 || v > 0xFFFFFFFFull)
                return false;
        }
        value = uint32_t(v);
        return p_ < end_;
    }

    bool readIndex(uint32_t bound)
    {
        uint32_t v = 0;
        return readInt(v) && v < bound;
    }

    bool readFloat()
    {
        if (!toNumber())
            return false;
        if (*p_ == '-')
            ++p_;
        if (digits(30) > 30)
            return false;
        if (p_ < end_ && *p_ == '.') {
            ++p_;
            if (digits(16) > 16) // the loader's table of decimal powers has 17 entries
                return false;
        }
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            if (p_ < end_ && (*p_ == '-' || *p_ == '+'))
                ++p_;
            if (digits(10) > 10)
                return false;
        }
        return p_ < end_;
    }

    bool readFloats(int n)
    {
        for (int i = 0; i < n; ++i)
            if (!readFloat())
                return false;
        return true;
    }

    /** The loader's optional-semicolon check: on another token it steps back one character. */
    bool semicolon()
    {
        if (token() == ";")
            return true;
        if (p_ > begin_)
            --p_;
        return false;
    }

    void twoSemicolons()
    {
        for (int k = 0; k < 2; ++k)
            if (!semicolon())
                return;
    }

    bool closingBrace() { return token() == "}"; }

    bool head()
    {
        const std::string t = token();
        return t == "{" || token() == "{";
    }

    bool quotedString()
    {
        skipSpace();
        if (p_ >= end_ || *p_ != '"')
            return false;
        ++p_;
        while (p_ < end_ && *p_ != '"')
            ++p_;
        if (p_ + 1 >= end_ || p_[1] != ';')
            return false;
        p_ += 2;
        return true;
    }

    bool unknownObject()
    {
        std::string t;
        do {
            t = token();
            if (t.empty())
                return false;
        } while (t != "{");
        for (int open = 1; open > 0;) {
            t = token();
            if (t.empty())
                return false;
            open += t == "{" ? 1 : t == "}" ? -1 : 0;
        }
        return true;
    }

    bool topLevelObject(const std::string& name)
    {
        if (name == "template") {
            if (!head())
                return false;
            token();
            for (std::string t = token(); t != "}"; t = token())
                if (t.empty())
                    return false;
            return true;
        }
        if (name == "Frame")
            return frame();
        if (name == "Mesh")
            return mesh();
        if (name == "AnimationSet")
            return animationSet();
        if (name == "Material") {
            templateMaterials_.push_back(token());
            return material();
        }
        if (name == "}")
            return true;
        return unknownObject();
    }

    bool frame()
    {
        if (depth_ >= kMaxChunkDepth || !head())
            return false;
        ++depth_;
        bool ok = true;
        while (ok) {
            const std::string t = token();
            if (t.empty() || t == "}") {
                ok = !t.empty();
                break;
            }
            if (t == "Frame")
                ok = frame();
            else if (t == "FrameTransformMatrix")
                ok = transformMatrix();
            else if (t == "Mesh")
                ok = mesh();
            else
                ok = unknownObject();
        }
        --depth_;
        return ok;
    }

    bool transformMatrix()
    {
        if (!head() || !readFloats(16))
            return false;
        semicolon();
        semicolon();
        return closingBrace();
    }

    bool mesh()
    {
        MeshState m;
        if (!head() || !readInt(m.vertexCount))
            return false;
        for (uint32_t i = 0; i < m.vertexCount; ++i)
            if (!readFloats(3))
                return false;
        twoSemicolons();
        if (!faces(m))
            return false;
        twoSemicolons();
        while (true) {
            const std::string t = token();
            if (t.empty())
                return false;
            if (t == "}")
                break;
            if (!meshChild(t, m))
                return false;
        }
        // Buffers are made per material (one default material when there is none).
        const uint32_t materials = std::max<uint32_t>(m.materialCount, 1);
        return materials < 32768 && m.maxMaterialIndex < materials;
    }

    bool faces(MeshState& m)
    {
        uint32_t faceCount = 0;
        if (!readInt(faceCount))
            return false;
        for (uint32_t k = 0; k < faceCount; ++k) {
            uint32_t corners = 0;
            if (!readInt(corners) || corners < 3 || (corners - 2) * 3 > 0xFFFF)
                return false;
            for (uint32_t f = 0; f < corners; ++f)
                if (!readIndex(m.vertexCount))
                    return false;
            m.indicesPerFace.push_back((corners - 2) * 3);
        }
        return true;
    }

    bool meshChild(const std::string& t, MeshState& m)
    {
        if (t == "MeshNormals")
            return normals(m);
        if (t == "MeshTextureCoords") {
            uint32_t n = 0;
            if (!head() || !readInt(n) || n > m.vertexCount)
                return false;
            for (uint32_t i = 0; i < n; ++i)
                if (!readFloats(2))
                    return false;
            twoSemicolons();
            return closingBrace();
        }
        if (t == "MeshVertexColors") {
            uint32_t n = 0;
            if (!head() || !readInt(n))
                return false;
            for (uint32_t i = 0; i < n; ++i) {
                if (!readIndex(m.vertexCount) || !readFloats(4))
                    return false;
                semicolon();
                semicolon();
            }
            semicolon();
            return closingBrace();
        }
        if (t == "MeshMaterialList")
            return materialList(m);
        if (t == "XSkinMeshHeader") {
            uint32_t v = 0;
            if (!head() || !readInt(v) || !readInt(v) || !readInt(v))
                return false;
            token();
            return closingBrace();
        }
        if (t == "DeclData" || t == "FVFData" || t == "SkinWeights")
            return false; // vertex declarations and skinning are not checked: refused
        return unknownObject();
    }

    bool normals(const MeshState& m)
    {
        uint32_t normalCount = 0;
        uint32_t faceCount = 0;
        if (!head() || !readInt(normalCount))
            return false;
        for (uint32_t i = 0; i < normalCount; ++i)
            if (!readFloats(3))
                return false;
        twoSemicolons();
        if (!readInt(faceCount) || faceCount > m.indicesPerFace.size())
            return false;
        for (uint32_t k = 0; k < faceCount; ++k) {
            uint32_t corners = 0;
            if (!readInt(corners))
                return false;
            const uint32_t indexCount = (corners - 2) * 3; // wraps as in the loader
            if (indexCount != m.indicesPerFace[k])
                return false;
            for (uint32_t h = 0; h < (indexCount == 3 ? 3 : corners); ++h)
                if (!readIndex(normalCount))
                    return false;
        }
        twoSemicolons();
        return closingBrace();
    }

    bool materialList(MeshState& m)
    {
        uint32_t declared = 0;
        uint32_t faceIndexCount = 0;
        if (!head() || !readInt(declared) || declared >= 32768 || !readInt(faceIndexCount))
            return false;
        uint32_t index = 0;
        for (size_t face = 0; face < m.indicesPerFace.size(); ++face) {
            if (face < faceIndexCount && !readInt(index))
                return false;
            m.maxMaterialIndex = std::max(m.maxMaterialIndex, index);
        }
        if (p_ >= end_)
            return false;
        if (*p_ == ';')
            ++p_;
        while (true) {
            const std::string t = token();
            if (t.empty())
                return false;
            if (t == "}")
                return true;
            if (t == "{") {
                const std::string ref = token();
                m.materialCount +=
                    uint32_t(std::count(templateMaterials_.begin(), templateMaterials_.end(), ref));
                token();
            } else if (t == "Material") {
                ++m.materialCount;
                if (!material())
                    return false;
            } else if (t != ";" && !unknownObject()) {
                return false;
            }
        }
    }

    static bool sameIgnoringCase(const std::string& a, const char* b)
    {
        const size_t n = std::strlen(b);
        if (a.size() != n)
            return false;
        for (size_t i = 0; i < n; ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) !=
                std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }

    bool material()
    {
        if (!head() || !readFloats(4))
            return false;
        semicolon();
        semicolon();
        if (!readFloat() || !readFloats(3))
            return false;
        semicolon();
        semicolon();
        if (!readFloats(3))
            return false;
        semicolon();
        semicolon();
        while (true) {
            const std::string t = token();
            if (t.empty())
                return false;
            if (t == "}")
                return true;
            if (sameIgnoringCase(t, "TextureFilename") ||
                sameIgnoringCase(t, "NormalmapFilename")) {
                if (!head() || !quotedString() || !closingBrace())
                    return false;
            } else if (!unknownObject()) {
                return false;
            }
        }
    }

    bool animationSet()
    {
        if (!head())
            return false;
        while (true) {
            const std::string t = token();
            if (t.empty())
                return false;
            if (t == "}")
                return true;
            if (!(t == "Animation" ? animation() : unknownObject()))
                return false;
        }
    }

    bool animation()
    {
        if (!head())
            return false;
        while (true) {
            const std::string t = token();
            if (t.empty())
                return false;
            if (t == "}")
                return true;
            bool ok = true;
            if (t == "AnimationKey")
                ok = animationKey();
            else if (t == "{")
                ok = !token().empty() && closingBrace();
            else
                ok = unknownObject();
            if (!ok)
                return false;
        }
    }

    bool animationKey()
    {
        uint32_t keyType = 0;
        uint32_t keyCount = 0;
        if (!head() || !readInt(keyType) || keyType > 4 || !readInt(keyCount))
            return false;
        if (keyCount == 0)
            semicolon();
        static const uint32_t kValues[] = {4, 3, 3, 16, 16};
        for (uint32_t i = 0; i < keyCount; ++i) {
            uint32_t time = 0;
            uint32_t values = 0;
            if (!readInt(time) || !readInt(values) || values != kValues[keyType] ||
                !readFloats(int(values)))
                return false;
            if (keyType < 3)
                twoSemicolons();
            else {
                semicolon();
                semicolon();
            }
        }
        if (!semicolon() && p_ > begin_)
            --p_;
        return closingBrace();
    }

    const char* begin_;
    const char* p_;
    const char* end_;
    int depth_ = 0;
    std::vector<std::string> templateMaterials_;
};

// ---------------------------------------------------------------------------------------------
// Static copies of the loaded frame.

template <class Buffer, class Vertex> scene::IMeshBuffer* copyAs(const scene::IMeshBuffer& src)
{
    auto* dst = new Buffer();
    const auto* vertices = static_cast<const Vertex*>(src.getVertices());
    dst->Vertices.reallocate(src.getVertexCount());
    for (u32 i = 0; i < src.getVertexCount(); ++i)
        dst->Vertices.push_back(vertices[i]);
    dst->Indices.reallocate(src.getIndexCount());
    for (u32 i = 0; i < src.getIndexCount(); ++i)
        dst->Indices.push_back(src.getIndices()[i]);
    dst->Material = src.getMaterial();
    dst->recalculateBoundingBox();
    return dst;
}

scene::IMeshBuffer* copyWide(const scene::IMeshBuffer& src)
{
    auto* dst = new scene::CDynamicMeshBuffer(src.getVertexType(), video::EIT_32BIT);
    const u32 pitch = video::getVertexPitchFromType(src.getVertexType());
    const auto* bytes = static_cast<const u8*>(src.getVertices());
    dst->getVertexBuffer().reallocate(src.getVertexCount());
    for (u32 i = 0; i < src.getVertexCount(); ++i)
        dst->getVertexBuffer().push_back(
            *reinterpret_cast<const video::S3DVertex*>(bytes + size_t(i) * pitch));
    const auto* indices = reinterpret_cast<const u32*>(src.getIndices());
    dst->getIndexBuffer().reallocate(src.getIndexCount());
    for (u32 i = 0; i < src.getIndexCount(); ++i)
        dst->getIndexBuffer().push_back(indices[i]);
    dst->getMaterial() = src.getMaterial();
    dst->recalculateBoundingBox();
    return dst;
}

scene::IMeshBuffer* copyBuffer(const scene::IMeshBuffer& src)
{
    if (src.getIndexType() != video::EIT_16BIT)
        return copyWide(src);
    switch (src.getVertexType()) {
    case video::EVT_2TCOORDS:
        return copyAs<scene::SMeshBufferLightMap, video::S3DVertex2TCoords>(src);
    case video::EVT_TANGENTS:
        return copyAs<scene::SMeshBufferTangents, video::S3DVertexTangents>(src);
    default:
        return copyAs<scene::SMeshBuffer, video::S3DVertex>(src);
    }
}

scene::SMesh* staticCopy(const scene::IMesh& frame)
{
    auto* mesh = new scene::SMesh();
    for (u32 i = 0; i < frame.getMeshBufferCount(); ++i) {
        const scene::IMeshBuffer* src = frame.getMeshBuffer(i);
        if (!src)
            continue;
        scene::IMeshBuffer* copy = copyBuffer(*src);
        mesh->addMeshBuffer(copy);
        copy->drop();
    }
    mesh->recalculateBoundingBox();
    return mesh;
}

scene::IMeshLoader* engineLoader(scene::ISceneManager* smgr, const char* extension)
{
    for (u32 i = 0; i < smgr->getMeshLoaderCount(); ++i) {
        scene::IMeshLoader* loader = smgr->getMeshLoader(i);
        if (loader && loader->isALoadableFileExtension(extension))
            return loader;
    }
    return nullptr;
}

bool isAlphaPictureName(const io::path& name)
{
    if (name.size() < 5)
        return false;
    io::path ending = name.subString(name.size() - 4, 4);
    ending.make_lower();
    return ending == ".tga" || ending == ".gif";
}

video::SColor firstVertexColour(const scene::IMeshBuffer& buffer)
{
    // Every engine vertex type begins with the standard vertex.
    return static_cast<const video::S3DVertex*>(buffer.getVertices())->Color;
}

} // namespace

void reverseTriangles(scene::IMeshBuffer& buffer)
{
    const u32 count = buffer.getIndexCount() / 3 * 3;
    if (buffer.getIndexType() == video::EIT_16BIT) {
        u16* indices = buffer.getIndices();
        for (u32 i = 0; i < count; i += 3)
            std::swap(indices[i + 1], indices[i + 2]);
    } else {
        u32* indices = reinterpret_cast<u32*>(buffer.getIndices());
        for (u32 i = 0; i < count; i += 3)
            std::swap(indices[i + 1], indices[i + 2]);
    }
    buffer.setDirty(scene::EBT_INDEX);
}

void applyModelTransparency(scene::IMeshBuffer& buffer)
{
    if (buffer.getVertexCount() == 0 || !buffer.getVertices())
        return;
    video::SMaterial& material = buffer.getMaterial();
    if (firstVertexColour(buffer).getAlpha() < 255) {
        material.MaterialType = video::EMT_TRANSPARENT_VERTEX_ALPHA;
        return;
    }
    const video::ITexture* texture = material.getTexture(0);
    if (texture && isAlphaPictureName(texture->getName().getPath()))
        material.MaterialType = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
}

scene::IMesh* loadModelMesh(scene::ISceneManager* smgr, const void* block, int32_t blockSize,
                            const std::string& fileName, bool zUp)
{
    if (!smgr || !block || blockSize < 4 || !smgr->getFileSystem())
        return nullptr;
    const auto* bytes = static_cast<const uint8_t*>(block);
    const Bytes file{bytes + 4, size_t(blockSize) - 4};

    std::vector<uint8_t> checked;
    const char* extension = nullptr;
    switch (static_cast<ModelFormat>(readU32(bytes))) {
    case ModelFormat::Mesh3ds:
        checked = sanitized3ds(file);
        extension = ".3ds";
        break;
    case ModelFormat::MeshX: {
        const auto* text = reinterpret_cast<const char*>(file.data);
        if (XTextCheck(text, text + file.size).run())
            checked.assign(file.data, file.data + file.size);
        extension = ".x";
        break;
    }
    default:
        return nullptr;
    }
    scene::IMeshLoader* loader = checked.empty() ? nullptr : engineLoader(smgr, extension);
    if (!loader)
        return nullptr;

    io::IReadFile* input = smgr->getFileSystem()->createMemoryReadFile(
        checked.data(), s32(checked.size()), fileName.c_str(), false);
    if (!input)
        return nullptr;
    scene::IAnimatedMesh* animated = loader->createMesh(input);
    input->drop();
    if (!animated)
        return nullptr;
    scene::IMesh* frame = animated->getMesh(0);
    scene::SMesh* mesh = frame ? staticCopy(*frame) : nullptr;
    animated->drop();
    if (mesh && mesh->getMeshBufferCount() == 0) {
        mesh->drop();
        return nullptr;
    }
    if (!mesh)
        return nullptr;

    for (u32 i = 0; i < mesh->getMeshBufferCount(); ++i) {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(i);
        if (zUp)
            reverseTriangles(*buffer);
        applyModelTransparency(*buffer);
    }
    return mesh;
}

} // namespace vs
