// Each pixel filter against its formula, and the filter procedures as values.
#include "Filters.h"
#include "ri.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(FilterTest, WeightsFollowTheirFormulas)
{
    using ri::FilterKind;
    EXPECT_FLOAT_EQ(RiBoxFilter(0.4f, -0.3f, 1, 1), 1);
    EXPECT_FLOAT_EQ(RiTriangleFilter(0.5f, 0, 2, 2), 0.5f);
    EXPECT_FLOAT_EQ(RiTriangleFilter(0.5f, 0.5f, 2, 2), 0.25f);
    EXPECT_FLOAT_EQ(RiTriangleFilter(1.2f, 0, 2, 2), 0);
    // Catmull-Rom is radial: 2 at the centre, 0 at radius 1 and beyond 2, negative between.
    EXPECT_FLOAT_EQ(RiCatmullRomFilter(0, 0, 4, 4), 2);
    EXPECT_NEAR(RiCatmullRomFilter(1, 0, 4, 4), 0, 1e-6);
    EXPECT_NEAR(RiCatmullRomFilter(0.6f, 0.8f, 4, 4), 0, 1e-5);
    EXPECT_LT(RiCatmullRomFilter(1.5f, 0, 4, 4), 0);
    EXPECT_FLOAT_EQ(RiCatmullRomFilter(1.5f, 0, 4, 4), -1.5f * 2.25f + 5 * 2.25f - 12 + 4);
    EXPECT_FLOAT_EQ(RiCatmullRomFilter(2.5f, 0, 4, 4), 0);
    // Gaussian: exp(-2 (x'^2 + y'^2)) with x' = 2x / width.
    EXPECT_FLOAT_EQ(RiGaussianFilter(0, 0, 2, 2), 1);
    EXPECT_FLOAT_EQ(RiGaussianFilter(0.5f, 0, 2, 2), std::exp(-0.5f));
    EXPECT_FLOAT_EQ(RiGaussianFilter(0.5f, 0.5f, 4, 2), std::exp(-2 * (0.0625f + 0.25f)));
    // Windowed sinc.
    EXPECT_FLOAT_EQ(RiSincFilter(0, 0, 4, 4), 1);
    float x = 0.5f * 3.14159265f;
    EXPECT_NEAR(RiSincFilter(0.5f, 0, 4, 4), std::cos(0.5f * x / 4) * std::sin(x) / x, 1e-6);
    EXPECT_NEAR(RiSincFilter(1, 0, 4, 4), 0, 1e-6);
    // Mitchell (B = C = 1/3): 16/18 at the centre, zero at the edge of its support.
    EXPECT_NEAR(RiMitchellFilter(0, 0, 4, 4), (16.f / 18) * (16.f / 18), 1e-6);
    EXPECT_NEAR(RiMitchellFilter(2, 0, 4, 4), 0, 1e-6);
    // Blackman-Harris: peak 1 at the centre, almost 0 at the edges.
    EXPECT_NEAR(RiBlackmanHarrisFilter(0, 0, 3, 3), 1, 1e-4);
    EXPECT_NEAR(RiBlackmanHarrisFilter(1.5f, 0, 3, 3), 6e-5, 1e-4);
}

TEST(FilterTest, StepFiltersIntegrateToOne)
{
    EXPECT_NEAR(RiBoxStepFilter(0.5f, 0.5f, 1, 1), 1, 1e-5);
    EXPECT_NEAR(RiBoxStepFilter(0, 0.5f, 1, 1), 0.5f, 1e-5);
    EXPECT_NEAR(RiGaussianStepFilter(0, 0, 2, 2), 0.25f, 1e-3);
    EXPECT_NEAR(RiCatmullRomStepFilter(2, 2, 4, 4), 1, 1e-5);
}

TEST(FilterTest, NamesRoundTrip)
{
    using ri::FilterKind;
    for (FilterKind k :
         {FilterKind::Box, FilterKind::Triangle, FilterKind::CatmullRom, FilterKind::Gaussian,
          FilterKind::Sinc, FilterKind::Mitchell, FilterKind::BlackmanHarris}) {
        FilterKind back;
        ASSERT_TRUE(ri::filterFromName(ri::filterName(k), back));
        EXPECT_EQ(back, k);
    }
    ri::FilterKind unused;
    EXPECT_FALSE(ri::filterFromName("lanczos", unused));
}

} // namespace
