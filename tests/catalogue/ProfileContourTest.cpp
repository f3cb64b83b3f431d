#include "catalogue/ProfileXml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace profilexml;

namespace {

std::vector<RPoint> positions(const CContour& contour)
{
    std::vector<RPoint> result;
    for (const auto& v : contour.vertices)
        result.push_back(v->position());
    return result;
}

std::string starPoints(bool clockwise)
{
    // A three-pointed star: three left turns and three right turns whichever way it runs.
    std::string text;
    std::vector<std::string> items;
    for (int i = 0; i < 6; ++i) {
        double angle = (clockwise ? -i : i) * 3.14159265358979323846 / 3;
        double r = i % 2 ? 3 : 10;
        items.push_back(
            point(std::to_string(r * std::cos(angle)) + "," + std::to_string(r * std::sin(angle))));
    }
    for (const std::string& item : items)
        text += item;
    return "<profile><contours><contour id='1'><points>" + text +
           "</points></contour></contours></profile>";
}

TEST(ProfileContourTest, ClockwiseContoursAreTurnedRoundCounterClockwiseOnesKept)
{
    auto ccw = read(profile(
        {contour(1, false, {point("0,0"), point("100,0"), point("100,50"), point("0,50")})}));
    auto cw = read(profile(
        {contour(1, false, {point("0,0"), point("0,50"), point("100,50"), point("100,0")})}));
    EXPECT_EQ(positions(*ccw->contours[0]),
              (std::vector<RPoint>{{0, 0}, {100, 0}, {100, 50}, {0, 50}}));
    EXPECT_EQ(positions(*cw->contours[0]),
              (std::vector<RPoint>{{100, 0}, {100, 50}, {0, 50}, {0, 0}}));
    EXPECT_TRUE(cw->contours[0]->isCounterClockwise());
}

TEST(ProfileContourTest, OrientationFollowsTheAreaNotTheCountOfTurns)
{
    // Counting turn signs gives 0 for the star either way round and would keep the clockwise
    // one clockwise.
    auto cw = read(starPoints(true));
    auto ccw = read(starPoints(false));
    EXPECT_TRUE(cw->contours[0]->isCounterClockwise());
    // Turned round, the clockwise star starts at its last inner corner, (1.5, 2.598).
    EXPECT_NEAR(cw->contours[0]->vertices[0]->position().x, 1.5, 1e-5);
    EXPECT_NEAR(cw->contours[0]->vertices[0]->position().y, 2.598076, 1e-5);
    EXPECT_NEAR(ccw->contours[0]->vertices[0]->position().x, 10, 1e-5);
    EXPECT_NEAR(ccw->contours[0]->vertices[1]->position().y, 2.598076, 1e-5);
}

TEST(ProfileContourTest, CreasePatternsAndShortContoursKeepTheirOrder)
{
    auto p = read(profile({contour(7, true, {point("0,0"), point("5,5"), point("10,0")}),
                           contour(1, false, {point("10,0"), point("0,0")})}));
    EXPECT_EQ(positions(*p->contours[0]), (std::vector<RPoint>{{0, 0}, {5, 5}, {10, 0}}));
    EXPECT_EQ(positions(*p->contours[1]), (std::vector<RPoint>{{10, 0}, {0, 0}}));
}

TEST(ProfileContourTest, TurningRoundMovesArcsToTheOtherEndOfTheirEdge)
{
    // Clockwise: the right edge (100,50) -> (100,0) is a self arc around (100,25).
    auto p = read(profile(
        {contour(1, false,
                 {point("0,0"), point("0,50"),
                  point("100,50,0,100,25,25,90,-90,0,0,0,0,0,2,100,50,100,0"), point("100,0")})}));
    const auto& v = p->contours[0]->vertices;
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0]->position(), (RPoint{100, 0})); // it now starts the arc edge
    ASSERT_EQ(v[0]->point->kind(), 2);
    const auto& arc = static_cast<const RPointSelfArc&>(*v[0]->point);
    EXPECT_EQ(arc.startValue, -90);
    EXPECT_EQ(arc.endValue, 90);
    EXPECT_EQ(arc.firstPoint, (RPoint{100, 0}));
    EXPECT_EQ(arc.secondPoint, (RPoint{100, 50}));
    EXPECT_EQ(arc.p13, 2);
    EXPECT_EQ(v[1]->position(), (RPoint{100, 50}));
    EXPECT_EQ(v[1]->point->kind(), 0);
}

// Polylines of two profiles agree when each polyline of one has a polyline of the other that
// starts at the same point and runs the same way with the same material.
void expectSamePolylines(const std::vector<ProfilePolyline>& a,
                         const std::vector<ProfilePolyline>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (const ProfilePolyline& pa : a) {
        const ProfilePolyline* match = nullptr;
        for (const ProfilePolyline& pb : b) {
            if (std::fabs(pb.points[0].x - pa.points[0].x) < 1e-9 &&
                std::fabs(pb.points[0].y - pa.points[0].y) < 1e-9)
                match = &pb;
        }
        ASSERT_NE(match, nullptr) << "no polyline starts at " << pa.points[0].x << ","
                                  << pa.points[0].y;
        EXPECT_EQ(match->material, pa.material);
        ASSERT_EQ(match->points.size(), pa.points.size());
        for (size_t i = 0; i < pa.points.size(); ++i) {
            EXPECT_NEAR(match->points[i].x, pa.points[i].x, 1e-9) << i;
            EXPECT_NEAR(match->points[i].y, pa.points[i].y, 1e-9) << i;
            EXPECT_NEAR(match->points[i].texturePos, pa.points[i].texturePos, 1e-9) << i;
        }
        EXPECT_NEAR(match->totalLength, pa.totalLength, 1e-9);
    }
}

TEST(ProfileContourTest, ClockwiseAndCounterClockwiseGiveTheSamePolylines)
{
    // One profile, given both ways: a bottom edge with three V creases from x 20 to 50 that
    // point down, in their own material, a right edge bulging out as a half circle, and two
    // material stretches (A over bottom and right, B over top and left).
    std::string down = contour(7, true, {point("0,0"), point("5,-3"), point("10,0")});
    std::string up = contour(8, true, {point("0,0"), point("5,3"), point("10,0")});
    std::string ccw =
        profile({down, contour(1, false,
                               {point("0,0", R"(color="#AA0000")",
                                      crease(R"(creaseTypeContourId="7" repeatCount="3" pos1="20"
                                        useOwnMaterial="true" color1="#00CC00")")),
                                point("100,0,0,100,25,25,-90,90,0,0,0,0,0"),
                                point("100,50", R"(pictureField="B")"), point("0,50")})});
    std::string cw = profile(
        {up, contour(1, false,
                     {point("0,0", R"(pictureField="B")"), point("0,50"),
                      point("100,50,0,100,25,25,90,-90,0,0,0,0,0", R"(color="#AA0000")"),
                      point("100,0", "", crease(R"(creaseTypeContourId="8" repeatCount="3" pos1="50"
                                      useOwnMaterial="true" color1="#00CC00")"))})});
    auto a = read(ccw)->evaluate();
    auto b = read(cw)->evaluate();
    expectSamePolylines(a, b);
    // A up to the creases, their own material, A again from their end over the arc, then B.
    ASSERT_EQ(a.size(), 4u);
}

} // namespace
