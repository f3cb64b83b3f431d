#include "scene/meshes/XMeshSplitter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace vs {
namespace {

enum class Tok { End, Open, Close, Word, String };

constexpr uint32_t kNoNormal = UINT32_MAX;

struct Token
{
    Tok kind;
    size_t begin; // first character (the quote of a string)
    size_t end;   // one past the last
};

/** One mesh as the X checks write it. */
struct XMesh
{
    std::vector<float> positions;    // 3 per vertex
    std::vector<uint32_t> faceStart; // into faceIndices, one per face plus the end
    std::vector<uint32_t> faceIndices;
    std::vector<float> normals;          // 3 per normal
    std::vector<uint32_t> normalIndices; // per corner of the first normalFaces faces
    uint32_t normalFaces = 0;
    std::vector<float> textureCoords; // 2 per vertex of the first ones
    std::vector<std::pair<uint32_t, std::array<float, 4>>> colours;
    bool hasColours = false;
    std::vector<uint32_t> faceMaterials; // empty: every face takes material 0
    std::vector<std::string> materials;  // "Material { ... }" texts

    uint32_t vertexCount() const { return uint32_t(positions.size() / 3); }
    uint32_t faceCount() const { return uint32_t(faceStart.size() - 1); }
    uint32_t corners(uint32_t face) const { return faceStart[face + 1] - faceStart[face]; }
    uint32_t material(uint32_t face) const
    {
        return faceMaterials.empty() ? 0 : faceMaterials[face];
    }
};

/** A run of faces [first, last) of a mesh. */
struct Chunk
{
    uint32_t first = 0;
    uint32_t last = 0;
};

void appendFloat(std::string& out, float v)
{
    char text[32];
    out.append(text, std::to_chars(text, text + sizeof text, v).ptr);
}

void appendSeparator(std::string& out, size_t i, size_t n)
{
    out += i + 1 < n ? ",\n" : ";\n";
}

class Splitter
{
public:
    Splitter(const std::string& in, uint32_t maxVertices) : in_(in), maxVertices_(maxVertices) {}

    bool run(std::string& out)
    {
        const size_t line = in_.find('\n');
        if (line == std::string::npos)
            return false;
        out.assign(in_, 0, line + 1);
        p_ = line + 1;
        while (true) {
            const Token t = next();
            if (t.kind == Tok::End)
                return true;
            if (t.kind != Tok::Word || !object(t, out))
                return false;
        }
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

    Token next()
    {
        while (p_ < in_.size() && (isSpace(in_[p_]) || in_[p_] == ',' || in_[p_] == ';'))
            ++p_;
        if (p_ >= in_.size())
            return {Tok::End, p_, p_};
        const size_t start = p_;
        const char c = in_[p_];
        if (c == '{' || c == '}') {
            ++p_;
            return {c == '{' ? Tok::Open : Tok::Close, start, p_};
        }
        if (c == '"') {
            const size_t close = in_.find('"', p_ + 1);
            if (close == std::string::npos)
                return {Tok::End, p_, p_};
            p_ = close + 1;
            return {Tok::String, start, p_};
        }
        while (p_ < in_.size() && !isSpace(in_[p_]) && in_[p_] != ',' && in_[p_] != ';' &&
               in_[p_] != '{' && in_[p_] != '}' && in_[p_] != '"')
            ++p_;
        return {Tok::Word, start, p_};
    }

    bool is(const Token& t, const char* word) const
    {
        return t.kind == Tok::Word && in_.compare(t.begin, t.end - t.begin, word) == 0;
    }

    bool open() { return next().kind == Tok::Open; }

    /** Skips to the brace that closes an object whose opening brace has been read; returns the
     *  end of that brace, or 0 when the text ends first. */
    size_t skipBody()
    {
        for (int depth = 1; depth > 0;) {
            const Token t = next();
            if (t.kind == Tok::End)
                return 0;
            depth += t.kind == Tok::Open ? 1 : t.kind == Tok::Close ? -1 : 0;
        }
        return p_;
    }

    bool copyObject(const Token& word, std::string& out)
    {
        if (!open())
            return false;
        const size_t end = skipBody();
        if (end == 0)
            return false;
        out.append(in_, word.begin, end - word.begin);
        out += '\n';
        return true;
    }

    bool object(const Token& word, std::string& out)
    {
        if (is(word, "Frame")) {
            if (!open())
                return false;
            out += "Frame {\n";
            while (true) {
                const Token t = next();
                if (t.kind == Tok::Close)
                    break;
                if (t.kind != Tok::Word || !object(t, out))
                    return false;
            }
            out += "}\n";
            return true;
        }
        if (is(word, "Mesh"))
            return mesh(word, out);
        return copyObject(word, out);
    }

    bool readUint(uint32_t& v)
    {
        const Token t = next();
        return t.kind == Tok::Word &&
               std::from_chars(in_.data() + t.begin, in_.data() + t.end, v).ptr ==
                   in_.data() + t.end;
    }

    bool readFloats(size_t n, std::vector<float>& out)
    {
        for (size_t i = 0; i < n; ++i) {
            const Token t = next();
            float v = 0;
            if (t.kind != Tok::Word ||
                std::from_chars(in_.data() + t.begin, in_.data() + t.end, v).ptr !=
                    in_.data() + t.end)
                return false;
            out.push_back(v);
        }
        return true;
    }

    bool readIndices(uint32_t n, std::vector<uint32_t>& out)
    {
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t v = 0;
            if (!readUint(v))
                return false;
            out.push_back(v);
        }
        return true;
    }

    bool mesh(const Token& word, std::string& out)
    {
        XMesh m;
        uint32_t vertices = 0;
        uint32_t faces = 0;
        if (!open() || !readUint(vertices) || !readFloats(size_t(vertices) * 3, m.positions) ||
            !readUint(faces))
            return false;
        m.faceStart.push_back(0);
        uint64_t corners = 0;
        for (uint32_t k = 0; k < faces; ++k) {
            uint32_t n = 0;
            if (!readUint(n) || n < 3 || !readIndices(n, m.faceIndices))
                return false;
            m.faceStart.push_back(uint32_t(m.faceIndices.size()));
            corners += 3 * uint64_t(n - 2);
        }
        if (corners <= maxVertices_) { // no buffer can pass the limit
            const size_t end = skipBody();
            if (end == 0)
                return false;
            out.append(in_, word.begin, end - word.begin);
            out += '\n';
            return true;
        }
        if (!meshParts(m))
            return false;
        const std::vector<uint32_t> normalOf = vertexNormals(m);
        for (const Chunk& chunk : chunks(m, maxVertices_))
            writeChunk(m, normalOf, chunk, out);
        return true;
    }

    bool meshParts(XMesh& m)
    {
        while (true) {
            const Token t = next();
            if (t.kind == Tok::Close)
                return true;
            bool ok = false;
            if (is(t, "MeshNormals"))
                ok = normals(m);
            else if (is(t, "MeshTextureCoords"))
                ok = textureCoords(m);
            else if (is(t, "MeshVertexColors"))
                ok = colours(m);
            else if (is(t, "MeshMaterialList"))
                ok = materialList(m);
            if (!ok)
                return false;
        }
    }

    bool normals(XMesh& m)
    {
        uint32_t count = 0;
        if (!open() || !readUint(count) || !readFloats(size_t(count) * 3, m.normals) ||
            !readUint(m.normalFaces) || m.normalFaces > m.faceCount())
            return false;
        for (uint32_t k = 0; k < m.normalFaces; ++k) {
            uint32_t n = 0;
            if (!readUint(n) || n != m.corners(k) || !readIndices(n, m.normalIndices))
                return false;
        }
        return next().kind == Tok::Close;
    }

    bool textureCoords(XMesh& m)
    {
        uint32_t count = 0;
        return open() && readUint(count) && readFloats(size_t(count) * 2, m.textureCoords) &&
               next().kind == Tok::Close;
    }

    bool colours(XMesh& m)
    {
        uint32_t count = 0;
        if (!open() || !readUint(count))
            return false;
        m.hasColours = true;
        std::vector<float> rgba;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t index = 0;
            rgba.clear();
            if (!readUint(index) || !readFloats(4, rgba))
                return false;
            m.colours.push_back({index, {rgba[0], rgba[1], rgba[2], rgba[3]}});
        }
        return next().kind == Tok::Close;
    }

    bool materialList(XMesh& m)
    {
        uint32_t materials = 0;
        uint32_t faces = 0;
        if (!open() || !readUint(materials) || !readUint(faces) || faces != m.faceCount() ||
            !readIndices(faces, m.faceMaterials))
            return false;
        while (true) {
            const Token t = next();
            if (t.kind == Tok::Close)
                break;
            if (!is(t, "Material"))
                return false;
            std::string text;
            if (!copyObject(t, text))
                return false;
            m.materials.push_back(std::move(text));
        }
        for (uint32_t index : m.faceMaterials)
            if (index >= m.materials.size())
                return false;
        return true;
    }

    /** Runs of faces whose buffers stay within the limit, counted as the loader copies
     *  vertices: once into the buffer of the first face using a vertex, once per corner into
     *  the buffer of any other material. */
    static std::vector<Chunk> chunks(const XMesh& m, uint32_t maxVertices)
    {
        constexpr uint32_t kUnseen = UINT32_MAX;
        std::vector<uint32_t> firstMaterial(m.vertexCount(), kUnseen);
        std::vector<uint32_t> touched;
        std::vector<uint32_t> counts(std::max<size_t>(m.materials.size(), 1), 0);
        std::vector<Chunk> out;
        Chunk chunk;
        for (uint32_t f = 0; f < m.faceCount(); ++f) {
            const uint32_t mat = m.material(f);
            const uint32_t triangleCorners = 3 * (m.corners(f) - 2);
            // A face always fits an empty run: the checks keep a face within 65535 corners.
            if (f > chunk.first && counts[mat] + triangleCorners > maxVertices) {
                chunk.last = f;
                out.push_back(chunk);
                chunk.first = f;
                for (uint32_t v : touched)
                    firstMaterial[v] = kUnseen;
                touched.clear();
                std::fill(counts.begin(), counts.end(), 0);
            }
            // The loader's fan: corners (0, j + 1, j + 2).
            const uint32_t* idx = m.faceIndices.data() + m.faceStart[f];
            for (uint32_t j = 0; j + 2 < m.corners(f); ++j)
                for (uint32_t v : {idx[0], idx[j + 1], idx[j + 2]}) {
                    if (firstMaterial[v] == kUnseen) {
                        firstMaterial[v] = mat;
                        touched.push_back(v);
                        ++counts[mat];
                    } else if (firstMaterial[v] != mat) {
                        ++counts[mat];
                    }
                }
        }
        chunk.last = m.faceCount();
        out.push_back(chunk);
        return out;
    }

    static void writeChunk(const XMesh& m, const std::vector<uint32_t>& normalOf,
                           const Chunk& chunk, std::string& out)
    {
        constexpr uint32_t kNone = UINT32_MAX;
        std::vector<uint32_t> local(m.vertexCount(), kNone);
        std::vector<uint32_t> vertices; // global index of each local vertex
        std::vector<uint32_t> localMaterial(std::max<size_t>(m.materials.size(), 1), kNone);
        std::vector<uint32_t> materials;
        for (uint32_t f = chunk.first; f < chunk.last; ++f) {
            for (uint32_t i = m.faceStart[f]; i < m.faceStart[f + 1]; ++i) {
                const uint32_t v = m.faceIndices[i];
                if (local[v] == kNone) {
                    local[v] = uint32_t(vertices.size());
                    vertices.push_back(v);
                }
            }
            const uint32_t mat = m.material(f);
            if (localMaterial[mat] == kNone) {
                localMaterial[mat] = uint32_t(materials.size());
                materials.push_back(mat);
            }
        }
        const uint32_t faces = chunk.last - chunk.first;
        out += "Mesh {\n" + std::to_string(vertices.size()) + ";\n";
        for (size_t i = 0; i < vertices.size(); ++i) {
            for (int a = 0; a < 3; ++a) {
                appendFloat(out, m.positions[size_t(vertices[i]) * 3 + a]);
                out += ';';
            }
            appendSeparator(out, i, vertices.size());
        }
        out += std::to_string(faces) + ";\n";
        for (uint32_t f = chunk.first; f < chunk.last; ++f) {
            out += std::to_string(m.corners(f)) + ';';
            for (uint32_t i = m.faceStart[f]; i < m.faceStart[f + 1]; ++i) {
                out += std::to_string(local[m.faceIndices[i]]);
                out += i + 1 < m.faceStart[f + 1] ? ',' : ';';
            }
            appendSeparator(out, f - chunk.first, faces);
        }
        writeNormals(m, normalOf, vertices, chunk, local, out);
        writeTextureCoords(m, vertices, out);
        writeColours(m, local, out);
        writeMaterials(m, chunk, localMaterial, materials, out);
        out += "}\n";
    }

    /** The normal each vertex ends with: the loader writes a face's normals to its vertices
     *  triangle by triangle along the fan, the last write winning. kNoNormal for none. */
    static std::vector<uint32_t> vertexNormals(const XMesh& m)
    {
        std::vector<uint32_t> out(m.vertexCount(), kNoNormal);
        for (uint32_t f = 0; f < m.normalFaces; ++f) {
            const uint32_t start = m.faceStart[f];
            for (uint32_t j = 0; j + 2 < m.corners(f); ++j)
                for (uint32_t c : {0u, j + 1, j + 2})
                    out[m.faceIndices[start + c]] = m.normalIndices[start + c];
        }
        return out;
    }

    /** Each vertex of the chunk gets the normal it ends with in the whole mesh, so that a vertex
     *  shared with faces of another chunk keeps it. */
    static void writeNormals(const XMesh& m, const std::vector<uint32_t>& normalOf,
                             const std::vector<uint32_t>& vertices, const Chunk& chunk,
                             const std::vector<uint32_t>& local, std::string& out)
    {
        if (m.normals.empty() || m.normalFaces == 0)
            return;
        out += "MeshNormals {\n" + std::to_string(vertices.size()) + ";\n";
        for (size_t i = 0; i < vertices.size(); ++i) {
            const uint32_t n = normalOf[vertices[i]];
            for (int a = 0; a < 3; ++a) {
                appendFloat(out, n == kNoNormal ? 0.0f : m.normals[size_t(n) * 3 + a]);
                out += ';';
            }
            appendSeparator(out, i, vertices.size());
        }
        const uint32_t faces = chunk.last - chunk.first;
        out += std::to_string(faces) + ";\n";
        for (uint32_t f = chunk.first; f < chunk.last; ++f) {
            out += std::to_string(m.corners(f)) + ';';
            for (uint32_t i = m.faceStart[f]; i < m.faceStart[f + 1]; ++i) {
                out += std::to_string(local[m.faceIndices[i]]);
                out += i + 1 < m.faceStart[f + 1] ? ',' : ';';
            }
            appendSeparator(out, f - chunk.first, faces);
        }
        out += "}\n";
    }

    static void writeTextureCoords(const XMesh& m, const std::vector<uint32_t>& vertices,
                                   std::string& out)
    {
        if (m.textureCoords.empty())
            return;
        // Vertices past the file's list keep the loader's (0, 0).
        out += "MeshTextureCoords {\n" + std::to_string(vertices.size()) + ";\n";
        for (size_t i = 0; i < vertices.size(); ++i) {
            const size_t at = size_t(vertices[i]) * 2;
            const bool listed = at + 1 < m.textureCoords.size();
            appendFloat(out, listed ? m.textureCoords[at] : 0.0f);
            out += ';';
            appendFloat(out, listed ? m.textureCoords[at + 1] : 0.0f);
            out += ';';
            appendSeparator(out, i, vertices.size());
        }
        out += "}\n";
    }

    static void writeColours(const XMesh& m, const std::vector<uint32_t>& local, std::string& out)
    {
        if (!m.hasColours)
            return;
        std::vector<std::pair<uint32_t, std::array<float, 4>>> listed;
        for (const auto& c : m.colours)
            if (local[c.first] != UINT32_MAX)
                listed.push_back({local[c.first], c.second});
        // A mesh with colours leaves unlisted vertices white; so does listing one as white.
        if (listed.empty())
            listed.push_back({0, {1, 1, 1, 1}});
        out += "MeshVertexColors {\n" + std::to_string(listed.size()) + ";\n";
        for (size_t i = 0; i < listed.size(); ++i) {
            out += std::to_string(listed[i].first) + ';';
            for (float v : listed[i].second) {
                appendFloat(out, v);
                out += ';';
            }
            out += i + 1 < listed.size() ? ",\n" : ";\n";
        }
        out += "}\n";
    }

    static void writeMaterials(const XMesh& m, const Chunk& chunk,
                               const std::vector<uint32_t>& localMaterial,
                               const std::vector<uint32_t>& materials, std::string& out)
    {
        if (m.materials.empty())
            return;
        const uint32_t faces = chunk.last - chunk.first;
        out += "MeshMaterialList {\n" + std::to_string(materials.size()) + ";\n" +
               std::to_string(faces) + ";\n";
        for (uint32_t f = chunk.first; f < chunk.last; ++f) {
            out += std::to_string(localMaterial[m.material(f)]);
            out += f + 1 < chunk.last ? ",\n" : ";;\n";
        }
        for (uint32_t mat : materials)
            out += m.materials[mat];
        out += "}\n";
    }

    const std::string& in_;
    const uint32_t maxVertices_;
    size_t p_ = 0;
};

} // namespace

std::string XMeshSplitter::split(const std::string& text, uint32_t maxVertices)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    if (!Splitter(text, std::max<uint32_t>(maxVertices, 3)).run(out))
        return {};
    return out;
}

} // namespace vs
