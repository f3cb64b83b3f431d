#include "scene/meshes/MeshXTextSanitiser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace vs {
namespace {

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
constexpr uint32_t kMaxXMaterials = 4096; // in the whole file
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

} // namespace

std::string sanitizedXText(const char* begin, const char* end)
{
    return XTextRebuild(begin, end).run();
}

} // namespace vs
