#include "CeilingSceneFixtures.h"
#include "SceneTestDevice.h"

#include "document/CSectionLine.h"
#include "scene/CeilingScene.h"
#include "scene/GridMappingScene.h"
#include "scene/SectionBarScene.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace irr;
using namespace ceilingscene;

namespace {

constexpr double kPi = 3.14159265358979323846;

class SectionBarSceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        document = makeDocument(12000, 12000);
        finishTree(rootOf(*document));
        room = engine.smgr()->addEmptySceneNode();
        vs::buildCeilingScene(*document, room);
    }

    CSectionLine& addLine(CCandyType& type, RPoint pt1, RPoint pt2, double left = kPi / 2,
                          double right = kPi / 2)
    {
        auto line = std::make_unique<CSectionLine>();
        line->pt1 = pt1;
        line->pt2 = pt2;
        line->leftAngle = left;
        line->rightAngle = right;
        line->candyType = &type;
        line->owner = &rootOf(*document);
        rootOf(*document).trusteeSectionLines.push_back(std::move(line));
        return *rootOf(*document).trusteeSectionLines.back();
    }

    static MeshSnapshot quad(scene::ISceneNode* node)
    {
        return snapshot(*static_cast<scene::IMeshSceneNode*>(node)->getMesh());
    }

    SceneTestDevice engine;
    std::unique_ptr<CSolidDocument> document;
    scene::ISceneNode* room = nullptr;
};

} // namespace

TEST_F(SectionBarSceneTest, SquareProfileGivesFourQuadsUnderTheOwnersGridNode)
{
    auto type = makeBarType(30, squareProfile(100));
    CSectionLine& line = addLine(*type, {1000, 2000}, {5000, 2000});
    EXPECT_EQ(vs::buildSectionBar(line, nullptr, engine.smgr()), 4u);
    ASSERT_EQ(vs::sectionMeshNodes(line).size(), 4u);
    ASSERT_NE(vs::sectionNode(line), nullptr);
    EXPECT_EQ(vs::sectionNode(line)->getParent(), vs::planeNode(rootOf(*document)));
    for (scene::ISceneNode* node : vs::sectionMeshNodes(line)) {
        EXPECT_EQ(node->getParent(), vs::sectionNode(line));
        EXPECT_FALSE(node->getMaterial(0).Lighting);
        EXPECT_TRUE(node->getMaterial(0).NormalizeNormals);
    }
}

// Square ends: the quad runs from 0 to the bar's length at every profile point.
TEST_F(SectionBarSceneTest, SquareEndsGiveNoMitre)
{
    auto type = makeBarType(30, squareProfile(100));
    CSectionLine& line = addLine(*type, {0, 0}, {4000, 0});
    vs::buildSectionBar(line, nullptr, engine.smgr());
    for (scene::ISceneNode* node : vs::sectionMeshNodes(line)) {
        const MeshSnapshot q = quad(node);
        EXPECT_NEAR(q.vertices[0].Pos.X, 0, 1e-3);
        EXPECT_NEAR(q.vertices[3].Pos.X, 0, 1e-3);
        EXPECT_NEAR(q.vertices[1].Pos.X, 4000, 1e-3);
        EXPECT_NEAR(q.vertices[2].Pos.X, 4000, 1e-3);
    }
}

// A 45-degree left mitre pulls each corner in by x / tan(pi / 4) = x; the segment from
// (100, 0) to (100, 100) has both ends at profile x 100.
TEST_F(SectionBarSceneTest, MitredStartShiftsEachCornerByItsProfileOffset)
{
    auto type = makeBarType(30, squareProfile(100));
    CSectionLine& line = addLine(*type, {0, 0}, {4000, 0}, kPi / 4, kPi / 2);
    vs::buildSectionBar(line, nullptr, engine.smgr());
    ASSERT_EQ(vs::sectionMeshNodes(line).size(), 4u);
    const MeshSnapshot second = quad(vs::sectionMeshNodes(line)[1]);
    EXPECT_NEAR(second.vertices[0].Pos.X, 100, 1e-3);
    EXPECT_NEAR(second.vertices[3].Pos.X, 100, 1e-3);
    EXPECT_NEAR(second.vertices[1].Pos.X, 4000, 1e-3);
    // The quad's width is the segment's length.
    EXPECT_NEAR(second.vertices[2].Pos.Z, 100, 1e-3);
}

// Each quad node is turned and moved so that it covers its profile segment: the segment from
// (100, 0) to (100, 100) runs straight up at profile x 100.
TEST_F(SectionBarSceneTest, QuadNodesCoverTheirProfileSegments)
{
    auto type = makeBarType(30, squareProfile(100));
    CSectionLine& line = addLine(*type, {0, 0}, {4000, 0});
    vs::buildSectionBar(line, nullptr, engine.smgr());
    scene::ISceneNode* node = vs::sectionMeshNodes(line)[1];
    const core::matrix4 m = node->getRelativeTransformation();
    core::vector3df start(0, 0, 0);
    core::vector3df end(0, 0, 100);
    m.transformVect(start);
    m.transformVect(end);
    EXPECT_TRUE(start.equals({0, 0, 100}, 1e-3f));
    EXPECT_TRUE(end.equals({0, 100, 100}, 1e-3f));
}

TEST_F(SectionBarSceneTest, BarFollowsItsLineInThePlan)
{
    auto type = makeBarType(30, squareProfile(100));
    CSectionLine& line = addLine(*type, {1000, 2000}, {1000, 6000}); // pointing down the plan
    vs::buildSectionBar(line, nullptr, engine.smgr());
    const core::matrix4 m = vs::sectionNode(line)->getRelativeTransformation();
    core::vector3df start(0, 0, 0);
    core::vector3df end(4000, 0, 0);
    m.transformVect(start);
    m.transformVect(end);
    EXPECT_TRUE(start.equals({1000, 0, 2000}, 1e-2f));
    EXPECT_TRUE(end.equals({1000, 0, 6000}, 1e-2f));
}

TEST_F(SectionBarSceneTest, RepeatedProfilePointsMakeNoZeroLengthQuad)
{
    const std::string profile =
        "<profile><contours><contour id=\"1\"><points>"
        "<point value=\"0,0\" isPivotPoint=\"true\" color=\"255\"/><point value=\"100,0\"/>"
        "<point value=\"100,0\"/><point value=\"100,100\"/><point value=\"0,100\"/>"
        "</points></contour></contours></profile>";
    auto type = makeBarType(30, profile);
    CSectionLine& line = addLine(*type, {0, 0}, {4000, 0});
    EXPECT_EQ(vs::buildSectionBar(line, nullptr, engine.smgr()), 4u);
    for (scene::ISceneNode* node : vs::sectionMeshNodes(line))
        EXPECT_GT(quad(node).vertices[2].Pos.Z, 0);
}

TEST_F(SectionBarSceneTest, PlainColourGoesIntoTheVertices)
{
    auto type = makeBarType(30, squareProfile(100, "#FF2030"));
    CSectionLine& line = addLine(*type, {0, 0}, {4000, 0});
    vs::buildSectionBar(line, nullptr, engine.smgr());
    for (const video::S3DVertex& v : quad(vs::sectionMeshNodes(line)[0]).vertices) {
        EXPECT_EQ(v.Color, video::SColor(255, 0xff, 0x20, 0x30));
        EXPECT_EQ(v.Normal, core::vector3df(0, -1, 0));
    }
    EXPECT_EQ(vs::sectionMeshNodes(line)[0]->getMaterial(0).getTexture(0), nullptr);
}

// The picture's height wraps once around the profile (v = t / P) and its width keeps the
// aspect along the bar (u = H * along / (P * W)).
TEST_F(SectionBarSceneTest, PictureMaterialMapsTheTextureAroundTheProfile)
{
    auto type = makeBarType(30, squareProfile(100, "", "texture2"));
    // Pictures come from the host; a type without callbacks has none, so the quads are
    // textured with no texture but keep the mapping of a square picture.
    CSectionLine& line = addLine(*type, {0, 0}, {4000, 0});
    vs::buildSectionBar(line, nullptr, engine.smgr());
    const MeshSnapshot first = quad(vs::sectionMeshNodes(line)[0]);
    EXPECT_EQ(first.vertices[0].Normal, core::vector3df(0, 0, 1));
    EXPECT_NEAR(first.vertices[0].TCoords.Y, 0, 1e-6);
    EXPECT_NEAR(first.vertices[2].TCoords.Y, 100.0 / 400.0, 1e-6);
    EXPECT_NEAR(first.vertices[1].TCoords.X, 4000.0 / 400.0, 1e-4);
}

TEST_F(SectionBarSceneTest, LinesWithoutProfileOrLengthGetNoBar)
{
    auto plain = makeType(11, 6000, 6000);
    CSectionLine& untyped = addLine(*plain, {0, 0}, {4000, 0});
    EXPECT_EQ(vs::buildSectionBar(untyped, nullptr, engine.smgr()), 0u);
    EXPECT_EQ(vs::sectionNode(untyped), nullptr);
    auto type = makeBarType(30, squareProfile(100));
    CSectionLine& point = addLine(*type, {500, 500}, {500, 500});
    EXPECT_EQ(vs::buildSectionBar(point, nullptr, engine.smgr()), 0u);
    // An angle of 0 (absent from the design) is taken as a square end, not an endless mitre.
    CSectionLine& absent = addLine(*type, {0, 0}, {4000, 0}, 0, 0);
    vs::buildSectionBar(absent, nullptr, engine.smgr());
    for (const video::S3DVertex& v : quad(vs::sectionMeshNodes(absent)[1]).vertices)
        EXPECT_TRUE(std::isfinite(v.Pos.X) && std::fabs(v.Pos.X) <= 4000);
}

TEST_F(SectionBarSceneTest, MirroringTwiceRestoresTheBar)
{
    auto type = makeBarType(30, squareProfile(100));
    CSectionLine& line = addLine(*type, {1000, 2000}, {5000, 3000});
    vs::buildSectionBar(line, nullptr, engine.smgr());
    const core::matrix4 placement = vs::sectionNode(line)->getRelativeTransformation();
    const MeshSnapshot first = quad(vs::sectionMeshNodes(line)[0]);
    vs::mirrorSectionBar(line, 12000);
    core::vector3df start;
    vs::sectionNode(line)->getRelativeTransformation().transformVect(start);
    EXPECT_TRUE(start.equals({1000, 0, 10000}, 1e-2f));
    EXPECT_NE(quad(vs::sectionMeshNodes(line)[0]).indices, first.indices);
    vs::mirrorSectionBar(line, 12000);
    EXPECT_TRUE(vs::sectionNode(line)->getRelativeTransformation().equals(placement, 1e-3f));
    EXPECT_EQ(quad(vs::sectionMeshNodes(line)[0]), first);
}

TEST_F(SectionBarSceneTest, TrusteeLinesAreBuiltWithTheCeilingAndReleasedWithIt)
{
    auto type = makeBarType(30, squareProfile(100));
    addLine(*type, {0, 0}, {4000, 0});
    vs::buildCeilingScene(*document, room);
    CSectionLine& line = *rootOf(*document).trusteeSectionLines[0];
    EXPECT_EQ(vs::sectionMeshNodes(line).size(), 4u);
    vs::releaseCeilingScene(*document);
    EXPECT_TRUE(vs::sectionMeshNodes(line).empty());
    EXPECT_EQ(vs::sectionNode(line), nullptr);
}

TEST_F(SectionBarSceneTest, TypeWithAnUnreadableProfileKeepsItsLineAndDrawsNothing)
{
    testing::internal::CaptureStderr();
    auto type = makeBarType(31, "<profile><contours><contour><points><point value='x'/>"
                                "</points></contour></contours></profile>");
    testing::internal::GetCapturedStderr();
    CSectionLine& line = addLine(*type, {1000, 2000}, {5000, 2000}, kPi / 4, kPi / 3);
    EXPECT_EQ(vs::buildSectionBar(line, nullptr, engine.smgr()), 0u);
    EXPECT_TRUE(vs::sectionMeshNodes(line).empty());
    EXPECT_EQ(line.candyType, type.get()); // the line still names its type
    vs::invertCeiling(*document);
    vs::invertCeiling(*document);
    vs::removeSectionBar(line);
    EXPECT_EQ(vs::sectionNode(line), nullptr);
}
