#include "document/ColourText.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | g << 8 | b << 16;
}

TEST(ColourTextTest, RgbPacksRedGreenBlueInAnyCase)
{
    EXPECT_EQ(vs::parseColourText("RGB(1,2,3)"), rgb(1, 2, 3));
    EXPECT_EQ(vs::parseColourText("rgb(255, 128, 0)"), rgb(255, 128, 0));
    EXPECT_EQ(vs::parseColourText("Rgb(10 20 30)"), rgb(10, 20, 30));
}

TEST(ColourTextTest, RgbTruncatesAndKeepsTheLowByte)
{
    EXPECT_EQ(vs::parseColourText("RGB(1.9,256,-1)"), rgb(1, 0, 255));
    EXPECT_EQ(vs::parseColourText("RGB(257.7,-256,511)"), rgb(1, 0, 255));
    // Beyond the int range: 2^32 + 1 keeps 1; 1e300 and -1e20 are multiples of 256.
    EXPECT_EQ(vs::parseColourText("RGB(1e300,4294967297,-1e20)"), rgb(0, 1, 0));
    EXPECT_EQ(vs::parseColourText("RGB(nan,inf,7)"), rgb(0, 0, 7));
}

TEST(ColourTextTest, RgbNeedsThreeNumbers)
{
    EXPECT_THROW(vs::parseColourText("RGB(1,2)"), std::invalid_argument);
    EXPECT_THROW(vs::parseColourText("RGB()"), std::invalid_argument);
    EXPECT_THROW(vs::parseColourText("RGB("), std::invalid_argument);
}

TEST(ColourTextTest, RgbClosingParenthesisIsOptionalAndExtraNumbersIgnored)
{
    EXPECT_EQ(vs::parseColourText("RGB(10,20,30"), rgb(10, 20, 30));
    EXPECT_EQ(vs::parseColourText("RGB(1,2,3,4)"), rgb(1, 2, 3));
}

TEST(ColourTextTest, HashReadsSixHexDigitsInEitherCase)
{
    EXPECT_EQ(vs::parseColourText("#ff8000"), rgb(255, 128, 0));
    EXPECT_EQ(vs::parseColourText("#FF8000"), rgb(255, 128, 0));
    EXPECT_EQ(vs::parseColourText("#0a0B0c trailing"), rgb(10, 11, 12));
}

TEST(ColourTextTest, OtherTextGivesZero)
{
    EXPECT_EQ(vs::parseColourText(nullptr), 0u);
    EXPECT_EQ(vs::parseColourText(""), 0u);
    EXPECT_EQ(vs::parseColourText("#12345"), 0u);
    EXPECT_EQ(vs::parseColourText("#GG0000"), 0u);
    EXPECT_EQ(vs::parseColourText("#"), 0u);
    EXPECT_EQ(vs::parseColourText("red"), 0u);
    EXPECT_EQ(vs::parseColourText("RG"), 0u);
    EXPECT_EQ(vs::parseColourText(" RGB(1,2,3)"), 0u);
}

} // namespace
