#include "CeilingSceneFixtures.h"
#include "SceneTestDevice.h"

#include "ceiling/CeilingLoad.h"
#include "scene/CGridMappingSceneNode.h"
#include "scene/GridMappingScene.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace irr;
using namespace ceilingscene;

namespace {

class GridNodeTest : public ::testing::Test
{
protected:
    CGridMappingSceneNode* build(CGridMapping& plane)
    {
        finishTree(plane);
        auto* node = new CGridMappingSceneNode(&plane, nullptr, engine.smgr());
        node->initialise();
        node->drop();
        return node;
    }

    SceneTestDevice engine;
};

double area(const scene::IMesh& mesh)
{
    double sum = 0;
    for (u32 b = 0; b < mesh.getMeshBufferCount(); ++b)
        for (u32 t = 0; t < mesh.getMeshBuffer(b)->getIndexCount() / 3; ++t)
            sum += triangleNormal(mesh, b, t).getLength() / 2;
    return sum;
}

} // namespace

// The picture covers alignedBoundRRect: 6000 x 4000 with 3000 cells aligns to 6000 x 6000.
TEST_F(GridNodeTest, VerticesLieOnThePlaneWithThePictureOnTheGrid)
{
    auto document = makeDocument(6000, 4000);
    CGridMappingSceneNode* node = build(rootOf(*document));
    EXPECT_EQ(vs::planeNode(rootOf(*document)), node);
    const MeshSnapshot drawn = snapshot(*node->drawMesh());
    ASSERT_FALSE(drawn.vertices.empty());
    for (const video::S3DVertex& v : drawn.vertices) {
        EXPECT_EQ(v.Pos.Y, 0);
        EXPECT_EQ(v.Normal, core::vector3df(0, -1, 0));
        EXPECT_EQ(v.Color, video::SColor(255, 255, 255, 255));
        EXPECT_NEAR(v.TCoords.X, v.Pos.X / 6000, 1e-6);
        EXPECT_NEAR(v.TCoords.Y, v.Pos.Z / 6000, 1e-6);
    }
    EXPECT_NEAR(area(*node->drawMesh()), 6000.0 * 4000.0, 1);
    EXPECT_NEAR(area(*node->faceMesh()), 6000.0 * 4000.0, 1);
}

TEST_F(GridNodeTest, FirstListFacesDownReversedListFacesUpOverTheSameVertices)
{
    auto document = makeDocument(5000, 3000);
    CGridMappingSceneNode* node = build(rootOf(*document));
    scene::SMesh& mesh = *node->drawMesh();
    for (u32 b = 0; b < mesh.getMeshBufferCount(); ++b) {
        const scene::IMeshBuffer* buffer = mesh.getMeshBuffer(b);
        const std::vector<u16>& up = node->reversedIndices(b);
        ASSERT_EQ(up.size(), buffer->getIndexCount());
        const auto* v = static_cast<const video::S3DVertex*>(buffer->getVertices());
        for (u32 t = 0; t < up.size() / 3; ++t) {
            EXPECT_LT(triangleNormal(mesh, b, t).Y, 0);
            const core::vector3df n = (v[up[3 * t + 1]].Pos - v[up[3 * t]].Pos)
                                          .crossProduct(v[up[3 * t + 2]].Pos - v[up[3 * t]].Pos);
            EXPECT_GT(n.Y, 0);
        }
    }
}

// The drawn mesh is cut into 2000-unit squares from the bounds' corner; the face mesh is not.
TEST_F(GridNodeTest, DrawnMeshIsCutIntoSquaresFaceMeshIsWhole)
{
    auto document = makeDocument(5000, 3000);
    CGridMappingSceneNode* node = build(rootOf(*document));
    bool cutAt2000 = false;
    for (const video::S3DVertex& v : snapshot(*node->drawMesh()).vertices)
        cutAt2000 = cutAt2000 || v.Pos.X == 2000;
    EXPECT_TRUE(cutAt2000);
    for (const video::S3DVertex& v : snapshot(*node->faceMesh()).vertices)
        EXPECT_TRUE(v.Pos.X == 0 || v.Pos.X == 5000) << v.Pos.X;
}

// A ceiling large enough for more than 65535 vertices is spread over several buffers whose
// 16-bit indices stay below their own vertex counts.
TEST_F(GridNodeTest, LargePlaneNeverWrapsSixteenBitIndices)
{
    auto document = makeDocument(300000, 250000, 6000);
    CGridMappingSceneNode* node = build(rootOf(*document));
    scene::SMesh& mesh = *node->drawMesh();
    ASSERT_GE(mesh.getMeshBufferCount(), 2u);
    for (u32 b = 0; b < mesh.getMeshBufferCount(); ++b) {
        const scene::IMeshBuffer* buffer = mesh.getMeshBuffer(b);
        ASSERT_LE(buffer->getVertexCount(), 65535u);
        for (u32 i = 0; i < buffer->getIndexCount(); ++i)
            ASSERT_LT(buffer->getIndices()[i], buffer->getVertexCount());
        for (u16 i : node->reversedIndices(b))
            ASSERT_LT(i, buffer->getVertexCount());
    }
    EXPECT_NEAR(area(mesh), 300000.0 * 250000.0, 1e4);
}

TEST_F(GridNodeTest, PlaneCoveredByItsChildDrawsNothingButKeepsItsPickingSquare)
{
    auto document = makeDocument(6000, 6000);
    addChild(rootOf(*document), -100, -100, 6100, 6100, 500);
    CGridMappingSceneNode* node = build(rootOf(*document));
    EXPECT_TRUE(snapshot(*node->drawMesh()).indices.empty());
    EXPECT_TRUE(snapshot(*node->faceMesh()).indices.empty());
    const MeshSnapshot picking = snapshot(*node->pickingMesh());
    ASSERT_EQ(picking.vertices.size(), 4u);
    ASSERT_EQ(picking.indices.size(), 6u);
    for (const video::S3DVertex& v : picking.vertices) {
        EXPECT_EQ(std::fabs(v.Pos.X), 100000);
        EXPECT_EQ(v.Pos.Y, 0);
        EXPECT_EQ(v.Color, video::SColor(128, 255, 255, 255));
    }
    EXPECT_LT(triangleNormal(*node->pickingMesh(), 0, 0).Y, 0);
    EXPECT_LT(triangleNormal(*node->pickingMesh(), 0, 1).Y, 0);
}

TEST_F(GridNodeTest, MirrorReflectsPlanYAndExchangesListsTwiceRestores)
{
    auto document = makeDocument(6000, 4000);
    CGridMappingSceneNode* node = build(rootOf(*document));
    const MeshSnapshot drawn = snapshot(*node->drawMesh());
    const std::vector<u16> up = node->reversedIndices(0);
    const MeshSnapshot face = snapshot(*node->faceMesh());

    node->mirror(4000);
    const MeshSnapshot mirrored = snapshot(*node->drawMesh());
    ASSERT_EQ(mirrored.vertices.size(), drawn.vertices.size());
    for (size_t i = 0; i < drawn.vertices.size(); ++i) {
        EXPECT_EQ(mirrored.vertices[i].Pos.X, drawn.vertices[i].Pos.X);
        EXPECT_EQ(mirrored.vertices[i].Pos.Z, 4000 - drawn.vertices[i].Pos.Z);
    }
    EXPECT_EQ(mirrored.indices, up);
    EXPECT_EQ(node->reversedIndices(0), drawn.indices);
    // The mirrored face mesh still faces down, so picking from below keeps working.
    for (u32 t = 0; t < node->faceMesh()->getMeshBuffer(0)->getIndexCount() / 3; ++t)
        EXPECT_LT(triangleNormal(*node->faceMesh(), 0, t).Y, 0);

    node->mirror(4000);
    EXPECT_EQ(snapshot(*node->drawMesh()), drawn);
    EXPECT_EQ(node->reversedIndices(0), up);
    EXPECT_EQ(snapshot(*node->faceMesh()), face);
}

TEST_F(GridNodeTest, PlacedAtItsHoistWithThePictureAsTexture)
{
    auto document = makeDocument(6000, 4000);
    rootOf(*document).hoist = 750;
    CGridMappingSceneNode* node = build(rootOf(*document));
    EXPECT_EQ(node->getRelativeTransformation().getTranslation(), core::vector3df(0, 750, 0));
    EXPECT_FALSE(rootOf(*document).picture.isNull());
    ASSERT_NE(node->texture(), nullptr);
    EXPECT_EQ(node->getMaterial(0).getTexture(0), node->texture());
}

// A turned grid keeps the picture on the grid: the texture coordinates follow the grid-relative
// position turned by -rotateDegree.
TEST_F(GridNodeTest, RotatedGridTurnsTheTextureCoordinates)
{
    auto document = makeDocument(6000, 6000);
    CGridMapping& root = rootOf(*document);
    root.hoist = 1; // rotateDegree is read only with a hoist; set here directly
    root.rotateDegree = 90;
    root.realGridOffset = {0, 0};
    vs::finishOutlines(root);
    CGridMappingSceneNode* node = build(root);
    const RRect& a = root.alignedBoundRRect;
    for (const video::S3DVertex& v : snapshot(*node->faceMesh()).vertices) {
        // Turning (x, y) by -90 degrees gives (y, -x).
        EXPECT_NEAR(v.TCoords.X, (v.Pos.Z - a.left) / (a.right - a.left), 1e-5);
        EXPECT_NEAR(v.TCoords.Y, (-v.Pos.X - a.top) / (a.bottom - a.top), 1e-5);
    }
}
