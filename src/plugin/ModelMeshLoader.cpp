#include "plugin/ModelMeshLoader.h"

#include "plugin/BinaryXText.h"
#include "plugin/XMeshSplitter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
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
// DirectX text files: the engine's loader trusts every count and index (face, material, normal
// and colour indices write and read outside its arrays), compares names only up to an embedded
// zero, stops silently on a parse error and then builds buffers from half-read meshes, and reads
// past its buffer at the end of the file. Rather than predicting how it reads an arbitrary file,
// the file is parsed here and written anew in the one layout the loader reads as meant: frames with
// their matrices, and meshes with their normals, texture coordinates, vertex colours and materials,
// every count and index checked. Names, templates, headers, animations and any other object
// the static mesh is not made from are left out; referenced materials are written in full.

constexpr int kMaxXDepth = 32;
// Per mesh; XMeshSplitter keeps each of the engine's (16-bit) buffers within 65535.
constexpr uint32_t kMaxXVertices = 1u << 20;
constexpr uint32_t kMaxXMaterials = 4096;  // in the whole file
constexpr size_t kMaxXTextureName = 1024;
constexpr int kMaxXTexturesPerMaterial = 2; // layers the loader gives meaning to

class XTextRebuild
{
public:
    XTextRebuild(const char* begin, const char* end) : begin_(begin), p_(begin), end_(end) {}

    /** The rebuilt file, or empty when the input is not a consistent uncompressed text file
     *  with at least one face. */
    std::string run()
    {
        if (!header())
            return {};
        std::string body;
        while (true) {
            const Token t = nextBeyondSeparators();
            if (t.kind == Tok::End)
                break;
            bool ok = false;
            if (t.kind == Tok::Open) // a reference: nothing of the mesh
                ok = skipBody();
            else if (t.kind != Tok::Word)
                ok = false;
            else if (t.text == "Frame")
                ok = frame(body, 0);
            else if (t.text == "Mesh")
                ok = mesh(body);
            else if (t.text == "Material")
                ok = namedMaterial();
            else // templates, header, animations and the like
                ok = skipObject();
            if (!ok)
                return {};
        }
        if (meshes_ == 0)
            return {};
        return "xof 0303txt 0032\n" + body;
    }

private:
    enum class Tok { End, Bad, Open, Close, Separator, String, Word };

    struct Token
    {
        Tok kind;
        std::string text;
    };

    struct NamedMaterial
    {
        std::string name;
        std::string text;
    };

    bool header()
    {
        if (end_ - begin_ < 16 || std::strncmp(begin_, "xof ", 4) != 0 ||
            std::strncmp(begin_ + 8, "txt ", 4) != 0)
            return false;
        for (int i = 4; i < 8; ++i)
            if (!isDigit(begin_[i]))
                return false;
        if (std::strncmp(begin_ + 12, "0032", 4) != 0 && std::strncmp(begin_ + 12, "0064", 4) != 0)
            return false;
        p_ = begin_ + 16;
        return true;
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static bool isSpace(unsigned char c)
    {
        return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v';
    }
    static bool isWordChar(unsigned char c)
    {
        return c > 0x20 && c != 0x7F && c != '{' && c != '}' && c != ';' && c != ',' && c != '"';
    }

    void skipSpaceAndComments()
    {
        while (p_ < end_) {
            if (isSpace(static_cast<unsigned char>(*p_))) {
                ++p_;
            } else if (*p_ == '#' || (*p_ == '/' && p_ + 1 < end_ && p_[1] == '/')) {
                while (p_ < end_ && *p_ != '\n' && *p_ != '\r')
                    ++p_;
            } else {
                return;
            }
        }
    }

    Token next()
    {
        skipSpaceAndComments();
        if (p_ >= end_)
            return {Tok::End, {}};
        const char c = *p_;
        if (c == '{' || c == '}' || c == ';' || c == ',') {
            ++p_;
            return {c == '{' ? Tok::Open : c == '}' ? Tok::Close : Tok::Separator, {}};
        }
        if (c == '"') {
            const char* start = ++p_;
            while (p_ < end_ && *p_ != '"') {
                const auto k = static_cast<unsigned char>(*p_);
                if (k < 0x20 || k == 0x7F)
                    return {Tok::Bad, {}};
                ++p_;
            }
            if (p_ >= end_)
                return {Tok::Bad, {}};
            ++p_;
            return {Tok::String, std::string(start, p_ - 1)};
        }
        if (!isWordChar(static_cast<unsigned char>(c)))
            return {Tok::Bad, {}};
        const char* start = p_;
        while (p_ < end_ && isWordChar(static_cast<unsigned char>(*p_)))
            ++p_;
        return {Tok::Word, std::string(start, p_)};
    }

    /** The next token that is not a ';' or ',': separators between values and objects are
     *  optional here, since the layout is written anew. */
    Token nextBeyondSeparators()
    {
        Token t = next();
        while (t.kind == Tok::Separator)
            t = next();
        return t;
    }

    bool readInt(uint32_t& value)
    {
        const Token t = nextBeyondSeparators();
        if (t.kind != Tok::Word || t.text.size() > 10)
            return false;
        uint64_t v = 0;
        for (char c : t.text) {
            if (!isDigit(c))
                return false;
            v = v * 10 + uint64_t(c - '0');
        }
        if (v > 0xFFFFFFFFull)
            return false;
        value = uint32_t(v);
        return true;
    }

    /** A decimal number ([-+]digits[.digits][e[-+]digits]) that is finite as a float. */
    bool readFloat(float& value)
    {
        const Token t = nextBeyondSeparators();
        if (t.kind != Tok::Word)
            return false;
        const std::string& s = t.text;
        size_t i = s[0] == '-' || s[0] == '+' ? 1 : 0;
        const size_t numberStart = s[0] == '+' ? 1 : 0;
        size_t digits = 0;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
        if (i < s.size() && s[i] == '.') {
            ++i;
            while (i < s.size() && isDigit(s[i])) {
                ++i;
                ++digits;
            }
        }
        if (digits == 0)
            return false;
        if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
            ++i;
            if (i < s.size() && (s[i] == '-' || s[i] == '+'))
                ++i;
            size_t exponent = 0;
            while (i < s.size() && isDigit(s[i])) {
                ++i;
                ++exponent;
            }
            if (exponent == 0)
                return false;
        }
        if (i != s.size())
            return false;
        double d = 0;
        const auto [end, error] = std::from_chars(s.data() + numberStart, s.data() + s.size(), d);
        if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(d) ||
            std::fabs(d) > double(std::numeric_limits<float>::max()))
            return false;
        value = float(d);
        return true;
    }

    /** Reads n floats and writes them separated by sep, each followed by ';' when sep is ';'. */
    bool copyFloats(int n, std::string& out, char sep = ';')
    {
        for (int i = 0; i < n; ++i) {
            float v = 0;
            if (!readFloat(v))
                return false;
            char text[32];
            const auto result = std::to_chars(text, text + sizeof text, v);
            out.append(text, result.ptr);
            if (sep == ';' || i + 1 < n)
                out += sep;
        }
        return true;
    }

    static void appendCount(std::string& out, size_t n) { out += std::to_string(n) + ";\n"; }

    /** The separator after element i of n: ',' between elements, ';' after the last. */
    static void endElement(std::string& out, size_t i, size_t n)
    {
        out += i + 1 < n ? ",\n" : ";\n";
    }

    /** After an object's keyword: an optional name, then the opening brace. */
    bool head(std::string* name = nullptr)
    {
        Token t = next();
        if (t.kind == Tok::Word) {
            if (name)
                *name = t.text;
            t = next();
        }
        return t.kind == Tok::Open;
    }

    /** Skips to the brace closing an object whose opening brace has been read. */
    bool skipBody()
    {
        for (size_t open = 1; open > 0;) {
            const Token t = next();
            if (t.kind == Tok::End || t.kind == Tok::Bad)
                return false;
            if (t.kind == Tok::Open)
                ++open;
            else if (t.kind == Tok::Close)
                --open;
        }
        return true;
    }

    bool skipObject() { return head() && skipBody(); }

    bool closingBrace() { return nextBeyondSeparators().kind == Tok::Close; }

    bool frame(std::string& out, int depth)
    {
        if (depth >= kMaxXDepth || !head())
            return false;
        std::string matrix;
        std::string children;
        while (true) {
            const Token t = nextBeyondSeparators();
            if (t.kind == Tok::Close)
                break;
            bool ok = false;
            if (t.kind == Tok::Open)
                ok = skipBody();
            else if (t.kind != Tok::Word)
                ok = false;
            else if (t.text == "Frame")
                ok = frame(children, depth + 1);
            else if (t.text == "FrameTransformMatrix")
                ok = transformMatrix(matrix);
            else if (t.text == "Mesh")
                ok = mesh(children);
            else
                ok = skipObject();
            if (!ok)
                return false;
        }
        if (!children.empty()) // a frame without meshes adds nothing to the static mesh
            out += "Frame {\n" + matrix + children + "}\n";
        return true;
    }

    bool transformMatrix(std::string& out)
    {
        std::string values;
        if (!head() || !copyFloats(16, values, ',') || !closingBrace())
            return false;
        out = "FrameTransformMatrix {\n" + values + ";;\n}\n"; // the last one counts
        return true;
    }

    bool mesh(std::string& out)
    {
        std::string text = "Mesh {\n";
        uint32_t vertexCount = 0;
        std::vector<uint32_t> corners; // of each face
        std::string parts[kMeshParts];
        if (!head() || !geometry(text, vertexCount, corners) ||
            !meshParts(vertexCount, corners, parts))
            return false;
        if (corners.empty()) // nothing to draw; the loader's buffers need faces
            return true;
        for (const std::string& part : parts)
            text += part;
        out += text + "}\n";
        ++meshes_;
        return true;
    }

    /** The vertices and faces at the head of a mesh. */
    bool geometry(std::string& out, uint32_t& vertexCount, std::vector<uint32_t>& corners)
    {
        if (!readInt(vertexCount) || vertexCount > kMaxXVertices)
            return false;
        appendCount(out, vertexCount);
        for (uint32_t i = 0; i < vertexCount; ++i) {
            if (!copyFloats(3, out))
                return false;
            endElement(out, i, vertexCount);
        }
        uint32_t faceCount = 0;
        if (!readInt(faceCount))
            return false;
        appendCount(out, faceCount);
        for (uint32_t k = 0; k < faceCount; ++k) { // corners grow with what is read, not the count
            uint32_t n = 0;
            if (!readInt(n) || n < 3 || (n - 2) * 3 > 0xFFFF || !copyIndices(n, vertexCount, out))
                return false;
            corners.push_back(n);
            endElement(out, k, faceCount);
        }
        return true;
    }

    static constexpr int kMeshParts = 4;

    /** The objects after a mesh's faces, up to its closing brace: normals, texture
     *  coordinates, vertex colours and material list each at most once, into parts in that
     *  order; others are left out. */
    bool meshParts(uint32_t vertexCount, const std::vector<uint32_t>& corners,
                   std::string (&parts)[kMeshParts])
    {
        static const char* const kNames[kMeshParts] = {"MeshNormals", "MeshTextureCoords",
                                                       "MeshVertexColors", "MeshMaterialList"};
        bool seen[kMeshParts] = {};
        while (true) {
            const Token t = nextBeyondSeparators();
            if (t.kind == Tok::Close)
                return true;
            if (t.kind == Tok::Open) {
                if (!skipBody())
                    return false;
                continue;
            }
            if (t.kind != Tok::Word)
                return false;
            const auto* name = std::find_if(std::begin(kNames), std::end(kNames),
                                            [&](const char* s) { return t.text == s; });
            const int part = int(name - std::begin(kNames));
            if (part == kMeshParts) {
                if (!skipObject())
                    return false;
                continue;
            }
            if (seen[part]) // the loader would merge repeats in its own way
                return false;
            seen[part] = true;
            const bool ok = part == 0   ? normals(corners, parts[0])
                            : part == 1 ? textureCoords(vertexCount, parts[1])
                            : part == 2 ? vertexColours(vertexCount, parts[2])
                                        : materialList(corners.size(), parts[3]);
            if (!ok)
                return false;
        }
    }

    /** Reads n indices below bound and writes them as "n;i,j,k;". */
    bool copyIndices(uint32_t n, uint32_t bound, std::string& out)
    {
        out += std::to_string(n) + ';';
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t index = 0;
            if (!readInt(index) || index >= bound)
                return false;
            out += std::to_string(index);
            out += i + 1 < n ? ',' : ';';
        }
        return true;
    }

    bool normals(const std::vector<uint32_t>& corners, std::string& out)
    {
        uint32_t normalCount = 0;
        if (!head() || !readInt(normalCount))
            return false;
        std::string text = "MeshNormals {\n";
        appendCount(text, normalCount);
        for (uint32_t i = 0; i < normalCount; ++i) {
            if (!copyFloats(3, text))
                return false;
            endElement(text, i, normalCount);
        }
        uint32_t faceCount = 0;
        if (!readInt(faceCount) || faceCount > corners.size())
            return false;
        appendCount(text, faceCount);
        for (uint32_t k = 0; k < faceCount; ++k) {
            uint32_t n = 0;
            // A face's normals must match its corners: the loader writes them to its vertices.
            if (!readInt(n) || n != corners[k] || !copyIndices(n, normalCount, text))
                return false;
            endElement(text, k, faceCount);
        }
        if (!closingBrace())
            return false;
        if (normalCount > 0 && faceCount > 0)
            out = text + "}\n";
        return true;
    }

    bool textureCoords(uint32_t vertexCount, std::string& out)
    {
        uint32_t count = 0;
        if (!head() || !readInt(count) || count > vertexCount)
            return false;
        std::string text = "MeshTextureCoords {\n";
        appendCount(text, count);
        for (uint32_t i = 0; i < count; ++i) {
            if (!copyFloats(2, text))
                return false;
            endElement(text, i, count);
        }
        if (!closingBrace())
            return false;
        if (count > 0)
            out = text + "}\n";
        return true;
    }

    bool vertexColours(uint32_t vertexCount, std::string& out)
    {
        uint32_t count = 0;
        if (!head() || !readInt(count))
            return false;
        std::string text = "MeshVertexColors {\n";
        appendCount(text, count);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t index = 0;
            if (!readInt(index) || index >= vertexCount)
                return false;
            text += std::to_string(index) + ';';
            if (!copyFloats(4, text))
                return false;
            text += i + 1 < count ? ";," : ";;";
            text += '\n';
        }
        if (!closingBrace())
            return false;
        if (count > 0)
            out = text + "}\n";
        return true;
    }

    bool materialList(size_t faceCount, std::string& out)
    {
        uint32_t declared = 0;
        uint32_t indexCount = 0;
        if (!head() || !readInt(declared) || !readInt(indexCount))
            return false;
        // Faces past the listed ones keep the last index, as the loader has it.
        std::vector<uint32_t> indices;
        uint32_t index = 0;
        uint32_t maxIndex = 0;
        for (uint32_t i = 0; i < indexCount; ++i) {
            if (!readInt(index))
                return false;
            if (i < faceCount) {
                indices.push_back(index);
                maxIndex = std::max(maxIndex, index);
            }
        }
        indices.resize(faceCount, index);
        if (indexCount < faceCount && faceCount > 0)
            maxIndex = std::max(maxIndex, index);

        std::vector<std::string> materials;
        while (true) {
            const Token t = nextBeyondSeparators();
            if (t.kind == Tok::Close)
                break;
            if (t.kind == Tok::Open) { // "{ name }": every earlier top-level namesake
                const Token ref = next();
                if (ref.kind != Tok::Word || !closingBrace())
                    return false;
                for (const NamedMaterial& named : named_)
                    if (named.name == ref.text && !addMaterial(named.text, materials))
                        return false;
                continue;
            }
            if (t.kind != Tok::Word)
                return false;
            if (t.text == "Material") {
                std::string text;
                if (!head() || !material(text) || !addMaterial(text, materials))
                    return false;
            } else if (!skipObject()) {
                return false;
            }
        }
        // Without materials every face takes the loader's default one, index 0.
        if (maxIndex >= std::max<size_t>(materials.size(), 1))
            return false;
        if (materials.empty() || faceCount == 0)
            return true;
        out = "MeshMaterialList {\n";
        appendCount(out, materials.size());
        appendCount(out, faceCount);
        for (size_t i = 0; i < faceCount; ++i) {
            out += std::to_string(indices[i]);
            out += i + 1 < faceCount ? ",\n" : ";;\n";
        }
        for (const std::string& m : materials)
            out += m;
        out += "}\n";
        return true;
    }

    bool addMaterial(const std::string& text, std::vector<std::string>& materials)
    {
        if (materialCount_ >= kMaxXMaterials)
            return false;
        ++materialCount_;
        materials.push_back(text);
        return true;
    }

    bool namedMaterial()
    {
        NamedMaterial m;
        if (!head(&m.name) || !material(m.text))
            return false;
        if (!m.name.empty())
            named_.push_back(std::move(m));
        return true;
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

    /** A material's body after its opening brace: diffuse RGBA, power, specular and emissive
     *  RGB, then texture file names; other children are left out. */
    bool material(std::string& out)
    {
        out = "Material {\n";
        if (!copyFloats(4, out))
            return false;
        out += ";\n";
        if (!copyFloats(1, out))
            return false;
        out += "\n";
        for (int colour = 0; colour < 2; ++colour) {
            if (!copyFloats(3, out))
                return false;
            out += ";\n";
        }
        int textures = 0;
        while (true) {
            const Token t = nextBeyondSeparators();
            if (t.kind == Tok::Close)
                break;
            if (t.kind == Tok::Open) {
                if (!skipBody())
                    return false;
                continue;
            }
            if (t.kind != Tok::Word)
                return false;
            if (!sameIgnoringCase(t.text, "TextureFilename")) {
                if (!skipObject())
                    return false;
                continue;
            }
            if (!head())
                return false;
            const Token name = nextBeyondSeparators();
            if (name.kind != Tok::String || name.text.size() > kMaxXTextureName || !closingBrace())
                return false;
            if (textures++ < kMaxXTexturesPerMaterial)
                out += "TextureFilename {\n\"" + name.text + "\";\n}\n";
        }
        out += "}\n";
        return true;
    }

    const char* begin_;
    const char* p_;
    const char* end_;
    std::vector<NamedMaterial> named_;
    uint32_t materialCount_ = 0;
    size_t meshes_ = 0;
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

/** Whether every index of every buffer names one of its vertices: the engine's buffers keep
 *  16-bit indices, which would wrap in a buffer the loader filled with more vertices. */
bool indicesInRange(const scene::IMesh& mesh)
{
    for (u32 b = 0; b < mesh.getMeshBufferCount(); ++b) {
        const scene::IMeshBuffer& buffer = *mesh.getMeshBuffer(b);
        const u32 vertices = buffer.getVertexCount();
        const bool wide = buffer.getIndexType() == video::EIT_32BIT;
        for (u32 i = 0; i < buffer.getIndexCount(); ++i) {
            const u32 index = wide ? reinterpret_cast<const u32*>(buffer.getIndices())[i]
                                   : buffer.getIndices()[i];
            if (index >= vertices)
                return false;
        }
        if (!wide && vertices > 0x10000)
            return false;
    }
    return true;
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
                            const std::string& fileName, bool zUp, std::string* why)
{
    auto refuse = [why](const std::string& reason) -> scene::IMesh* {
        if (why)
            *why = reason;
        return nullptr;
    };
    if (why)
        why->clear();
    if (!smgr || !block || blockSize <= 0 || !smgr->getFileSystem())
        return nullptr;
    if (blockSize < 4)
        return refuse("model block shorter than its 4-byte format code");
    const auto* bytes = static_cast<const uint8_t*>(block);
    const Bytes file{bytes + 4, size_t(blockSize) - 4};

    std::vector<uint8_t> checked;
    const char* extension = nullptr;
    switch (static_cast<ModelFormat>(readU32(bytes))) {
    case ModelFormat::Mesh3ds:
        checked = sanitized3ds(file);
        if (checked.empty())
            return refuse("3DS chunks are inconsistent or hold no mesh");
        extension = ".3ds";
        break;
    case ModelFormat::MeshX: {
        std::string decoded; // a binary file's tokens written as text
        const auto* text = reinterpret_cast<const char*>(file.data);
        size_t textSize = file.size;
        switch (BinaryXText::encoding(file.data, file.size)) {
        case BinaryXText::Encoding::Binary: {
            std::string problem;
            decoded = BinaryXText::toText(file.data, file.size, problem);
            if (decoded.empty())
                return refuse("binary X: " + problem);
            text = decoded.data();
            textSize = decoded.size();
            break;
        }
        case BinaryXText::Encoding::CompressedText:
        case BinaryXText::Encoding::CompressedBinary:
            return refuse("compressed X files (\"tzip\", \"bzip\") cannot be read; "
                          "save the model uncompressed");
        case BinaryXText::Encoding::NotX:
            return refuse("not an X file (no \"xof\" header)");
        case BinaryXText::Encoding::Text:
            break;
        }
        const std::string rebuilt =
            XMeshSplitter::split(XTextRebuild(text, text + textSize).run());
        if (rebuilt.empty())
            return refuse("X counts, indices or nesting do not agree, or it holds no mesh");
        checked.assign(rebuilt.begin(), rebuilt.end());
        extension = ".x";
        break;
    }
    default:
        return nullptr;
    }
    scene::IMeshLoader* loader = engineLoader(smgr, extension);
    if (!loader)
        return refuse(std::string("the engine has no ") + extension + " loader");

    io::IReadFile* input = smgr->getFileSystem()->createMemoryReadFile(
        checked.data(), s32(checked.size()), fileName.c_str(), false);
    if (!input)
        return refuse("out of memory");
    scene::IAnimatedMesh* animated = loader->createMesh(input);
    input->drop();
    if (!animated)
        return refuse("the engine's loader refused it");
    scene::IMesh* frame = animated->getMesh(0);
    scene::SMesh* mesh = frame ? staticCopy(*frame) : nullptr;
    animated->drop();
    if (mesh && (mesh->getMeshBufferCount() == 0 || !indicesInRange(*mesh))) {
        mesh->drop();
        return refuse("the loaded mesh has no buffers or an index outside its buffer");
    }
    if (!mesh)
        return refuse("the engine's loader gave no mesh");

    for (u32 i = 0; i < mesh->getMeshBufferCount(); ++i) {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(i);
        if (zUp)
            reverseTriangles(*buffer);
        applyModelTransparency(*buffer);
    }
    return mesh;
}

} // namespace vs
