// Designs made to break the reader: deep nesting, absurd numbers, huge counts.
#include "DesignTexts.h"
#include "FakeDesignCatalogue.h"

#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace designs;

namespace {

std::string nested(const std::string& open, const std::string& close, int depth)
{
    std::string text;
    text.reserve((open.size() + close.size()) * static_cast<size_t>(depth));
    for (int i = 0; i < depth; ++i)
        text += open;
    for (int i = 0; i < depth; ++i)
        text += close;
    return text;
}

void expectRefused(const std::string& text)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    EXPECT_THROW(vs::readDesign(text, document, 1, catalogue), std::invalid_argument)
        << text.substr(0, 200);
}

} // namespace

TEST(DesignHostileTest, PlanesNestedBeyondTheLimitAreRefusedWithoutRecursingOn)
{
    expectRefused(room("", nested("<children><c>", "</c></children>", 100000)));
}

TEST(DesignHostileTest, FacilityGroupsNestedBeyondTheLimitAreRefused)
{
    std::string groups = nested("<children><f facilityModelId='100'>", "</f></children>", 100000);
    expectRefused(room("", solid(viewState() +
                                 "<walls><wall/></walls><solidFacilities>"
                                 "<f facilityModelId='100'>" +
                                 groups + "</f></solidFacilities>")));
}

TEST(DesignHostileTest, NestingWithinTheLimitIsRead)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    std::string groups = nested("<children><f facilityModelId='100'>", "</f></children>", 40);
    vs::readDesign(room("", nested("<children><c>", "</c></children>", 40) +
                                solid(viewState() +
                                      "<walls><wall/></walls><solidFacilities>"
                                      "<f facilityModelId='100'>" +
                                      groups + "</f></solidFacilities>")),
                   document, 1, catalogue);
    int depth = 0;
    for (const CGridMapping* p = document.ceiling->root.get(); !p->children.empty();
         p = p->children[0].get())
        ++depth;
    EXPECT_EQ(depth, 40);
    EXPECT_FALSE(vs::writeSolid(document).empty());
}

TEST(DesignHostileTest, NonFiniteAndAbsurdCeilingNumbersAreRefused)
{
    expectRefused("<design gridWidth='6000' gridHeight='6000' outlinePoints='0,0 nan,0 1,1'/>");
    expectRefused("<design gridWidth='6000' gridHeight='6000' outlinePoints='0,0 inf,0 1,1'/>");
    expectRefused("<design gridWidth='6000' gridHeight='6000' outlinePoints='0,0 1e300,0 1,1'/>");
    expectRefused(room("hoist='1' rotateDegree='nan'"));
    expectRefused(room("hoist='1' indent='-inf'"));
    expectRefused(room("realGridOffset='nan,0'"));
    expectRefused(room("", "<hosts><h hostTypeId='12' rx='inf' ry='0'/></hosts>"));
}

TEST(DesignHostileTest, ZeroNegativeOrTinyGridSizesAreRefused)
{
    const char* outline = " outlinePoints='0,0 60000,0 60000,40000 0,40000'/>";
    expectRefused(std::string("<design gridWidth='0' gridHeight='6000'") + outline);
    expectRefused(std::string("<design gridWidth='6000' gridHeight='-5'") + outline);
    expectRefused(std::string("<design gridWidth='6000'") + outline);
    // One cell per decimillimetre over 100 km would be 10^9 columns.
    expectRefused("<design gridWidth='1' gridHeight='1' outlinePoints='0,0 999999999,0 0,1'/>");
    expectRefused(room("specialGridCols='1,0'"));
    expectRefused(room("specialGridRows='1,-600'"));
}

TEST(DesignHostileTest, HugeGridIndicesAndSizesAreRefused)
{
    expectRefused(room("", "<tiles><t tileTypeId='11' gx='2147483647' gy='0'/></tiles>"));
    expectRefused(room("", "<hosts><h hostTypeId='12' gx='0' gy='-2147483648'/></hosts>"));
    expectRefused(room("specialGridCols='2000000000,600'"));
    expectRefused(
        room("", "<tiles><t tileTypeId='11' widthInMm='-600' heightInMm='600'/></tiles>"));
    expectRefused(room("", "<tiles><t tileTypeId='11' widthInMm='2147483647' heightInMm='1'/>"
                           "</tiles>"));
}

TEST(DesignHostileTest, AbsurdSolidNumbersDoNotBreakReadingOrWriting)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    std::string body = viewState("viewMode='0x7fffffff'") +
                       "<floor ceramicTileSize='2147483647,-2147483648'/>"
                       "<walls><wall index='-1'/><wall index='0'><wallParts><p height='nan' "
                       "ceramicTileSize='99999999999,1'/></wallParts></wall></walls>"
                       "<solidFacilities><f facilityModelId='100' position='nan,inf,-inf' "
                       "size='1e39,0,0' stickWallIndex='99999999999'/></solidFacilities>";
    vs::readDesign(
        room("", "<solid outlinePoints='0,0 6000,0 6000,4000 0,4000'>" + body + "</solid>"),
        document, 1, catalogue);
    // The negative index names no edge: walls 0, then copies for edges 2 and 3.
    ASSERT_EQ(document.walls.size(), 3u);
    EXPECT_EQ(document.walls[0]->index, 0);
    EXPECT_EQ(document.floor->ceramicTileSize.width, 2147483647);
    std::string text = vs::writeSolid(document);
    EXPECT_NE(text.find("nan"), std::string::npos);
    CSolidDocument again;
    vs::readDesign(room("", text), again, 1, catalogue);
    EXPECT_EQ(again.solidFacilities.size(), 1u);
}

TEST(DesignHostileTest, ManyItemsAreReadInLinearTime)
{
    std::string tiles = "<tiles>";
    for (int i = 0; i < 20000; ++i)
        tiles += "<t tileTypeId='11' gx='" + std::to_string(i % 10) + "' gy='" +
                 std::to_string(i / 10 % 7) + "'/>";
    tiles += "</tiles>";
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    vs::readDesign(room("", tiles), document, 1, catalogue);
    EXPECT_EQ(document.ceiling->root->tiles.size(), 20000u);
}

TEST(DesignHostileTest, CeilingScaleBelowOneIsRefused)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    EXPECT_THROW(vs::readDesign(room(), document, 0, catalogue), std::invalid_argument);
    EXPECT_THROW(vs::readDesign(room(), document, -10, catalogue), std::invalid_argument);
}
