#include "scene/MeshBuffers.h"
#include "scene/PolygonTiling.h"

#include <gtest/gtest.h>

#include <set>

#include <stdexcept>

using namespace irr;

namespace {

/** A row of n separate quads (4 vertices, 2 triangles each). */
void quads(int n, std::vector<video::S3DVertex>& v, std::vector<uint32_t>& idx)
{
    for (int q = 0; q < n; ++q) {
        const auto base = static_cast<uint32_t>(v.size());
        const f32 x = static_cast<f32>(q);
        for (auto p : {core::vector3df(x, 0, 0), core::vector3df(x + 1, 0, 0),
                       core::vector3df(x + 1, 0, 1), core::vector3df(x, 0, 1)})
            v.emplace_back(p, core::vector3df(0, -1, 0), video::SColor(0xFFFFFFFF),
                           core::vector2df(0, 0));
        for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u})
            idx.push_back(base + i);
    }
}

} // namespace

TEST(MeshBuffersTest, LargeSurfaceSplitsWithoutWrappingIndices)
{
    std::vector<video::S3DVertex> v;
    std::vector<uint32_t> idx;
    quads(40000, v, idx); // 160 000 vertices
    scene::SMesh* mesh = vs::makeMesh(v, idx);
    ASSERT_GE(mesh->getMeshBufferCount(), 3u);
    u32 triangles = 0;
    for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b) {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
        EXPECT_LE(buffer->getVertexCount(), vs::kMaxBufferVertices);
        for (u32 i = 0; i < buffer->getIndexCount(); ++i)
            ASSERT_LT(buffer->getIndices()[i], buffer->getVertexCount());
        triangles += buffer->getIndexCount() / 3;
    }
    EXPECT_EQ(triangles, 80000u);
    // The last triangle keeps its corners in order.
    scene::IMeshBuffer* last = mesh->getMeshBuffer(mesh->getMeshBufferCount() - 1);
    const auto* lv = static_cast<const video::S3DVertex*>(last->getVertices());
    const u16* li = last->getIndices();
    const u32 n = last->getIndexCount();
    EXPECT_EQ(lv[li[n - 3]].Pos, v[idx[idx.size() - 3]].Pos);
    EXPECT_EQ(lv[li[n - 1]].Pos, v[idx.back()].Pos);
    EXPECT_FLOAT_EQ(mesh->getBoundingBox().MaxEdge.X, 40000);
    mesh->drop();
}

TEST(MeshBuffersTest, SharedVerticesStaySharedAndBadIndicesThrow)
{
    std::vector<video::S3DVertex> v;
    std::vector<uint32_t> idx;
    quads(1, v, idx);
    idx.push_back(0); // a trailing incomplete triangle is ignored
    scene::SMesh* mesh = vs::makeMesh(v, idx);
    ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
    EXPECT_EQ(mesh->getMeshBuffer(0)->getVertexCount(), 4u);
    EXPECT_EQ(mesh->getMeshBuffer(0)->getIndexCount(), 6u);
    mesh->drop();

    idx = {0, 1, 4};
    EXPECT_THROW(vs::makeMesh(v, idx), std::invalid_argument);
    scene::SMesh* empty = vs::makeMesh(v, {});
    EXPECT_EQ(empty->getMeshBufferCount(), 0u);
    empty->drop();
}

TEST(PolygonTilingTest, CellsCarryTheirOwnTextureSquareAndFaceDown)
{
    vs::TileGrid grid{{0, 0}, 300, 300};
    vs::TiledSurface s = vs::tilePolygon(PlanPolygon::fromRect(0, 0, 1000, 1000), {}, grid);
    double area = 0;
    for (size_t i = 0; i + 2 < s.indices.size(); i += 3) {
        core::triangle3df t(s.vertices[s.indices[i]].Pos, s.vertices[s.indices[i + 1]].Pos,
                            s.vertices[s.indices[i + 2]].Pos);
        EXPECT_LT(t.getNormal().Y, 0) << "triangle " << i / 3;
        area += t.getNormal().getLength() / 2;
    }
    EXPECT_NEAR(area, 1e6, 1);
    for (const video::S3DVertex& v : s.vertices) {
        EXPECT_EQ(v.Normal, core::vector3df(0, -1, 0));
        EXPECT_GE(v.TCoords.X, -1e-5f);
        EXPECT_LE(v.TCoords.X, 1 + 1e-5f);
        EXPECT_LE(v.TCoords.Y, 1 + 1e-5f);
    }
    // The cut cell at the right edge: x 900..1000 maps to u 0..1/3.
    bool edgeSeen = false;
    for (const video::S3DVertex& v : s.vertices)
        if (v.Pos.X == 1000) {
            edgeSeen = true;
            EXPECT_NEAR(v.TCoords.X, 100.0 / 300, 1e-5);
        }
    EXPECT_TRUE(edgeSeen);
}

TEST(PolygonTilingTest, HolesStayOpenAndAbsurdTilesStayBounded)
{
    PlanPolygon ring = PlanPolygon::fromRect(0, 0, 1000, 1000);
    PlanContour hole;
    hole.points = {{250, 250}, {250, 750}, {750, 750}, {750, 250}};
    hole.hole = true;
    ring.contours.push_back(hole);
    vs::TiledSurface s = vs::tilePolygon(ring, {}, {{0, 0}, 100, 100});
    for (size_t i = 0; i + 2 < s.indices.size(); i += 3) {
        const core::vector3df c = (s.vertices[s.indices[i]].Pos + s.vertices[s.indices[i + 1]].Pos +
                                   s.vertices[s.indices[i + 2]].Pos) /
                                  3;
        EXPECT_FALSE(c.X > 250 && c.X < 750 && c.Z > 250 && c.Z < 750);
    }

    // One-unit tiles over a kilometre: cells are grouped, the texture repeats inside them.
    vs::TiledSurface big =
        vs::tilePolygon(PlanPolygon::fromRect(0, 0, 1e7, 1e7), {}, {{0, 0}, 1, 1});
    EXPECT_LE(big.vertices.size(), 4 * vs::kMaxTilingCells + 4096);
    EXPECT_FALSE(big.empty());

    // A wall band 100 km long and three 300 mm tiles high keeps its three rows: only its length
    // is grouped, and it stays within the cap.
    vs::TiledSurface band =
        vs::tilePolygon(PlanPolygon::fromRect(0, 0, 1e9, 9000), {}, {{0, 0}, 3000, 3000});
    EXPECT_LE(band.indices.size() / 3, 2 * vs::kMaxTilingCells + 4096);
    std::set<float> rowEdges;
    for (const video::S3DVertex& v : band.vertices)
        rowEdges.insert(v.Pos.Z);
    EXPECT_EQ(rowEdges, (std::set<float>{0, 3000, 6000, 9000}));

    EXPECT_TRUE(vs::tilePolygon(PlanPolygon(), {}, {}).empty());
    PlanPolygon bad = PlanPolygon::fromRect(0, 0, NAN, 10);
    EXPECT_NO_THROW(vs::tilePolygon(bad, {}, {{0, 0}, NAN, -5}));
}
