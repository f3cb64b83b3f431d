// The host's design text: nesting bounded where it is read, indentation bounded where it is
// written, and the text read back unchanged.
#include "HostDesign.h"
#include "IndentedXml.h"
#include "VantrelSolid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>

using vhost::HostDesign;

namespace {

/** A design element with `levels` - 1 nested children: `levels` levels in all. */
std::string nested(int levels)
{
    std::string text = "<design id='1' gridWidth='6000' gridHeight='6000' "
                       "outlinePoints='0,0 6000,0 6000,6000 0,6000'>";
    for (int i = 1; i < levels; ++i)
        text += "<children><plane id='" + std::to_string(i + 1) + "'>";
    for (int i = 1; i < levels; ++i)
        text += "</plane></children>";
    return text + "</design>";
}

std::string nestedPlain(int levels)
{
    std::string text = "<design>";
    for (int i = 1; i < levels; ++i)
        text += "<a>";
    for (int i = 1; i < levels; ++i)
        text += "</a>";
    return text + "</design>";
}

} // namespace

TEST(DesignTextTest, NestingAtTheModulesLimitIsReadAndOneLevelMoreIsRefused)
{
    EXPECT_NO_THROW(HostDesign::fromText(nestedPlain(VS_MAX_DESIGN_DEPTH)));
    try {
        HostDesign::fromText(nestedPlain(VS_MAX_DESIGN_DEPTH + 1));
        FAIL() << "a design one level too deep was read";
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find("256 levels deep"), std::string::npos)
            << error.what();
    }
    EXPECT_THROW(HostDesign::fromText(nestedPlain(100000)), std::invalid_argument);
}

TEST(DesignTextTest, DeepDesignsAreWrittenInProportionToTheirElements)
{
    // Two elements a level; indenting every level would write about 4 * 127^2 blanks more.
    const std::string text = HostDesign::fromText(nested(127)).text();
    const size_t elements = 1 + 2 * 126;
    EXPECT_LT(text.size(), elements * (40 + 2 * vhost::kMaxIndentedLevels)) << text.size();
    // And it reads back to the same tree.
    const HostDesign again = HostDesign::fromText(text);
    EXPECT_TRUE(again.plane(127));
    EXPECT_EQ(again.text(), text);
}

TEST(DesignTextTest, ShallowDesignsAreIndentedExactlyAsBefore)
{
    // Every bundled design: the text matches the parser's own indented output.
    int designs = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(VS_TEST_SOURCE_DIR) + "/data/designs")) {
        const HostDesign design = HostDesign::load(entry.path().string());
        pugi::xml_document reference;
        ASSERT_TRUE(reference.load_string(design.text().c_str(), pugi::parse_default |
                                                                     pugi::parse_declaration |
                                                                     pugi::parse_comments));
        std::ostringstream expected;
        reference.save(expected, "  ", pugi::format_default, pugi::encoding_utf8);
        EXPECT_EQ(design.text(), expected.str()) << entry.path();
        ++designs;
    }
    EXPECT_GE(designs, 5);
}

TEST(DesignTextTest, AttributeValuesAndTextSurviveTheWriter)
{
    const std::string value = "a&b<c>\"d'\n\te\xE5\xA2\x99";
    pugi::xml_document source;
    pugi::xml_node design = source.append_child("design");
    design.append_attribute("name").set_value(value.c_str());
    design.append_child("note").text().set("  two\n    lines <kept>  ");
    design.append_child(pugi::node_comment).set_value(" a comment ");
    pugi::xml_node deep = design;
    for (int i = 0; i < vhost::kMaxIndentedLevels + 4; ++i)
        deep = deep.append_child("level");
    deep.append_attribute("v").set_value(value.c_str());

    const std::string text = vhost::indentedText(source);
    pugi::xml_document back;
    ASSERT_TRUE(back.load_string(text.c_str(), pugi::parse_default | pugi::parse_comments));
    pugi::xml_node read = back.child("design");
    EXPECT_EQ(std::string(read.attribute("name").value()), value);
    EXPECT_EQ(std::string(read.child("note").text().get()), "  two\n    lines <kept>  ");
    EXPECT_EQ(
        std::string(read.find_child([](pugi::xml_node n) { return n.type() == pugi::node_comment; })
                        .value()),
        " a comment ");
    pugi::xml_node last = read;
    for (int i = 0; i < vhost::kMaxIndentedLevels + 4; ++i)
        last = last.child("level");
    EXPECT_EQ(std::string(last.attribute("v").value()), value);
}
