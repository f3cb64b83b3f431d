#include "CeilingFixtures.h"

#include "ceiling/ExactFit.h"

#include <gtest/gtest.h>

#include <chrono>

using vs::exactFit;

namespace {

std::vector<std::pair<int, int>> runsOf(const FitResult& fit)
{
    std::vector<std::pair<int, int>> runs;
    for (const FitRun& run : fit.runs)
        runs.push_back({run.first, run.last});
    return runs;
}

using Runs = std::vector<std::pair<int, int>>;

} // namespace

TEST(ExactFitTest, ForwardsPairsDefaultCells)
{
    FitResult fit = exactFit({}, 3000, 6000, 0, 9, 0, 9, 0.024);
    EXPECT_EQ(runsOf(fit), (Runs{{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}}));
    EXPECT_EQ(fit.first, 0);
    EXPECT_EQ(fit.last, 9);
    EXPECT_EQ(fit.runs[1].cellCount, 2);
    EXPECT_EQ(fit.runs[1].pixelStart, 144);
    EXPECT_EQ(fit.runs[1].pixelWidth, 144);
    EXPECT_EQ(fit.pixelStart, 0);
    EXPECT_EQ(fit.pixelWidth, 720);
}

TEST(ExactFitTest, ForwardsSkipsPastANarrowCell)
{
    FitResult fit = exactFit({{2, 1500}}, 3000, 6000, 0, 9, 0, 9, 0.024);
    EXPECT_EQ(runsOf(fit), (Runs{{0, 1}, {3, 4}, {5, 6}, {7, 8}}));
    EXPECT_EQ(fit.last, 8);
}

TEST(ExactFitTest, BackwardsKeepsRunsAscending)
{
    FitResult fit = exactFit({{2, 1500}}, 3000, 6000, 9, 0, 0, 9, 0.024);
    EXPECT_EQ(runsOf(fit), (Runs{{0, 1}, {4, 5}, {6, 7}, {8, 9}}));
    EXPECT_EQ(fit.first, 0);
    EXPECT_EQ(fit.last, 9);
}

TEST(ExactFitTest, RunsAreClippedToTheCellRange)
{
    FitResult fit = exactFit({}, 3000, 6000, 0, 9, 2, 6, 0.024);
    EXPECT_EQ(runsOf(fit), (Runs{{2, 3}, {4, 5}, {6, 7}}));
    EXPECT_EQ(fit.first, 2);
    EXPECT_EQ(fit.last, 7);
    // A search starting left of the range keeps the lower of lo and the first run.
    fit = exactFit({}, 3000, 3000, -3, 4, 0, 9, 0.024);
    EXPECT_EQ(fit.first, 0);
    EXPECT_EQ(fit.runs.front().first, 0);
}

TEST(ExactFitTest, NothingFitsGivesTheSearchSpan)
{
    FitResult fit = exactFit({}, 3000, 4000, 0, 5, 0, 9, 0.024);
    EXPECT_TRUE(fit.runs.empty());
    EXPECT_EQ(fit.first, 0);
    EXPECT_EQ(fit.last, 5);
    fit = exactFit({}, 3000, 4000, 0, 20, 0, 9, 0.024);
    EXPECT_EQ(fit.last, 9);
    EXPECT_TRUE(exactFit({}, 3000, 0, 0, 5, 0, 9, 0.024).runs.empty());
    EXPECT_TRUE(exactFit({}, 3000, -6000, 0, 5, 0, 9, 0.024).runs.empty());
}

TEST(ExactFitTest, HugeSearchesAreBounded)
{
    const auto start = std::chrono::steady_clock::now();
    FitResult fit = exactFit({}, 1, 2, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, 1);
    EXPECT_LE(fit.runs.size(), size_t(vs::kMaxFitCells));
    fit = exactFit({}, 0, 1 << 30, 0, INT32_MAX, 0, INT32_MAX, 1e-6);
    EXPECT_TRUE(fit.runs.empty());
    fit = exactFit({{0, 0}, {1, 0}, {2, -5}}, 3000, 6000, INT32_MAX, INT32_MIN, INT32_MIN,
                   INT32_MAX, 0.024);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(ExactFitTest, PlaneFitsUseItsCellsAndZoom)
{
    SolidCeiling ceiling;
    auto plane = ceilingtest::makePlane(ceiling, 12000, 9000);
    vs::setZoom(*plane, 0.024);
    FitResult cols = vs::exactFitCols(*plane, 6000, 0, 10);
    EXPECT_EQ(runsOf(cols), (Runs{{0, 1}, {2, 3}}));
    EXPECT_EQ(cols.last, 3);
    FitResult rows = vs::exactFitRows(*plane, 3000, 2, -5);
    EXPECT_EQ(runsOf(rows), (Runs{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(rows.first, 0);
}
