#include "CeilingFixtures.h"

#include "ceiling/HeightProfile.h"

#include <gtest/gtest.h>

#include <cmath>

using vs::heightProfile;

namespace {

/** A root split at x 10000 and 20000 into children of hoist 300, 0 and 300. */
std::unique_ptr<CGridMapping> makeStepped(SolidCeiling& ceiling)
{
    auto root = ceilingtest::makePlane(ceiling, 30000, 10000);
    root->horizontalSplit = true;
    for (double pos : {10000.0, 20000.0}) {
        auto line = std::make_unique<CSplitLine>();
        line->pos = pos;
        root->splitLines.push_back(std::move(line));
    }
    for (double hoist : {300.0, 0.0, 300.0}) {
        root->children.push_back(std::make_unique<CGridMapping>(&ceiling, root.get()));
        root->children.back()->hoist = hoist;
    }
    return root;
}

void expectSteps(const std::vector<vs::HeightStep>& steps,
                 const std::vector<std::pair<double, double>>& expected)
{
    ASSERT_EQ(steps.size(), expected.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_NEAR(steps[i].distance, expected[i].first, 1e-6) << "step " << i;
        EXPECT_EQ(steps[i].height, expected[i].second) << "step " << i;
    }
}

} // namespace

TEST(HeightProfileTest, UnsplitPlaneIsFlat)
{
    SolidCeiling ceiling;
    auto plane = ceilingtest::makePlane(ceiling, 9000, 9000);
    expectSteps(heightProfile(*plane, {0, 0}, {9000, 0}), {{0, 24000}});
}

TEST(HeightProfileTest, AlongTheAxis)
{
    SolidCeiling ceiling;
    auto root = makeStepped(ceiling);
    expectSteps(heightProfile(*root, {5000, 0}, {22000, 0}),
                {{0, 24300}, {5000, 24000}, {15000, 24300}});
    // Starting exactly on a split line: the child after it.
    expectSteps(heightProfile(*root, {10000, 0}, {15000, 0}), {{0, 24000}});
}

TEST(HeightProfileTest, AgainstTheAxisReadsFromTheLinesOwnStart)
{
    SolidCeiling ceiling;
    auto root = makeStepped(ceiling);
    expectSteps(heightProfile(*root, {22000, 0}, {5000, 0}),
                {{0, 24300}, {2000, 24000}, {12000, 24300}});
}

TEST(HeightProfileTest, SlantedLineScalesDistances)
{
    SolidCeiling ceiling;
    auto root = makeStepped(ceiling);
    // Length 34000 over an axis span of 17000: distances double.
    const double dy = 17000 * std::sqrt(3.0);
    expectSteps(heightProfile(*root, {5000, 0}, {22000, dy}),
                {{0, 24300}, {10000, 24000}, {30000, 24300}});
    // A line across the axis has no span to scale by.
    expectSteps(heightProfile(*root, {15000, 0}, {15000, 5000}), {{0, 24000}});
}
