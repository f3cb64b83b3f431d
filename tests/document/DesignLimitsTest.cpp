// The bounds a design text must keep: element nesting, outline points, tiles stacked on one
// cell, and how much of an offending value an error message quotes.
#include "DesignTexts.h"
#include "FakeDesignCatalogue.h"

#include "ceiling/DesignReader.h"
#include "document/CCandiesSameTop.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CTile.h"
#include "document/SolidCeiling.h"
#include "document/XmlDepth.h"
#include "platform/QuotedValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

using namespace designs;

namespace {

/** A design element holding `levels` - 1 nested unknown elements: `levels` levels in all. */
std::string nestedDesign(int levels)
{
    std::string text = "<design gridWidth='6000' gridHeight='6000' "
                       "outlinePoints='0,0 60000,0 60000,40000 0,40000'>";
    for (int i = 1; i < levels; ++i)
        text += "<x>";
    for (int i = 1; i < levels; ++i)
        text += "</x>";
    return text + "</design>";
}

std::string errorOf(const std::string& text)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    try {
        vs::readDesign(text, document, 1, catalogue);
    } catch (const std::invalid_argument& error) {
        return error.what();
    }
    return {};
}

std::string outline(size_t points)
{
    // Points on a circle of 10 m: a polygon with every point a corner.
    std::string text;
    for (size_t i = 0; i < points; ++i) {
        const double a = 6.283185307179586 * double(i) / double(points);
        text += std::to_string(int(100000 + 100000 * std::cos(a))) + "," +
                std::to_string(int(100000 + 100000 * std::sin(a))) + " ";
    }
    return text;
}

} // namespace

TEST(DesignLimitsTest, NestingAtTheLimitIsReadAndOneLevelMoreIsRefused)
{
    EXPECT_EQ(errorOf(nestedDesign(vs::kMaxDesignXmlDepth)), "");
    const std::string error = errorOf(nestedDesign(vs::kMaxDesignXmlDepth + 1));
    EXPECT_NE(error.find("256 levels"), std::string::npos) << error;
    // Far deeper text is refused the same way, without walking it all.
    EXPECT_NE(errorOf(nestedDesign(200000)).find("levels deep"), std::string::npos);
}

TEST(DesignLimitsTest, ElementDepthCountsElementsOnlyAndStopsPastTheLimit)
{
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string("<a><!-- c --><b>text<c/></b><d><e><f/></e></d>tail</a>"));
    EXPECT_EQ(vs::elementDepth(xml, 10), 4);
    EXPECT_EQ(vs::elementDepth(xml, 2), 3);
    pugi::xml_document empty;
    EXPECT_EQ(vs::elementDepth(empty, 10), 0);
}

TEST(DesignLimitsTest, OutlinePointsBeyondTheCapAreRefusedWithACount)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    const std::string head = "<design gridWidth='6000' gridHeight='6000' outlinePoints='";
    vs::readDesign(head + outline(vs::kMaxOutlinePoints) + "'/>", document, 1, catalogue);
    EXPECT_EQ(document.ceiling->root->outlinePoints.size(), vs::kMaxOutlinePoints);
    const std::string error = errorOf(head + outline(vs::kMaxOutlinePoints + 1) + "'/>");
    EXPECT_NE(error.find(std::to_string(vs::kMaxOutlinePoints + 1) + " points"), std::string::npos)
        << error;
}

TEST(DesignLimitsTest, TilesStackedOnOneCellKeepReadingOrderAndAreAllRead)
{
    // 100 000 tiles on one cell: an index that scans its band per tile takes minutes here.
    std::string tiles = "<tiles>";
    for (int i = 0; i < 100000; ++i)
        tiles +=
            "<t tileTypeId='11' gx='3' gy='2' rotateDegree='" + std::to_string(i % 4 * 90) + "'/>";
    tiles += "<t tileTypeId='11' gx='1' gy='2'/><t tileTypeId='11' gx='5' gy='2'/></tiles>";
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    vs::readDesign(room("", tiles), document, 1, catalogue);
    const CGridMapping& root = *document.ceiling->root;
    ASSERT_EQ(root.tiles.size(), 100002u);
    ASSERT_EQ(root.sameTopIndex.size(), 1u);
    const std::vector<CTile*>& band = root.sameTopIndex[0]->candies;
    ASSERT_EQ(band.size(), 100002u);
    // Sorted by column; equal columns in the order read.
    EXPECT_EQ(band.front(), root.tiles[100000].get());
    EXPECT_EQ(band[1], root.tiles[0].get());
    EXPECT_EQ(band[100000], root.tiles[99999].get());
    EXPECT_EQ(band.back(), root.tiles[100001].get());
}

TEST(DesignLimitsTest, AnOffendingValueIsQuotedShortInTheMessage)
{
    // A ten-megabyte position that holds no numbers at all.
    const std::string huge(10 << 20, 'x');
    const std::string error =
        errorOf(room("", solidWithWall(viewState() +
                                       "<solidFacilities><f facilityModelId='100' "
                                       "position='" +
                                       huge + "'/></solidFacilities>")));
    ASSERT_FALSE(error.empty());
    EXPECT_LT(error.size(), 200u) << error.substr(0, 300);
    EXPECT_NE(error.find(std::string(80, 'x') + "\xE2\x80\xA6\""), std::string::npos) << error;
}

TEST(QuotedValueTest, ShortValuesStayWholeAndLongOnesAreCutBetweenCharacters)
{
    EXPECT_EQ(vs::quoteValue("1,2"), "\"1,2\"");
    EXPECT_EQ(vs::quoteValue(""), "\"\"");
    EXPECT_EQ(vs::quoteValue(std::string(80, 'a')), "\"" + std::string(80, 'a') + "\"");
    EXPECT_EQ(vs::quoteValue(std::string(81, 'a')), "\"" + std::string(80, 'a') + "\xE2\x80\xA6\"");
    // Three-byte characters are counted as characters and never split.
    std::string wide;
    for (int i = 0; i < 100; ++i)
        wide += "\xE5\xA2\x99"; // 墙
    const std::string quoted = vs::quoteValue(wide, 5);
    EXPECT_EQ(quoted, "\"" + wide.substr(0, 15) + "\xE2\x80\xA6\"");
    // Line breaks would split the one-line message.
    EXPECT_EQ(vs::quoteValue("a\nb\tc"), "\"a b c\"");
}
