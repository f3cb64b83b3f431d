#include "ceiling/PolygonOps.h"
#include "ceiling/PolygonTessellator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

double contourArea(const std::vector<RPoint>& p)
{
    double twice = 0;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        twice += p[j].x * p[i].y - p[i].x * p[j].y;
    return twice / 2;
}

// Area under the odd winding rule for the clipper's results: outer areas minus hole areas.
double polygonArea(const PlanPolygon& polygon)
{
    double area = 0;
    for (const PlanContour& c : polygon.contours)
        area += c.hole ? -std::fabs(contourArea(c.points)) : std::fabs(contourArea(c.points));
    return area;
}

double triangleArea(const RPoint& a, const RPoint& b, const RPoint& c)
{
    return ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2;
}

// Signed areas of the triangles the strip rule emits; all have the same sign when it works.
std::vector<double> emittedTriangleAreas(const TriangleStrips& strips)
{
    std::vector<RPoint> v;
    const std::vector<uint32_t> idx = vs::stripTriangleIndices(strips, &v);
    std::vector<double> areas;
    for (size_t t = 0; t + 2 < idx.size(); t += 3)
        areas.push_back(triangleArea(v.at(idx[t]), v.at(idx[t + 1]), v.at(idx[t + 2])));
    return areas;
}

double stripArea(const TriangleStrips& strips)
{
    double sum = 0;
    for (double a : emittedTriangleAreas(strips))
        sum += std::fabs(a);
    return sum;
}

void expectOneOrientation(const TriangleStrips& strips)
{
    const std::vector<double> areas = emittedTriangleAreas(strips);
    ASSERT_FALSE(areas.empty());
    for (double a : areas)
        EXPECT_GT(a, 0) << "degenerate or reversed triangle";
}

PlanPolygon rect(double l, double t, double r, double b)
{
    return PlanPolygon::fromRect(l, t, r, b);
}

const PlanPolygon kLShape = PlanPolygon::fromPoints(
    {{0, 0}, {6000, 0}, {6000, 2000}, {2000, 2000}, {2000, 5000}, {0, 5000}});

} // namespace

TEST(TurnSignTest, SignOfTurnAndWindingSum)
{
    EXPECT_EQ(vs::turnSign({0, 0}, {10, 0}, {10, 10}), 1);
    EXPECT_EQ(vs::turnSign({0, 0}, {10, 0}, {10, -10}), -1);
    EXPECT_EQ(vs::turnSign({0, 0}, {10, 0}, {20, 0}), 0);
    EXPECT_EQ(vs::turnSign({0, 0}, {10, 0}, {NAN, 0}), 0);

    // The L turns one way at five corners and the other way at one: the count decides.
    EXPECT_TRUE(vs::positiveWinding(kLShape.contours[0].points));
    std::vector<RPoint> reversed(kLShape.contours[0].points.rbegin(),
                                 kLShape.contours[0].points.rend());
    EXPECT_FALSE(vs::positiveWinding(reversed));
    EXPECT_TRUE(vs::positiveWinding({{5, 5}, {0, 9}}));
    EXPECT_TRUE(vs::positiveWinding({}));
}

TEST(PolygonClipTest, ChildInsideLeavesFlaggedHole)
{
    const PlanPolygon result =
        vs::polygonDifference(rect(0, 0, 1000, 1000), rect(200, 200, 400, 400));
    ASSERT_EQ(result.contours.size(), 2u);
    EXPECT_FALSE(result.contours[0].hole);
    EXPECT_TRUE(result.contours[1].hole);
    EXPECT_GT(contourArea(result.contours[0].points), 0);
    EXPECT_LT(contourArea(result.contours[1].points), 0);
    EXPECT_DOUBLE_EQ(polygonArea(result), 1000000 - 40000);
}

TEST(PolygonClipTest, IntersectionAndTenthUnitPrecision)
{
    const PlanPolygon triangle = PlanPolygon::fromPoints({{0, 0}, {1000, 0}, {0, 1000}});
    EXPECT_DOUBLE_EQ(polygonArea(vs::polygonIntersection(triangle, rect(0, 0, 500, 500))), 250000);
    // A tenth of a unit survives; a twentieth is rounded to the grid.
    EXPECT_NEAR(polygonArea(vs::polygonIntersection(rect(0, 0, 0.3, 100), rect(0, 0, 10, 10))), 3.0,
                1e-9);
    EXPECT_TRUE(vs::polygonIntersection(rect(0, 0, 0.04, 100), rect(0, 0, 10, 10)).empty());
    EXPECT_TRUE(vs::polygonIntersection(rect(0, 0, 10, 10), PlanPolygon()).empty());
}

TEST(OpenPolygonTest, ParentCoveredByChildrenHasNothingLeft)
{
    const PlanPolygon parent = rect(0, 0, 4000, 3000);
    const PlanPolygon left = rect(-100, -100, 2000, 3100);
    const PlanPolygon right = rect(2000, 0, 4000, 3000);
    const PlanPolygon open = vs::openPolygon(parent, {&left, &right});
    EXPECT_TRUE(open.contours.empty());
    EXPECT_TRUE(vs::triangulate(open).empty());
    EXPECT_TRUE(vs::clipBySquares(open).empty());
}

TEST(OpenPolygonTest, ChildBeyondParentRemovesOnlyOverlap)
{
    const PlanPolygon parent = rect(0, 0, 4000, 3000);
    const PlanPolygon child = rect(3000, 1000, 6000, 2000); // half outside
    const PlanPolygon open = vs::openPolygon(parent, {&child});
    EXPECT_DOUBLE_EQ(polygonArea(open), 12e6 - 1000.0 * 1000);
    for (const PlanContour& c : open.contours)
        for (const RPoint& p : c.points)
            EXPECT_LE(p.x, 4000);
    EXPECT_DOUBLE_EQ(stripArea(vs::triangulate(open)), 11e6);
}

TEST(OpenPolygonTest, NoChildrenOrNullChildKeepsIndented)
{
    EXPECT_EQ(vs::openPolygon(kLShape, {}).contours[0].points, kLShape.contours[0].points);
    EXPECT_EQ(vs::openPolygon(kLShape, {nullptr}).contours[0].points, kLShape.contours[0].points);
}

TEST(TriangulateTest, DegenerateInputGivesNoStrips)
{
    EXPECT_TRUE(vs::triangulate(PlanPolygon()).empty());
    EXPECT_TRUE(vs::triangulate(PlanPolygon::fromPoints({{0, 0}, {100, 100}})).empty());
    EXPECT_TRUE(vs::triangulate(PlanPolygon::fromPoints({{0, 0}, {50, 50}, {100, 100}})).empty());
    EXPECT_TRUE(vs::triangulate(PlanPolygon::fromPoints({{7, 7}, {7, 7}, {7, 7}, {7, 7}})).empty());
    EXPECT_TRUE(PolygonTessellator().tessellate(PlanPolygon::fromPoints({{0, 0}, {9, 0}})).empty());
}

TEST(TriangulateTest, AreaMatchesPolygon)
{
    const TriangleStrips l = vs::triangulate(kLShape);
    EXPECT_DOUBLE_EQ(stripArea(l), 6000.0 * 2000 + 2000.0 * 3000);
    expectOneOrientation(l);

    const PlanPolygon holed =
        vs::polygonDifference(rect(0, 0, 1000, 1000), rect(200, 200, 400, 400));
    const TriangleStrips h = vs::triangulate(holed);
    EXPECT_DOUBLE_EQ(stripArea(h), 1000000 - 40000);
    expectOneOrientation(h);

    // A repeated vertex and a clockwise run change nothing.
    const PlanPolygon messy =
        PlanPolygon::fromPoints({{0, 0}, {0, 500}, {0, 500}, {800, 500}, {800, 0}});
    EXPECT_DOUBLE_EQ(stripArea(vs::triangulate(messy)), 400000);
}

TEST(TriangulateTest, TessellatorAloneHandlesCrossingsAndConvexShortcut)
{
    PolygonTessellator tess;
    // A bow tie needs the combine callback: two triangles of 25 each.
    const TriangleStrips bow =
        tess.tessellate(PlanPolygon::fromPoints({{0, 0}, {10, 10}, {10, 0}, {0, 10}}));
    EXPECT_NEAR(stripArea(bow), 50, 1e-9);
    // A hexagon is convex: one strip covering it.
    const TriangleStrips hex =
        tess.tessellate(PlanPolygon::fromPoints({{2, 0}, {6, 0}, {8, 4}, {6, 8}, {2, 8}, {0, 4}}));
    ASSERT_EQ(hex.strips.size(), 1u);
    EXPECT_DOUBLE_EQ(stripArea(hex), 48);
    expectOneOrientation(hex);
    // A pentagram turns the same way at every point but winds twice: not convex.
    std::vector<RPoint> star;
    for (int i = 0; i < 5; ++i)
        star.push_back({100 * std::cos(i * 4 * M_PI / 5), 100 * std::sin(i * 4 * M_PI / 5)});
    const TriangleStrips s = tess.tessellate(PlanPolygon::fromPoints(star));
    EXPECT_GT(s.strips.size(), 1u);
    EXPECT_LT(stripArea(s), 0.8 * std::fabs(contourArea(star)));
}

TEST(StripTriangleIndicesTest, OrientationAndOffsetsAcrossStrips)
{
    TriangleStrips strips;
    strips.strips.push_back({{0, 0}, {10, 0}, {0, 10}, {10, 10}}); // turns both ways
    strips.strips.push_back({{50, 50}, {60, 50}});                 // too short: no triangle
    strips.strips.push_back({{20, 0}, {20, 10}, {30, 0}});         // clockwise on input
    std::vector<RPoint> vertices(3);                               // already in the buffer
    const std::vector<uint32_t> idx = vs::stripTriangleIndices(strips, &vertices);
    ASSERT_EQ(vertices.size(), 3u + 9u);
    EXPECT_EQ(idx, (std::vector<uint32_t>{3, 4, 5, 5, 4, 6, 10, 9, 11}));
    for (size_t t = 0; t < idx.size(); t += 3)
        EXPECT_GT(triangleArea(vertices[idx[t]], vertices[idx[t + 1]], vertices[idx[t + 2]]), 0);
    EXPECT_EQ(vs::stripTriangleIndices(strips, nullptr).front(), 0u);
}

TEST(ClipBySquaresTest, PlaneCoversSameAreaAsWhole)
{
    const PlanPolygon plane = rect(0, 0, 300000, 200000);
    const PlanPolygon a = rect(20500, 30500, 80500, 70500);
    const PlanPolygon b = rect(120000, 50000, 200000, 150000);
    const PlanPolygon c =
        PlanPolygon::fromPoints({{230000, 120000}, {299000, 150000}, {250000, 199000}});
    const PlanPolygon open = vs::openPolygon(plane, {&a, &b, &c});
    const double whole = stripArea(vs::triangulate(open));
    EXPECT_NEAR(whole, polygonArea(open), 1.0);

    double squares = 0;
    const size_t visited =
        vs::clipEachSquare(open, 2000, [&](const RRect& s, const TriangleStrips& strips) {
            for (const std::vector<RPoint>& strip : strips.strips)
                for (const RPoint& p : strip) {
                    ASSERT_TRUE(p.x >= s.left && p.x <= s.right && p.y >= s.top && p.y <= s.bottom);
                }
            squares += stripArea(strips);
        });
    EXPECT_EQ(visited, 150u * 100u);
    // Where the triangle's slanted edges cross square sides the crossing is rounded to the
    // 0.1-unit grid: a few hundred square units over 4.7e10.
    EXPECT_NEAR(squares, whole, 500.0);

    const PlanPolygon boxes = vs::openPolygon(plane, {&a, &b});
    double boxSquares = 0;
    for (const TriangleStrips& s : vs::clipBySquares(boxes))
        boxSquares += stripArea(s);
    EXPECT_DOUBLE_EQ(boxSquares, 6e10 - 60000.0 * 40000 - 80000.0 * 100000);
}

TEST(ClipBySquaresTest, OnlySquaresOverTheBoundsAreVisited)
{
    // Bounds -1000 ... 3000 by 2000 ... 4000 meet columns -1, 0, 1 and row 1.
    const std::vector<TriangleStrips> squares = vs::clipBySquares(rect(-1000, 2000, 3000, 4000));
    ASSERT_EQ(squares.size(), 3u);
    EXPECT_DOUBLE_EQ(stripArea(squares[0]), 1000.0 * 2000);
    EXPECT_DOUBLE_EQ(stripArea(squares[1]), 2000.0 * 2000);
    EXPECT_DOUBLE_EQ(stripArea(squares[2]), 1000.0 * 2000);

    // The L's bounds hold 3 x 3 squares; the four under its notch stay empty.
    const std::vector<TriangleStrips> l = vs::clipBySquares(kLShape);
    ASSERT_EQ(l.size(), 9u);
    for (size_t i : {4u, 5u, 7u, 8u})
        EXPECT_TRUE(l[i].empty()) << i;
    EXPECT_EQ(vs::clipBySquares(kLShape, 1e9).size(), 1u);
}

TEST(PolygonRobustnessTest, NonFiniteAndHugeCoordinatesDoNotCrash)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    PlanPolygon bad = rect(0, 0, 100, 100);
    bad.contours.push_back({{{nan, 0}, {5, 5}, {0, 9}}, false});
    bad.contours.push_back({{{inf, 0}, {-inf, 5}, {0, inf}}, true});
    EXPECT_DOUBLE_EQ(stripArea(vs::triangulate(bad)), 10000); // broken contours left out
    EXPECT_DOUBLE_EQ(stripArea(PolygonTessellator().tessellate(bad)), 10000);
    EXPECT_DOUBLE_EQ(polygonArea(vs::polygonDifference(bad, bad)), 0);

    // 1e9 units is well inside the clipper's range; 1e300 is clamped, not overflowed.
    EXPECT_DOUBLE_EQ(stripArea(vs::triangulate(rect(-1e9, -1e9, 1e9, 1e9))), 4e18);
    const PlanPolygon huge = rect(-1e300, 0, 1e300, 10);
    EXPECT_DOUBLE_EQ(polygonArea(vs::polygonIntersection(huge, rect(0, 0, 5, 5))), 25);
    EXPECT_FALSE(vs::triangulate(huge).empty());

    EXPECT_THROW(vs::clipBySquares(huge), std::invalid_argument);
    EXPECT_THROW(vs::clipBySquares(kLShape, 0), std::invalid_argument);
    EXPECT_THROW(vs::clipBySquares(kLShape, nan), std::invalid_argument);
    PlanPolygon onlyBroken;
    onlyBroken.contours = {bad.contours[1], bad.contours[2]};
    EXPECT_TRUE(vs::clipBySquares(onlyBroken).empty());
}
