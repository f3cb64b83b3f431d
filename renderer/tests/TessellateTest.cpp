// Polygon triangulation with holes, and meshes keeping their shared points.
#include "Tessellate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

float area(const std::vector<float>& xy, const std::vector<uint32_t>& tris)
{
    float a = 0;
    for (size_t k = 0; k + 2 < tris.size(); k += 3) {
        const float* p = &xy[2 * tris[k]];
        const float* q = &xy[2 * tris[k + 1]];
        const float* r = &xy[2 * tris[k + 2]];
        a += std::fabs((q[0] - p[0]) * (r[1] - p[1]) - (r[0] - p[0]) * (q[1] - p[1])) / 2;
    }
    return a;
}

TEST(TessellateTest, HolesAreLeftOutOfTheTriangles)
{
    std::vector<float> outer = {0, 0, 4, 0, 4, 4, 0, 4};
    std::vector<float> hole = {1, 1, 1, 3, 3, 3, 3, 1};
    std::vector<uint32_t> tris = ri::triangulate({outer, hole});
    std::vector<float> all = outer;
    all.insert(all.end(), hole.begin(), hole.end());
    EXPECT_NEAR(area(all, tris), 16 - 4, 1e-4);
    // A concave outline (an L) keeps its notch empty.
    std::vector<float> l = {0, 0, 2, 0, 2, 1, 1, 1, 1, 2, 0, 2};
    EXPECT_NEAR(area(l, ri::triangulate({l})), 3, 1e-4);
}

TEST(TessellateTest, MeshesShareTheirPointsUnlessAVariableIsPerFace)
{
    ri::Request q("PointsPolygons");
    ri::Param P;
    P.name = "P";
    P.decl.varClass = ri::VarClass::Vertex;
    P.decl.type = ri::VarType::Point;
    P.floats = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    q.params.push_back(P);
    ri::ObjectMesh shared;
    EXPECT_EQ(ri::tessellatePolygons({1, 1}, {3, 3}, {0, 1, 2, 0, 2, 3}, q, shared), "");
    EXPECT_EQ(shared.P.size(), 4u);
    EXPECT_EQ(shared.triangles.size(), 6u);

    ri::Param Cs;
    Cs.name = "Cs";
    Cs.decl.varClass = ri::VarClass::Uniform;
    Cs.decl.type = ri::VarType::Color;
    Cs.floats = {1, 0, 0, 0, 1, 0};
    q.params.push_back(Cs);
    ri::ObjectMesh perFace;
    EXPECT_EQ(ri::tessellatePolygons({1, 1}, {3, 3}, {0, 1, 2, 0, 2, 3}, q, perFace), "");
    ASSERT_EQ(perFace.P.size(), 6u);
    EXPECT_FLOAT_EQ(perFace.Cs[0].x, 1);
    EXPECT_FLOAT_EQ(perFace.Cs[3].y, 1);

    ri::ObjectMesh bad;
    EXPECT_NE(ri::tessellatePolygons({1}, {3}, {0, 1, 9}, q, bad), "");
}

ri::Request pointsRequest(const std::vector<float>& P)
{
    ri::Request q("PointsPolygons");
    ri::Param p;
    p.name = "P";
    p.decl.varClass = ri::VarClass::Vertex;
    p.decl.type = ri::VarType::Point;
    p.floats = P;
    q.params.push_back(p);
    return q;
}

ri::Vec3 faceNormal(const ri::ObjectMesh& m, size_t k)
{
    const ri::Vec3& a = m.P[m.triangles[3 * k]];
    const ri::Vec3& b = m.P[m.triangles[3 * k + 1]];
    const ri::Vec3& c = m.P[m.triangles[3 * k + 2]];
    return ri::cross(b - a, c - a);
}

TEST(TessellateTest, TrianglesAndQuadsKeepTheirWindingFacingEveryAxis)
{
    // A unit square in the plane of two axes, its normal along the third, either way round;
    // given once as a quad and once as two triangles.
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {1.f, -1.f}) {
            int u = (axis + 1) % 3, v = (axis + 2) % 3;
            std::vector<float> P(12, 0.5f * float(axis + 1));
            const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            for (int k = 0; k < 4; ++k) {
                P[size_t(3 * k + u)] = corners[k][0];
                P[size_t(3 * k + v)] = side > 0 ? corners[k][1] : -corners[k][1];
            }
            // (u, v) counter-clockwise faces +axis; mirrored in v it faces -axis.
            ri::Request q = pointsRequest(P);
            ri::ObjectMesh quad, pair;
            ASSERT_EQ(ri::tessellatePolygons({1}, {4}, {0, 1, 2, 3}, q, quad), "");
            ASSERT_EQ(ri::tessellatePolygons({1, 1}, {3, 3}, {0, 1, 2, 0, 2, 3}, q, pair), "");
            for (const ri::ObjectMesh* m : {&quad, &pair}) {
                ASSERT_EQ(m->triangles.size(), 6u);
                for (size_t k = 0; k < 2; ++k)
                    EXPECT_GT(side * faceNormal(*m, k)[axis], 0)
                        << "axis " << axis << " side " << side << (m == &quad ? " quad" : " pair");
            }
        }
}

} // namespace
