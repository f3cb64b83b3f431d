#include "catalogue/ProfileXml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace profilexml;

namespace {

std::vector<RPoint> xy(const ProfilePolyline& polyline)
{
    std::vector<RPoint> result;
    for (const auto& p : polyline.points)
        result.push_back({p.x, p.y});
    return result;
}

void expectPoints(const ProfilePolyline& polyline, const std::vector<RPoint>& expected)
{
    ASSERT_EQ(polyline.points.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(polyline.points[i].x, expected[i].x, 1e-9) << "point " << i;
        EXPECT_NEAR(polyline.points[i].y, expected[i].y, 1e-9) << "point " << i;
    }
}

// A quarter circle of radius 100 about the origin from (100,0) to (0,100), closed through
// the origin.
std::string quarterCircle(const std::string& originAttributes = "")
{
    return profile({contour(1, false,
                            {point("100,0,0,0,0,100,0,90,0,0,0,0,0", R"(pictureField="P")"),
                             point("0,100"), point("0,0", originAttributes)})});
}

// The square (0,0) (100,0) (100,50) (0,50) with creases of the V pattern 7 (10 wide, 3 deep,
// pointing to the right of its direction) on the bottom edge.
std::string creasedSquare(const std::string& creases, const std::string& pattern7 = "")
{
    std::string pattern = pattern7.empty()
                              ? contour(7, true, {point("0,0"), point("5,-3"), point("10,0")})
                              : pattern7;
    return profile({pattern, contour(1, false,
                                     {point("0,0", R"(color="#AA0000")", creases), point("100,0"),
                                      point("100,50"), point("0,50")})});
}

TEST(ProfileEvaluationTest, ArcEdgeAddsFifteenPointsOnItsCircleThenItsEnd)
{
    auto polylines = read(quarterCircle())->evaluate();
    ASSERT_EQ(polylines.size(), 1u);
    const ProfilePolyline& p = polylines[0];
    ASSERT_EQ(p.points.size(), 19u); // start, 15 on the arc, arc end, origin, back to start
    ASSERT_TRUE(p.material);
    EXPECT_EQ(p.material->pictureField, "P");
    EXPECT_NEAR(p.points[1].x, 99.51847266721969, 1e-9); // 5.625 degrees
    EXPECT_NEAR(p.points[1].y, 9.801714032956060, 1e-9);
    EXPECT_NEAR(p.points[8].x, 70.71067811865476, 1e-9); // 45 degrees
    EXPECT_NEAR(p.points[8].y, 70.71067811865476, 1e-9);
    EXPECT_EQ(p.points[16].x, 0);
    EXPECT_EQ(p.points[16].y, 100);
    // Each of the 16 chords is 200 sin(2.8125 degrees) long.
    const double chord = 9.813534865483603;
    EXPECT_EQ(p.points[0].texturePos, 0);
    EXPECT_NEAR(p.points[1].texturePos, chord, 1e-9);
    EXPECT_NEAR(p.points[16].texturePos, 16 * chord, 1e-9);
    EXPECT_NEAR(p.points[17].texturePos, 16 * chord + 100, 1e-9);
    EXPECT_NEAR(p.points[18].texturePos, 16 * chord + 200, 1e-9);
    EXPECT_NEAR(p.totalLength, 16 * chord + 200, 1e-9);
}

TEST(ProfileEvaluationTest, PointsAreRelativeToThePivot)
{
    auto plain = read(quarterCircle())->evaluate();
    auto pivoted = read(quarterCircle(R"(isPivotPoint="true")"))->evaluate();
    ASSERT_EQ(pivoted.size(), 1u);
    auto moved = read(profile({contour(1, false,
                                       {point("100,0,0,0,0,100,0,90,0,0,0,0,0"),
                                        point("0,100", R"(isPivotPoint="true")"), point("0,0")})}))
                     ->evaluate();
    ASSERT_EQ(moved[0].points.size(), plain[0].points.size());
    for (size_t i = 0; i < plain[0].points.size(); ++i) {
        EXPECT_EQ(pivoted[0].points[i].x, plain[0].points[i].x);
        EXPECT_NEAR(moved[0].points[i].y, plain[0].points[i].y - 100, 1e-9);
        EXPECT_NEAR(moved[0].points[i].texturePos, plain[0].points[i].texturePos, 1e-9);
    }
}

TEST(ProfileEvaluationTest, RepeatedPointsAddNoZeroLengthPiece)
{
    auto polylines = read(profile({contour(1, false,
                                           {point("0,0"), point("100,0"), point("100,0"),
                                            point("100,50"), point("0,50")})}))
                         ->evaluate();
    ASSERT_EQ(polylines.size(), 1u);
    EXPECT_EQ(xy(polylines[0]),
              (std::vector<RPoint>{{0, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}}));
    EXPECT_FALSE(polylines[0].material);
    EXPECT_EQ(polylines[0].totalLength, 300);
}

TEST(ProfileEvaluationTest, EachMaterialStartsAPolylineFromTheFirstMaterialVertex)
{
    auto polylines =
        read(profile({contour(1, false,
                              {point("0,0"), point("100,0", R"(color="#010203")"), point("100,50"),
                               point("0,50", R"(pictureField="wood")")})}))
            ->evaluate();
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_EQ(xy(polylines[0]), (std::vector<RPoint>{{100, 0}, {100, 50}, {0, 50}}));
    EXPECT_EQ(polylines[0].material->colour, 0x030201u);
    EXPECT_EQ(xy(polylines[1]), (std::vector<RPoint>{{0, 50}, {0, 0}, {100, 0}}));
    EXPECT_EQ(polylines[1].material->pictureField, "wood");
    EXPECT_EQ(polylines[1].points[0].texturePos, 0);
    EXPECT_EQ(polylines[1].points[1].texturePos, 50);
    EXPECT_EQ(polylines[1].totalLength, 150);
}

TEST(ProfileEvaluationTest, ContourWithoutMaterialContinuesTheCurrentOne)
{
    auto polylines =
        read(profile({contour(1, false,
                              {point("0,0", R"(color="#000001")"), point("10,0"), point("10,10")}),
                      contour(2, false, {point("20,0"), point("30,0"), point("30,10")})}))
            ->evaluate();
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_EQ(polylines[1].points[0].x, 20);
    ASSERT_TRUE(polylines[1].material);
    EXPECT_EQ(polylines[1].material->colour, 0x010000u);
}

TEST(ProfileEvaluationTest, CreaseCopiesFollowTheEdge)
{
    auto polylines =
        read(creasedSquare(crease(R"(creaseTypeContourId="7" repeatCount="3" pos1="20")")))
            ->evaluate();
    ASSERT_EQ(polylines.size(), 1u);
    expectPoints(polylines[0], {{0, 0},
                                {20, 0},
                                {25, -3},
                                {30, 0},
                                {35, -3},
                                {40, 0},
                                {45, -3},
                                {50, 0},
                                {100, 0},
                                {100, 50},
                                {0, 50},
                                {0, 0}});
    const double flank = std::sqrt(34.0);
    EXPECT_NEAR(polylines[0].points[3].texturePos, 20 + 2 * flank, 1e-9);
    EXPECT_NEAR(polylines[0].totalLength, 270 + 6 * flank, 1e-9);
}

TEST(ProfileEvaluationTest, CreasePlacementFromLenPos2AndScale)
{
    // len 35 fits one copy of the pattern stretched to 20; without positions it is centred.
    auto centred =
        read(creasedSquare(crease(R"(creaseTypeContourId="7" len="35" scale="2,1")")))->evaluate();
    expectPoints(centred[0],
                 {{0, 0}, {40, 0}, {50, -3}, {60, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}});
    // pos2 is where the last copy ends; scale.y deepens the pattern.
    auto ending = read(creasedSquare(crease(
                           R"(creaseTypeContourId="7" repeatCount="2" pos2="90" scale="1,2")")))
                      ->evaluate();
    expectPoints(ending[0], {{0, 0},
                             {70, 0},
                             {75, -6},
                             {80, 0},
                             {85, -6},
                             {90, 0},
                             {100, 0},
                             {100, 50},
                             {0, 50},
                             {0, 0}});
}

TEST(ProfileEvaluationTest, CreaseAcrossIsLeftOfTheEdgeDirection)
{
    // On the right edge, running up, the pattern's negative y points out to +x.
    auto polylines =
        read(profile({contour(7, true, {point("0,0"), point("5,-3"), point("10,0")}),
                      contour(1, false,
                              {point("0,0"),
                               point("100,0", "", crease(R"(creaseTypeContourId="7" repeatCount="1"
                                               pos1="10")")),
                               point("100,50"), point("0,50")})}))
            ->evaluate();
    expectPoints(polylines[0],
                 {{0, 0}, {100, 0}, {100, 10}, {103, 15}, {100, 20}, {100, 50}, {0, 50}, {0, 0}});
}

TEST(ProfileEvaluationTest, CreasePeriodFromCountOrLen)
{
    struct Case
    {
        std::string attributes;
        int copies;
        double period;
    };
    const Case cases[] = {
        {R"(repeatCount="3" scale="2,1")", 3, 30}, {R"(len="35")", 3, 30},
        {R"(len="35" scale="2,1")", 1, 10},        {R"(len="10")", 1, 10},
        {R"(repeatCount="-2" len="-5")", 0, 0},    {R"(len="100" scale="0,1")", 0, 0},
        {R"(len="100" scale="-1,1")", 0, 0},
    };
    for (const Case& c : cases) {
        auto p = read(creasedSquare(crease("creaseTypeContourId=\"7\" " + c.attributes)));
        const CCreases& crease = *p->contours[1]->vertices[0]->creases[0];
        EXPECT_EQ(crease.copies, c.copies) << c.attributes;
        EXPECT_EQ(crease.periodLength, c.period) << c.attributes;
    }
    // A crease without its pattern leaves the edge plain.
    auto p = read(creasedSquare(crease(R"(creaseTypeContourId="5" repeatCount="3")")));
    EXPECT_EQ(p->evaluate()[0].points.size(), 5u);
}

TEST(ProfileEvaluationTest, CreaseOwnMaterialsCoverTheCreasesAndWhatFollows)
{
    auto polylines = read(creasedSquare(crease(R"(creaseTypeContourId="7" repeatCount="3" pos1="20"
                                     useOwnMaterial="true" color1="#00CC00" color2="#0000DD")")))
                         ->evaluate();
    ASSERT_EQ(polylines.size(), 4u);
    EXPECT_EQ(xy(polylines[0]), (std::vector<RPoint>{{0, 0}, {20, 0}}));
    EXPECT_EQ(polylines[0].material->colour, 0x0000AAu);
    EXPECT_EQ(polylines[1].points.size(), 7u);
    EXPECT_EQ(polylines[1].material->colour, 0x00CC00u);
    EXPECT_EQ(xy(polylines[2]), (std::vector<RPoint>{{50, 0}, {100, 0}}));
    EXPECT_EQ(polylines[2].material->colour, 0xDD0000u);
    EXPECT_EQ(polylines[3].points.front().x, 100); // the next edge is back in the edge's material
    EXPECT_EQ(polylines[3].material->colour, 0x0000AAu);

    // Without useOwnMaterial the materials of the crease are not used.
    auto plain = read(creasedSquare(crease(R"(creaseTypeContourId="7" repeatCount="3"
                                              pos1="20" color1="#00CC00")")))
                     ->evaluate();
    EXPECT_EQ(plain.size(), 1u);
}

TEST(ProfileEvaluationTest, PatternVertexMaterialsApplyWithOwnMaterial)
{
    std::string pattern =
        contour(7, true, {point("0,0"), point("5,-3", R"(color="#000001")"), point("10,0")});
    auto polylines = read(creasedSquare(crease(R"(creaseTypeContourId="7" repeatCount="1"
                                                  pos1="20" useOwnMaterial="true")"),
                                        pattern))
                         ->evaluate();
    ASSERT_EQ(polylines.size(), 3u);
    EXPECT_EQ(xy(polylines[0]), (std::vector<RPoint>{{0, 0}, {20, 0}, {25, -3}}));
    EXPECT_EQ(xy(polylines[1]), (std::vector<RPoint>{{25, -3}, {30, 0}}));
    EXPECT_EQ(polylines[1].material->colour, 0x010000u);
    EXPECT_EQ(polylines[2].material->colour, 0x0000AAu);
}

TEST(ProfileEvaluationTest, CreasesOnArcEdgesAreNotDrawn)
{
    auto polylines =
        read(profile({contour(7, true, {point("0,0"), point("5,-3"), point("10,0")}),
                      contour(1, false,
                              {point("100,0,0,0,0,100,0,90,0,0,0,0,0", "",
                                     crease(R"(creaseTypeContourId="7" repeatCount="2")")),
                               point("0,100"), point("0,0")})}))
            ->evaluate();
    EXPECT_EQ(polylines[0].points.size(), 19u);
}

TEST(ProfileEvaluationTest, EvaluationStaysWithinThePointCount)
{
    auto p = read(creasedSquare(
        crease(R"(creaseTypeContourId="7" repeatCount="10000" pos1="0" scale="0.01,1")")));
    size_t points = 0;
    for (const auto& polyline : p->evaluate())
        points += polyline.points.size();
    EXPECT_EQ(points, 4 + 2 * 10000 + 1u);
    EXPECT_LE(points, p->pointCount());
}

} // namespace
