#include "document/XmlValues.h"
#include "document/XmlNames.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <stdexcept>

using namespace vs;

TEST(XmlIntTest, ReadsLikeScanfPercentI)
{
    EXPECT_EQ(readInt("42"), 42);
    EXPECT_EQ(readInt("  -7"), -7);
    EXPECT_EQ(readInt("0x1F"), 31);
    EXPECT_EQ(readInt("0X10"), 16);
    EXPECT_EQ(readInt("010"), 8); // leading zero: octal
    EXPECT_EQ(readInt("09"), 0);  // octal stops at the 9
    EXPECT_EQ(readInt("12abc"), 12);
    EXPECT_EQ(readInt("3.9"), 3);
}

TEST(XmlIntTest, NoNumberGivesTheDefaultAndHugeValuesClamp)
{
    EXPECT_EQ(readInt(""), 0);
    EXPECT_EQ(readInt("abc", -1), -1);
    EXPECT_EQ(readInt(nullptr, 5), 5);
    EXPECT_EQ(readInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(readInt("-4294967296"), INT_MIN);
}

TEST(XmlDoubleTest, PassesThroughSinglePrecision)
{
    EXPECT_EQ(readDouble("0.1"), static_cast<double>(0.1f));
    EXPECT_NE(readDouble("0.1"), 0.1);
    EXPECT_EQ(readDouble("123456789"), static_cast<double>(123456792.0f));
    EXPECT_EQ(readDouble("-2.5e3"), -2500.0);
    EXPECT_EQ(readDouble("", -1), -1);
    EXPECT_EQ(readDouble("x", 7), 7);
    EXPECT_TRUE(std::isnan(readDouble("nan")));
    EXPECT_TRUE(std::isinf(readDouble("-inf")));
}

TEST(XmlBoolTest, OnlyExactSpellingsCount)
{
    EXPECT_TRUE(readBool("true"));
    EXPECT_TRUE(readBool("TRUE"));
    EXPECT_FALSE(readBool("false", true));
    EXPECT_FALSE(readBool("FALSE", true));
    EXPECT_FALSE(readBool("True"));
    EXPECT_FALSE(readBool("1"));
    EXPECT_TRUE(readBool("1", true));
    EXPECT_TRUE(readBool("", true));
    EXPECT_TRUE(readBool(" true", true) && !readBool(" true"));
}

TEST(XmlCompoundValueTest, VectorsNeedThreeNumbers)
{
    Vec3f v = readVector("1, 2 3", 10);
    EXPECT_EQ(v, (Vec3f{10, 20, 30}));
    EXPECT_EQ(readVector(""), Vec3f());
    EXPECT_THROW(readVector("1,2"), std::invalid_argument);
    EXPECT_THROW(readVector(","), std::invalid_argument);
}

TEST(XmlCompoundValueTest, FourFloatsAreRequired)
{
    auto q = readFourFloats("0,0.5 1,1");
    EXPECT_EQ(q[1], 0.5f);
    EXPECT_THROW(readFourFloats(""), std::invalid_argument);
    EXPECT_THROW(readFourFloats("1,2,3"), std::invalid_argument);
}

TEST(XmlCompoundValueTest, TriplesSplitAtCommasOnly)
{
    auto t = readTriple("1.5,2,3");
    EXPECT_EQ(t[0], 1.5);
    EXPECT_EQ(readTriple("")[2], 0);
    EXPECT_THROW(readTriple("1 2 3"), std::invalid_argument);
    EXPECT_THROW(readTriple("1,2"), std::invalid_argument);
}

TEST(XmlCompoundValueTest, IntPairsAndIndexSizeLists)
{
    EXPECT_EQ(readIntPair("300,200"), (IntSize{300, 200}));
    EXPECT_EQ(readIntPair("300"), (IntSize{300, 0}));
    EXPECT_EQ(readIntPair("", {4, 5}), (IntSize{4, 5}));
    auto list = readIndexSizeList("-1,300 2 0x10 7", 10);
    ASSERT_EQ(list.size(), 2u); // the odd 7 is ignored
    EXPECT_EQ(list[0], std::make_pair(-1, 3000));
    EXPECT_EQ(list[1], std::make_pair(2, 160));
    EXPECT_EQ(readIndexSizeList("1,2147483647", 10)[0].second, INT_MAX);
}

TEST(XmlValueFormatTest, WrittenFormsReadBack)
{
    EXPECT_EQ(formatBool(true), "true");
    EXPECT_EQ(formatBool(false), "");
    EXPECT_EQ(formatIntPair({3, -4}), "3,-4");
    EXPECT_EQ(formatVector({1, 0.5f, -2}), "1.000000000000,0.500000000000,-2.000000000000");
    EXPECT_EQ(formatFourFloats(0, 0, 0, 1), "0.000000,0.000000,0.000000,1.000000");
    EXPECT_EQ(formatDouble(24000), "24000");
    EXPECT_EQ(formatDouble(-0.25), "-0.25");
    for (double v : {0.1, 1e-30, 3.4e38, -123.456})
        EXPECT_EQ(readDouble(formatDouble(v).c_str()), static_cast<double>(static_cast<float>(v)));
    EXPECT_EQ(formatDouble(NAN), "nan");
}

TEST(XmlValueFormatTest, ScaleIntTruncatesAndClamps)
{
    EXPECT_EQ(scaleInt(12.9, 1), 12);
    EXPECT_EQ(scaleInt(-12.9, 1), -12);
    EXPECT_EQ(scaleInt(300000000, 10), INT_MAX);
    EXPECT_EQ(scaleInt(NAN, 10), 0);
}

class XmlNamesTest : public ::testing::Test
{
protected:
    pugi::xml_node parse(const char* text)
    {
        document.load_string(text);
        return document.document_element();
    }
    pugi::xml_document document;
};

TEST_F(XmlNamesTest, LongNameWinsAndEmptyLongNameFallsBack)
{
    pugi::xml_node e = parse("<v viewMode='6' _dl='2' workMode='' _dm='1' fov='80'/>");
    EXPECT_STREQ(attributeText(e, "viewMode$_dl"), "6");
    EXPECT_STREQ(attributeText(e, "workMode$_dm"), "1");
    EXPECT_STREQ(attributeText(e, "fov"), "80");
    EXPECT_STREQ(attributeText(e, "cameraYaw$_dr"), "");
    EXPECT_TRUE(hasAttribute(e, "workMode$_dm"));
    EXPECT_FALSE(hasAttribute(e, "cameraYaw$_dr"));
    EXPECT_STREQ(attributeText(pugi::xml_node(), "viewMode$_dl"), "");
    EXPECT_STREQ(writtenName("viewMode$_dl"), "_dl");
    EXPECT_STREQ(writtenName("decimillimeter"), "decimillimeter");
}

TEST_F(XmlNamesTest, ChildByEitherNameFirstMatchWins)
{
    pugi::xml_node e = parse("<d><x/><_dk id='1'/><viewState id='2'/><floorX/></d>");
    EXPECT_STREQ(childElement(e, "viewState$_dk").attribute("id").value(), "1");
    EXPECT_FALSE(childElement(e, "floor$_ct"));
    EXPECT_FALSE(childElement(e, "viewstate$_DK")); // case-sensitive
}

TEST_F(XmlNamesTest, ListItemsAreAllChildNodesWhateverTheirTag)
{
    pugi::xml_node e = parse("<d><_an><a k='1'/>text<b k='2'/></_an></d>");
    int items = 0;
    int empty = 0;
    for (pugi::xml_node item : listItems(e, "tiles$_an")) {
        ++items;
        if (!*attributeText(item, "k"))
            ++empty;
    }
    EXPECT_EQ(items, 3);
    EXPECT_EQ(empty, 1);
    int none = 0;
    for (pugi::xml_node item : listItems(e, "hosts$_ao")) {
        (void)item;
        ++none;
    }
    EXPECT_EQ(none, 0);
}
