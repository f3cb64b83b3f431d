#include "ceiling/GridFunctions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

using namespace vs;

namespace {

const std::vector<SpecialGridCol> kNone;

} // namespace

TEST(GridLinePosTest, SpecialColumnShiftsLaterLines)
{
    const std::vector<SpecialGridCol> specials{{1, 1000}};
    EXPECT_EQ(gridLinePos(specials, 0, 6000), 0);
    EXPECT_EQ(gridLinePos(specials, 1, 6000), 6000);
    EXPECT_EQ(gridLinePos(specials, 2, 6000), 7000);
    EXPECT_EQ(gridLinePos(specials, 3, 6000), 13000);
}

TEST(GridLinePosTest, NegativeLinesMirrorSpecials)
{
    EXPECT_EQ(gridLinePos({{1, 1000}}, -1, 6000), -6000);
    // Column -1 is the first cell left of line 0: mirrored it is cell 0.
    const std::vector<SpecialGridCol> specials{{-2, 500}, {-1, 1000}};
    EXPECT_EQ(gridLinePos(specials, -1, 6000), -1000);
    EXPECT_EQ(gridLinePos(specials, -2, 6000), -1500);
    EXPECT_EQ(gridLinePos(specials, -3, 6000), -7500);
}

TEST(GridLinePosTest, HugeIndicesSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(gridLinePos(kNone, INT32_MAX, 6000), INT32_MAX);
    EXPECT_EQ(gridLinePos(kNone, INT32_MIN, 6000), INT32_MIN);
    // A zero default size is read as 1.
    EXPECT_EQ(gridLinePos(kNone, 5, 0), 5);
}

TEST(CellAtTest, GridLineBelongsToCellStartingThere)
{
    GridCell c = cellAt(6000, 6000, kNone);
    EXPECT_EQ(c.index, 1);
    EXPECT_EQ(c.offset, 0);
    EXPECT_EQ(cellAt(6000, 5999, kNone).index, 0);
    EXPECT_EQ(cellAt(6000, 5999, kNone).offset, 5999);
}

TEST(CellAtTest, NegativeCoordinatesMirror)
{
    GridCell c = cellAt(6000, -1, kNone);
    EXPECT_EQ(c.index, -1);
    EXPECT_EQ(c.offset, 1);
    c = cellAt(6000, -6000, kNone);
    EXPECT_EQ(c.index, -1);
    EXPECT_EQ(c.offset, 0);
    EXPECT_EQ(cellAt(6000, -6001, kNone).index, -2);
}

TEST(CellAtTest, SpecialCellsReportTheirOwnSize)
{
    const std::vector<SpecialGridCol> specials{{-1, 2000}, {1, 1000}};
    GridCell c = cellAt(6000, 6500, specials);
    EXPECT_EQ(c.index, 1);
    EXPECT_EQ(c.offset, 500);
    EXPECT_EQ(c.size, 1000);
    // The first line of a special cell belongs to it, with its size.
    c = cellAt(6000, 6000, specials);
    EXPECT_EQ(c.index, 1);
    EXPECT_EQ(c.size, 1000);
    c = cellAt(6000, 7000, specials);
    EXPECT_EQ(c.index, 2);
    EXPECT_EQ(c.size, 6000);
    c = cellAt(6000, -1500, specials);
    EXPECT_EQ(c.index, -1);
    EXPECT_EQ(c.size, 2000);
    EXPECT_EQ(cellAt(6000, -2000, specials).index, -1);
    EXPECT_EQ(cellAt(6000, -2001, specials).index, -2);
}

TEST(CellAtTest, HostileInputTerminates)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(cellAt(0, 1e9, kNone).index, 1000000000);
    EXPECT_EQ(cellAt(-5, 10, kNone).index, 10);
    EXPECT_EQ(cellAt(6000, std::nan(""), kNone).index, 0);
    EXPECT_EQ(cellAt(1, 1e300, kNone).index, INT32_MAX);
    EXPECT_EQ(cellAt(1, -1e300, kNone).index, INT32_MIN);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(CellAtPixelTest, RoundedBoundariesDecide)
{
    // zoom 0.024: line 1 at 72 px, line 2 at 144 px.
    EXPECT_EQ(cellAtPixel(71, 3000, kNone, 0.024).index, 0);
    PixelCell c = cellAtPixel(72, 3000, kNone, 0.024);
    EXPECT_EQ(c.index, 1);
    EXPECT_EQ(c.offset, 0);
    c = cellAtPixel(150, 3000, kNone, 0.024);
    EXPECT_EQ(c.index, 2);
    EXPECT_EQ(c.offset, 6);
    // A special of 1000 at zoom 0.024 is 24 px wide.
    const std::vector<SpecialGridCol> specials{{1, 1000}};
    EXPECT_EQ(cellAtPixel(80, 3000, specials, 0.024).index, 1);
    EXPECT_EQ(cellAtPixel(96, 3000, specials, 0.024).index, 2);
    EXPECT_EQ(cellAtPixel(-1, 3000, kNone, 0.024).index, -1);
    EXPECT_EQ(cellAtPixel(-72, 3000, kNone, 0.024).index, -1);
    EXPECT_EQ(cellAtPixel(-73, 3000, kNone, 0.024).index, -2);
}

TEST(CellAtPixelTest, BadZoomGivesCellZero)
{
    EXPECT_EQ(cellAtPixel(500, 3000, kNone, 0).index, 0);
    EXPECT_EQ(cellAtPixel(500, 3000, kNone, std::nan("")).index, 0);
    // A vanishing zoom puts every boundary at pixel 0: the walk still ends.
    EXPECT_EQ(cellAtPixel(INT32_MAX, 1, kNone, 1e-300).index, INT32_MAX);
}

TEST(CellsToCoverTest, SpecialColumnThenDefaults)
{
    const std::vector<SpecialGridCol> specials{{0, 3000}};
    EXPECT_EQ(cellsToCover(0, 6000, 6000, specials), 2);
    EXPECT_EQ(cellsToCover(1, 6000, 6000, specials), 1);
    EXPECT_EQ(cellsToCover(0, 3000, 6000, specials), 1);
    EXPECT_EQ(cellsToCover(-2, 12001, 6000, kNone), 3);
}

TEST(CellsToCoverTest, AlwaysAtLeastOneAndAlwaysEnds)
{
    EXPECT_EQ(cellsToCover(0, 0, 6000, kNone), 1);
    EXPECT_EQ(cellsToCover(0, -5, 6000, kNone), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(cellsToCover(0, 2e9, 0, kNone), 2000000000);
    EXPECT_EQ(cellsToCover(0, 1e300, 1, kNone), INT32_MAX);
    EXPECT_EQ(cellsToCover(0, 10, -3, {{0, 0}, {1, -100}}), 112);
    // An unsorted list must not make the walk go backwards forever.
    EXPECT_GE(cellsToCover(0, 100, 10, {{5, 10}, {2, 10}}), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(CellsSpannedTest, EndOnGridLineCountsNoExtraCell)
{
    EXPECT_EQ(cellsSpanned(0, 12000, 6000, kNone), 2);
    EXPECT_EQ(cellsSpanned(0, 12001, 6000, kNone), 3);
    EXPECT_EQ(cellsSpanned(-6000, 0, 6000, kNone), 1);
    EXPECT_EQ(cellsSpanned(-1, 1, 6000, kNone), 2);
    EXPECT_EQ(cellsSpanned(-1e300, 1e300, 1, kNone), INT32_MAX);
}

TEST(NormaliseSpecialsTest, SortsAndKeepsFirstOfRepeats)
{
    std::vector<SpecialGridCol> specials{{3, 30}, {-1, 10}, {3, 99}, {0, 5}};
    normaliseSpecials(specials);
    ASSERT_EQ(specials.size(), 3u);
    EXPECT_EQ(specials[0].index, -1);
    EXPECT_EQ(specials[1].index, 0);
    EXPECT_EQ(specials[2].index, 3);
    EXPECT_EQ(specials[2].size, 30);
}

TEST(NearestPixelTest, RoundsHalfUpAndSaturates)
{
    EXPECT_EQ(nearestPixel(2.5), 3);
    EXPECT_EQ(nearestPixel(-2.5), -2);
    EXPECT_EQ(nearestPixel(1e20), INT32_MAX);
    EXPECT_EQ(nearestPixel(std::nan("")), 0);
}
