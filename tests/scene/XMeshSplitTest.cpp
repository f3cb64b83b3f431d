// Meshes too large for one 16-bit engine buffer load whole, cut into buffers of at most 65535
// vertices, every triangle kept with its material, normal and texture coordinates.
#include "scene/meshes/ModelMeshLoader.h"
#include "scene/meshes/XMeshSplitter.h"

#include "../../tools/BinaryXWriter.h"
#include "MeshFixtures.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <tuple>

using namespace irr;
namespace fx = vs::fixtures;

namespace {

/** A square grid of n x n vertices 10 units apart in the x-z plane, one four-corner face per
 *  cell; with two materials the rows alternate red and green, so that the vertices between
 *  rows are shared by faces of both and the loader copies them per corner. */
std::string gridX(int n, bool twoMaterials)
{
    std::ostringstream x;
    const int cells = (n - 1) * (n - 1);
    auto v = [n](int i, int j) { return j * n + i; };
    x << "xof 0303txt 0032\nFrame {\nMesh grid {\n" << n * n << ";\n";
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            x << i * 10 << ".0;0.0;" << j * 10 << ".0;" << (v(i, j) + 1 < n * n ? "," : ";")
              << "\n";
    auto faces = [&](bool normals) {
        x << cells << ";\n";
        int k = 0;
        for (int j = 0; j + 1 < n; ++j)
            for (int i = 0; i + 1 < n; ++i, ++k) {
                if (normals)
                    x << "4;0,0,0,0;";
                else
                    x << "4;" << v(i, j) << "," << v(i, j + 1) << "," << v(i + 1, j + 1) << ","
                      << v(i + 1, j) << ";";
                x << (k + 1 < cells ? ",\n" : ";\n");
            }
    };
    faces(false);
    x << "MeshNormals {\n1;\n0.0;1.0;0.0;;\n";
    faces(true);
    x << "}\nMeshTextureCoords {\n" << n * n << ";\n";
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            x << float(i) / n << ";" << float(j) / n << ";" << (v(i, j) + 1 < n * n ? "," : ";")
              << "\n";
    x << "}\n";
    if (twoMaterials) {
        x << "MeshMaterialList {\n2;\n" << cells << ";\n";
        for (int k = 0; k < cells; ++k)
            x << (k / (n - 1)) % 2 << (k + 1 < cells ? ",\n" : ";;\n");
        x << "Material {\n1.0;0.0;0.0;1.0;;\n0.0;\n0.0;0.0;0.0;;\n0.0;0.0;0.0;;\n}\n"
             "Material {\n0.0;1.0;0.0;1.0;;\n0.0;\n0.0;0.0;0.0;;\n0.0;0.0;0.0;;\n}\n}\n";
    }
    x << "}\n}\n";
    return x.str();
}

// x, z, and u and v as grid steps (the loader's text numbers are not exact to the last bit)
using Corner = std::tuple<float, float, long, long>;
using Triangle = std::tuple<u32, Corner, Corner, Corner>; // diffuse colour first

/** Every triangle of the mesh of an n x n grid, corners rotated to start at the smallest,
 *  sorted. */
std::vector<Triangle> triangles(const scene::IMesh& mesh, int n)
{
    std::vector<Triangle> out;
    for (u32 b = 0; b < mesh.getMeshBufferCount(); ++b) {
        const scene::IMeshBuffer& buffer = *mesh.getMeshBuffer(b);
        for (u32 i = 0; i + 2 < buffer.getIndexCount(); i += 3) {
            std::array<Corner, 3> c;
            for (int k = 0; k < 3; ++k) {
                const u16 index = buffer.getIndices()[i + k];
                const core::vector3df p = buffer.getPosition(index);
                const core::vector2df t = buffer.getTCoords(index);
                EXPECT_EQ(buffer.getNormal(index), core::vector3df(0, 1, 0));
                c[k] = {p.X, p.Z, std::lround(t.X * n), std::lround(t.Y * n)};
            }
            std::rotate(c.begin(), std::min_element(c.begin(), c.end()), c.end());
            out.emplace_back(buffer.getMaterial().DiffuseColor.color, c[0], c[1], c[2]);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

/** The grid's triangles as the loader's fan makes them: (0, 1, 2) and (0, 2, 3) of each face. */
std::vector<Triangle> expectedTriangles(int n, bool twoMaterials)
{
    auto corner = [&](int i, int j) { return Corner{float(i * 10), float(j * 10), i, j}; };
    const u32 red = video::SColor(255, 255, 0, 0).color;
    const u32 green = video::SColor(255, 0, 255, 0).color;
    const u32 grey = video::SColor(0xff777777).color; // the loader's default material
    std::vector<Triangle> out;
    for (int j = 0; j + 1 < n; ++j)
        for (int i = 0; i + 1 < n; ++i) {
            const u32 colour = !twoMaterials ? grey : j % 2 ? green : red;
            const std::array<Corner, 4> c = {corner(i, j), corner(i, j + 1), corner(i + 1, j + 1),
                                             corner(i + 1, j)};
            for (const std::array<Corner, 3>& t : {std::array<Corner, 3>{c[0], c[1], c[2]},
                                                   std::array<Corner, 3>{c[0], c[2], c[3]}}) {
                std::array<Corner, 3> r = t;
                std::rotate(r.begin(), std::min_element(r.begin(), r.end()), r.end());
                out.emplace_back(colour, r[0], r[1], r[2]);
            }
        }
    std::sort(out.begin(), out.end());
    return out;
}

/** Compares without printing a hundred thousand triangles: the counts and the first difference. */
void expectSameTriangles(const std::vector<Triangle>& got, const std::vector<Triangle>& want)
{
    EXPECT_EQ(got.size(), want.size());
    const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    if (g != got.end() || w != want.end())
        ADD_FAILURE() << "first difference at triangle " << g - got.begin() << ": got "
                      << (g != got.end() ? testing::PrintToString(*g) : "none") << ", want "
                      << (w != want.end() ? testing::PrintToString(*w) : "none");
}

class XMeshSplitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        device_ = createDevice(video::EDT_NULL);
        ASSERT_NE(device_, nullptr);
        device_->getLogger()->setLogLevel(ELL_NONE);
    }
    void TearDown() override { device_->drop(); }

    scene::IMesh* load(const std::string& file, std::string& why)
    {
        const std::vector<uint8_t> block = fx::modelBlock(2, file);
        return vs::loadModelMesh(device_->getSceneManager(), block.data(), int32_t(block.size()),
                                 "grid.x", false, &why);
    }

    IrrlichtDevice* device_ = nullptr;
};

} // namespace

TEST_F(XMeshSplitTest, LargeMeshesLoadWholeInBuffersOfAtMost65535Vertices)
{
    // 260 x 260 = 67 600 vertices, 134 162 triangles; with two materials the vertices between
    // rows are copied per corner into the second material's buffers.
    for (bool twoMaterials : {false, true}) {
        const std::string text = gridX(260, twoMaterials);
        std::string why;
        scene::IMesh* mesh = load(text, why);
        ASSERT_NE(mesh, nullptr) << why;
        EXPECT_GT(mesh->getMeshBufferCount(), twoMaterials ? 2u : 1u);
        for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
            EXPECT_LE(mesh->getMeshBuffer(b)->getVertexCount(), 65535u);
        const std::vector<Triangle> got = triangles(*mesh, 260);
        EXPECT_EQ(got.size(), size_t(2 * 259 * 259));
        const core::aabbox3df box = mesh->getBoundingBox();
        EXPECT_EQ(box.MinEdge, core::vector3df(0, 0, 0));
        EXPECT_EQ(box.MaxEdge, core::vector3df(2590, 0, 2590));
        expectSameTriangles(got, expectedTriangles(260, twoMaterials));
        scene::IMesh* binary = nullptr;
        if (!twoMaterials) { // the binary encoding takes the same path
            binary = load(vs::xfile::binaryFromText(text), why);
            ASSERT_NE(binary, nullptr) << why;
            expectSameTriangles(triangles(*binary, 260), got);
            binary->drop();
        }
        mesh->drop();
    }
}

TEST_F(XMeshSplitTest, SmallMeshesAndTheirSurroundingsAreCopiedUnchanged)
{
    const std::string small = gridX(20, true);
    std::string why;
    scene::IMesh* mesh = load(small, why);
    ASSERT_NE(mesh, nullptr) << why;
    EXPECT_EQ(mesh->getMeshBufferCount(), 2u);
    mesh->drop();
    const std::string layout = "xof 0303txt 0032\nFrame {\nFrameTransformMatrix {\n1,0,0,0,0,1,0,"
                               "0,0,0,1,0,0,0,0,1;;\n}\nMesh {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;"
                               "\n3;0,1,2;;\n}\n}\n";
    EXPECT_EQ(vs::XMeshSplitter::split(layout), layout);
    EXPECT_EQ(vs::XMeshSplitter::split(""), "");
    EXPECT_EQ(vs::XMeshSplitter::split("xof 0303txt 0032\nMesh {\n3;\n0;0;"), "");
}

namespace {

/** An m x m grid in the checked layout, with everything the split must carry across: three
 *  materials mixed so that vertices are shared by faces of different ones, normals differing
 *  per face at shared vertices (the loader keeps the last), texture coordinates, and vertex
 *  colours for some vertices (one listed twice). (Vertices left without a normal or texture
 *  coordinates get whatever the loader's fresh memory holds, so every one has both here.) */
std::string attributeGrid(int m)
{
    std::ostringstream x;
    const int vertices = m * m;
    const int cells = (m - 1) * (m - 1);
    auto v = [m](int i, int j) { return j * m + i; };
    auto end = [](int k, int n) { return k + 1 < n ? ",\n" : ";\n"; };
    x << "xof 0303txt 0032\nFrame {\nMesh {\n" << vertices << ";\n";
    for (int k = 0; k < vertices; ++k)
        x << (k % m) * 10 << ";" << (k / m) * 3 << ";" << (k / m) * 10 << ";" << end(k, vertices);
    std::vector<std::array<int, 4>> faces;
    for (int j = 0; j + 1 < m; ++j)
        for (int i = 0; i + 1 < m; ++i)
            faces.push_back({v(i, j), v(i, j + 1), v(i + 1, j + 1), v(i + 1, j)});
    x << cells << ";\n";
    for (int k = 0; k < cells; ++k)
        x << "4;" << faces[k][0] << "," << faces[k][1] << "," << faces[k][2] << "," << faces[k][3]
          << ";" << end(k, cells);
    const int normalFaces = cells;
    x << "MeshNormals {\n3;\n1;0;0;,\n0;1;0;,\n0;0;1;;\n" << normalFaces << ";\n";
    for (int k = 0; k < normalFaces; ++k) {
        x << "4;";
        for (int c = 0; c < 4; ++c)
            x << (faces[k][c] + k) % 3 << (c < 3 ? "," : ";");
        x << end(k, normalFaces);
    }
    const int uvs = vertices;
    x << "}\nMeshTextureCoords {\n" << uvs << ";\n";
    for (int k = 0; k < uvs; ++k)
        x << (k % 4) * 0.25 << ";" << (k % 8) * 0.125 << ";" << end(k, uvs);
    std::vector<int> coloured;
    for (int k = 0; k < vertices; k += 7)
        coloured.push_back(k);
    coloured.push_back(7); // listed again: the last colour counts
    x << "}\nMeshVertexColors {\n" << coloured.size() << ";\n";
    for (size_t c = 0; c < coloured.size(); ++c)
        x << coloured[c] << ";" << (c % 2) * 0.5 << ";" << (c % 3) * 0.5 << ";1;1;"
          << (c + 1 < coloured.size() ? ",\n" : ";\n");
    x << "}\nMeshMaterialList {\n3;\n" << cells << ";\n";
    for (int k = 0; k < cells; ++k)
        x << (k % (m - 1) + k / (m - 1)) % 3 << (k + 1 < cells ? ",\n" : ";;\n");
    for (const char* rgb : {"1;0;0", "0;1;0", "0;0;1"})
        x << "Material {\n" << rgb << ";1;;\n0;\n0;0;0;;\n0;0;0;;\n}\n";
    x << "}\n}\n}\n";
    return x.str();
}

/** position, normal, texture coordinates, colour, material: one corner as the engine drew it. */
using FullCorner = std::tuple<float, float, float, float, float, float, float, float, u32, u32>;

std::vector<std::array<FullCorner, 3>> engineTriangles(IrrlichtDevice* device,
                                                       const std::string& text, const char* name,
                                                       u32& largestBuffer)
{
    io::IReadFile* file = device->getFileSystem()->createMemoryReadFile(
        const_cast<char*>(text.data()), s32(text.size()), name, false);
    scene::IAnimatedMesh* mesh = device->getSceneManager()->getMesh(file);
    file->drop();
    std::vector<std::array<FullCorner, 3>> out;
    largestBuffer = 0;
    if (mesh == nullptr) {
        ADD_FAILURE() << name << " did not load";
        return out;
    }
    const scene::IMesh& frame = *mesh->getMesh(0);
    for (u32 b = 0; b < frame.getMeshBufferCount(); ++b) {
        const scene::IMeshBuffer& buffer = *frame.getMeshBuffer(b);
        largestBuffer = std::max(largestBuffer, buffer.getVertexCount());
        const auto* vertices = static_cast<const video::S3DVertex*>(buffer.getVertices());
        for (u32 i = 0; i + 2 < buffer.getIndexCount(); i += 3) {
            std::array<FullCorner, 3> t;
            for (int k = 0; k < 3; ++k) {
                const video::S3DVertex& s = vertices[buffer.getIndices()[i + k]];
                t[k] = {s.Pos.X,       s.Pos.Y,
                        s.Pos.Z,       s.Normal.X,
                        s.Normal.Y,    s.Normal.Z,
                        s.TCoords.X,   s.TCoords.Y,
                        s.Color.color, buffer.getMaterial().DiffuseColor.color};
            }
            std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
            out.push_back(t);
        }
    }
    std::sort(out.begin(), out.end());
    device->getSceneManager()->getMeshCache()->removeMesh(mesh);
    return out;
}

} // namespace

TEST_F(XMeshSplitTest, SplitMeshesKeepEveryCornersNormalTextureColourAndMaterial)
{
    // Split with a low limit and read by the engine's own loader, the grid must draw exactly
    // as the whole grid does.
    const std::string whole = attributeGrid(30);
    const std::string split = vs::XMeshSplitter::split(whole, 200);
    ASSERT_FALSE(split.empty());
    EXPECT_GT(std::count(split.begin(), split.end(), 'M'), 10); // many meshes now
    u32 wholeLargest = 0;
    u32 splitLargest = 0;
    const auto want = engineTriangles(device_, whole, "whole.x", wholeLargest);
    const auto got = engineTriangles(device_, split, "split.x", splitLargest);
    EXPECT_EQ(want.size(), size_t(2 * 29 * 29));
    EXPECT_GT(wholeLargest, 200u);
    EXPECT_LE(splitLargest, 200u);
    ASSERT_EQ(got.size(), want.size());
    const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin());
    if (g != got.end())
        ADD_FAILURE() << "the split grid draws differently from triangle " << g - got.begin()
                      << ": got " << testing::PrintToString(*g) << ", want "
                      << testing::PrintToString(*w);
}
