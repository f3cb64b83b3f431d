#include "document/PointText.h"
#include "document/VarRPoint.h"

#include "support/TestLocales.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <stdexcept>
#include <string>

namespace {

std::vector<double> countingNumbers(size_t n)
{
    std::vector<double> v(n);
    std::iota(v.begin(), v.end(), 100.0);
    return v;
}

// Switches to a locale whose decimal separator is a comma, if one is installed, and back.
class CommaDecimalLocale
{
public:
    CommaDecimalLocale() : saved_(std::setlocale(LC_ALL, nullptr))
    {
        if (testsupport::switchToBuiltLocale(LC_ALL, "de_DE", "UTF-8") &&
            std::localeconv()->decimal_point[0] == ',') {
            active_ = true;
            return;
        }
        std::setlocale(LC_ALL, saved_.c_str());
    }
    ~CommaDecimalLocale() { testsupport::restoreCLocale(); }
    bool active() const { return active_; }

private:
    std::string saved_;
    bool active_ = false;
};

} // namespace

TEST(PointTextTest, PointListIsScaledAndSplitAtRunsOfBlanks)
{
    auto points = vs::parsePointList("1,2 3,4", 10);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], (RPoint{10, 20}));
    EXPECT_EQ(points[1], (RPoint{30, 40}));

    points = vs::parsePointList("  1,2   3.5,-4\t5,6\n", 1);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1], (RPoint{3.5, -4}));
    EXPECT_EQ(points[2], (RPoint{5, 6}));
}

TEST(PointTextTest, EmptyNullOrBlankListIsEmpty)
{
    EXPECT_TRUE(vs::parsePointList("", 10).empty());
    EXPECT_TRUE(vs::parsePointList(nullptr, 10).empty());
    EXPECT_TRUE(vs::parsePointList("   \t ", 10).empty());
}

TEST(PointTextTest, PointWithoutItsYIsAnError)
{
    EXPECT_THROW(vs::parsePointList("1,2 5", 1), std::invalid_argument);
    EXPECT_THROW(vs::parsePointList("7", 1), std::invalid_argument);
    EXPECT_THROW(vs::parsePointList("1,", 1), std::invalid_argument);
    EXPECT_THROW(vs::parsePoint(",,", 1), std::invalid_argument);
    // Parts after the second are ignored.
    EXPECT_EQ(vs::parsePoint("1,2,3", 2), (RPoint{2, 4}));
}

TEST(PointTextTest, WritesSixDecimalsWithoutBlanks)
{
    EXPECT_EQ(vs::formatPoint({0.5, -1}), "0.500000,-1.000000");
    EXPECT_EQ(vs::formatPointList({{0.5, -1}, {2, 3.25}}), "0.500000,-1.000000 2.000000,3.250000");
    EXPECT_EQ(vs::formatPointList({}), "");
    EXPECT_EQ(vs::formatRect({1, 2, 3.5, -4}), "1.000000,2.000000,3.500000,-4.000000");
}

TEST(PointTextTest, RoundsLikePrintf)
{
    char expected[64];
    for (double value :
         {0.0000005, 1.0000005, 0.0000015, 2.675, -0.0, -0.0000001, 123456.7890125}) {
        std::snprintf(expected, sizeof expected, "%f", value);
        EXPECT_EQ(vs::formatFixed(value, 6), expected) << value;
    }
    for (double value : {0.5, 1.5, 2.5, -2.5}) {
        std::snprintf(expected, sizeof expected, "%.0f", value);
        EXPECT_EQ(vs::formatFixed(value, 0), expected) << value;
    }
}

TEST(PointTextTest, HugeNumbersAreWrittenInFull)
{
    char expected[400];
    std::snprintf(expected, sizeof expected, "%f", -DBL_MAX);
    EXPECT_EQ(vs::formatFixed(-DBL_MAX, 6), expected);
    std::snprintf(expected, sizeof expected, "%.12f", DBL_MAX);
    EXPECT_EQ(vs::formatFixed(DBL_MAX, 12), expected);
}

TEST(PointTextTest, RectNeedsFourNumbers)
{
    EXPECT_EQ(vs::parseRect("1,2,3,4", 10), (RRect{10, 20, 30, 40}));
    EXPECT_EQ(vs::parseRect("1 2, 3  4", 1), (RRect{1, 2, 3, 4}));
    EXPECT_THROW(vs::parseRect("1,2,3", 1), std::invalid_argument);
    EXPECT_THROW(vs::parseRect(nullptr, 1), std::invalid_argument);
}

TEST(PointTextTest, NumberListSplitsAtRunsOfBlanksAndCommas)
{
    EXPECT_EQ(vs::parseNumberList(" 1,, 2 ,3\t,\n4 "), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(vs::parseNumberList("-1.5e1"), (std::vector<double>{-15}));
    EXPECT_TRUE(vs::parseNumberList(",  ,").empty());
    EXPECT_TRUE(vs::parseNumberList(nullptr).empty());
}

TEST(PointTextTest, NumbersReadAsAtofPrefixes)
{
    EXPECT_EQ(vs::parseDouble("12abc"), 12);
    EXPECT_EQ(vs::parseDouble("  -3.5e2x"), -350);
    EXPECT_EQ(vs::parseDouble("1.5.6"), 1.5);
    EXPECT_EQ(vs::parseDouble("abc"), 0);
    EXPECT_EQ(vs::parseDouble(""), 0);
    EXPECT_EQ(vs::parseDouble(nullptr), 0);
    EXPECT_EQ(vs::parseDouble("+7"), 7);
    // A number list keeps one entry per part even when the part is not a number.
    EXPECT_EQ(vs::parseNumberList("x,2y"), (std::vector<double>{0, 2}));
}

TEST(PointTextTest, NanAndInfinityPassThroughWithoutFailing)
{
    EXPECT_TRUE(std::isnan(vs::parseDouble("nan")));
    EXPECT_TRUE(std::isinf(vs::parseDouble("-inf")));
    EXPECT_TRUE(std::isinf(vs::parseDouble("1e999")));
    auto points = vs::parsePointList("nan,inf", 10);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_TRUE(std::isnan(points[0].x));
    EXPECT_TRUE(std::isinf(points[0].y));
    EXPECT_EQ(vs::formatPoint({NAN, INFINITY}), "nan,inf");
    EXPECT_EQ(vs::formatFixed(-INFINITY, 6), "-inf");
}

TEST(PointTextTest, CommaDecimalLocaleChangesNothing)
{
    CommaDecimalLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(vs::formatPoint({0.5, -1}), "0.500000,-1.000000");
    EXPECT_EQ(vs::parseDouble("1.25"), 1.25);
    EXPECT_EQ(vs::parsePointList("1.5,2.5", 2)[0], (RPoint{3, 5}));
    EXPECT_EQ(vs::parseNumberList("0.5 1,5"), (std::vector<double>{0.5, 1, 5}));
}

TEST(ProfilePointTest, UpToThreeNumbersMakeAPlainPoint)
{
    auto point = VarRPoint::fromNumbers({1, 2});
    ASSERT_TRUE(point);
    EXPECT_EQ(point->kind(), 0);
    EXPECT_EQ(point->x, 1);
    EXPECT_EQ(point->y, 2);
    point = VarRPoint::fromNumbers({4, 5, 6});
    ASSERT_TRUE(point);
    EXPECT_EQ(point->kind(), 0);
    EXPECT_EQ(point->y, 5);
}

TEST(ProfilePointTest, FewerThanTwoNumbersIsAnError)
{
    EXPECT_THROW(VarRPoint::fromNumbers({}), std::invalid_argument);
    EXPECT_THROW(VarRPoint::fromNumbers({1}), std::invalid_argument);
}

TEST(ProfilePointTest, OtherCountsMakeNoPoint)
{
    for (size_t n : {4, 5, 8, 12, 14, 15, 16, 17, 19, 40})
        EXPECT_EQ(VarRPoint::fromNumbers(countingNumbers(n)), nullptr) << n << " numbers";
}

TEST(ProfilePointTest, WallArcTakesStartAndEndByItsFlag)
{
    std::vector<double> v = countingNumbers(13);
    v[8] = 1;
    auto point = VarRPoint::fromNumbers(v);
    ASSERT_TRUE(point);
    ASSERT_EQ(point->kind(), 1);
    auto& arc = static_cast<RPointWallArc&>(*point);
    EXPECT_TRUE(arc.reversed);
    EXPECT_EQ(arc.startValue, v[7]);
    EXPECT_EQ(arc.endValue, v[6]);
    EXPECT_EQ(arc.x, v[0]);
    EXPECT_EQ(arc.y, v[1]);
    EXPECT_EQ(arc.p3, v[3]);
    EXPECT_EQ(arc.p4, v[4]);
    EXPECT_EQ(arc.p5, v[5]);

    v[8] = 0;
    auto& plain = static_cast<RPointWallArc&>(*(point = VarRPoint::fromNumbers(v)));
    EXPECT_FALSE(plain.reversed);
    EXPECT_EQ(plain.startValue, v[6]);
    EXPECT_EQ(plain.endValue, v[7]);
}

TEST(ProfilePointTest, ReversedSelfArcSwapsItsPoints)
{
    std::vector<double> v = countingNumbers(18);
    v[8] = -2; // any non-zero flag
    auto point = VarRPoint::fromNumbers(v);
    ASSERT_TRUE(point);
    ASSERT_EQ(point->kind(), 2);
    auto& arc = static_cast<RPointSelfArc&>(*point);
    EXPECT_TRUE(arc.reversed);
    EXPECT_EQ(arc.startValue, v[7]);
    EXPECT_EQ(arc.p13, v[13]);
    EXPECT_EQ(arc.firstPoint, (RPoint{v[16], v[17]}));
    EXPECT_EQ(arc.secondPoint, (RPoint{v[14], v[15]}));

    v[8] = 0;
    auto& forward = static_cast<RPointSelfArc&>(*(point = VarRPoint::fromNumbers(v)));
    EXPECT_EQ(forward.firstPoint, (RPoint{v[14], v[15]}));
    EXPECT_EQ(forward.secondPoint, (RPoint{v[16], v[17]}));
}

TEST(ProfilePointTest, ReverseThroughTheWallArcBaseAlsoSwapsSelfArcPoints)
{
    RPointSelfArc selfArc;
    selfArc.startValue = 1;
    selfArc.endValue = 2;
    selfArc.firstPoint = {3, 4};
    selfArc.secondPoint = {5, 6};
    RPointWallArc& arc = selfArc;
    arc.reverse();
    EXPECT_EQ(selfArc.startValue, 2);
    EXPECT_EQ(selfArc.endValue, 1);
    EXPECT_EQ(selfArc.firstPoint, (RPoint{5, 6}));
    EXPECT_EQ(selfArc.secondPoint, (RPoint{3, 4}));
}
