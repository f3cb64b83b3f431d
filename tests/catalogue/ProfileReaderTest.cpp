#include "catalogue/ProfileXml.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <stdexcept>
#include <string>

using namespace profilexml;

namespace {

std::string readError(const std::string& text)
{
    try {
        vs::readProfile(text);
    } catch (const std::invalid_argument& error) {
        return error.what();
    }
    return "(no error)";
}

std::string square(const std::string& firstAttributes, const std::string& creases = "")
{
    return profile({contour(
        1, false,
        {point("0,0", firstAttributes, creases), point("100,0"), point("100,50"), point("0,50")})});
}

// A V-shaped crease pattern 10 wide.
std::string vPattern(int id)
{
    return contour(id, true, {point("0,0"), point("5,-3"), point("10,0")});
}

TEST(ProfileReaderTest, ReadsContoursMaterialsAndPivot)
{
    auto p = read(profile({contour(4, false,
                                   {point("0,0", R"~(color="RGB(1,2,3)")~"),
                                    point("100,0,7", R"(pictureField="face" isPivotPoint="true"
                                      faceupHeightPart1="50" faceupHeightPart2="-20.5")"),
                                    point("100,50")}),
                           contour(9, true, {point("0,0"), point("10,0")})}));
    ASSERT_EQ(p->contours.size(), 2u);
    const CContour& c = *p->contours[0];
    EXPECT_EQ(c.id, 4);
    EXPECT_FALSE(c.isCrease);
    EXPECT_TRUE(p->contours[1]->isCrease);
    ASSERT_EQ(c.vertices.size(), 3u);
    ASSERT_TRUE(c.vertices[0]->material);
    EXPECT_EQ(c.vertices[0]->material->colour, 0x030201u);
    EXPECT_FALSE(c.vertices[0]->material->isPicture());
    ASSERT_TRUE(c.vertices[1]->material);
    EXPECT_EQ(c.vertices[1]->material->pictureField, "face");
    EXPECT_FALSE(c.vertices[2]->material);
    EXPECT_EQ(p->pivot, c.vertices[1].get());
    EXPECT_EQ(p->faceupHeightPart1, 50);
    EXPECT_EQ(p->faceupHeightPart2, -20.5);
    EXPECT_EQ(c.vertices[0]->next, c.vertices[1].get());
    EXPECT_EQ(c.vertices[0]->previous, c.vertices[2].get());
}

TEST(ProfileReaderTest, PivotOnlyFromDrawnContoursAndFirstWins)
{
    auto p = read(profile({contour(2, true, {point("5,5", R"(isPivotPoint="true")")}),
                           contour(1, false,
                                   {point("0,0"), point("10,0", R"(isPivotPoint="true")"),
                                    point("10,10", R"(isPivotPoint="true")")})}));
    ASSERT_NE(p->pivot, nullptr);
    EXPECT_EQ(p->pivot->position().x, 10);
    EXPECT_EQ(p->pivot->position().y, 0);
    // "True" is not a true bool in these texts.
    EXPECT_EQ(read(square(R"(isPivotPoint="True")"))->pivot, nullptr);
}

TEST(ProfileReaderTest, NumberCountChoosesThePointKind)
{
    auto p = read(
        profile({contour(1, false,
                         {point("0,0"), point("100,0,0,100,25,25,-90,90,0,0,0,0,0"),
                          point("100,50,0,90,40,10,0,90,1,0,0,0,0,3,1,2,3,4"), point("0 50 9")})}));
    const auto& v = p->contours[0]->vertices;
    EXPECT_EQ(v[0]->point->kind(), 0);
    EXPECT_EQ(v[1]->point->kind(), 1);
    EXPECT_EQ(v[2]->point->kind(), 2);
    EXPECT_EQ(v[3]->point->kind(), 0);
    const auto& self = static_cast<const RPointSelfArc&>(*v[2]->point);
    EXPECT_EQ(self.startValue, 90); // reversed flag set: the eighth number starts
    EXPECT_EQ(self.p13, 3);
}

TEST(ProfileReaderTest, ReadsCreaseFields)
{
    auto p = read(profile(
        {vPattern(7), contour(1, false,
                              {point("0,0", "",
                                     crease(R"(creaseTypeContourId="7" repeatCount="2" len="12.5"
                                  scale="2,0.5" useOwnMaterial="TRUE" pos1="3" pos2="90"
                                  color1="#010203" pictureField2="side")") +
                                         crease(R"(creaseTypeContourId="7" repeatCount="1"
                                      pos1="1.7976931348623157e308" pos2="1.8e308")")),
                               point("100,0"), point("100,50")})}));
    const auto& creases = p->contours[1]->vertices[0]->creases;
    ASSERT_EQ(creases.size(), 2u);
    const CCreases& c = *creases[0];
    EXPECT_EQ(c.creaseTypeContourId, 7);
    EXPECT_EQ(c.repeatCount, 2);
    EXPECT_EQ(c.len, 12.5);
    EXPECT_EQ(c.scale.x, 2);
    EXPECT_EQ(c.scale.y, 0.5);
    EXPECT_TRUE(c.useOwnMaterial);
    EXPECT_EQ(c.pos1, 3);
    EXPECT_EQ(c.pos2, 90);
    ASSERT_TRUE(c.firstMaterial);
    EXPECT_EQ(c.firstMaterial->colour, 0x030201u);
    ASSERT_TRUE(c.secondMaterial);
    EXPECT_EQ(c.secondMaterial->pictureField, "side");
    EXPECT_EQ(c.pattern, p->contours[0].get());
    // The largest double, and a text rounded beyond it, both mean "not given".
    EXPECT_EQ(creases[1]->pos1, CCreases::kNotGiven);
    EXPECT_EQ(creases[1]->pos2, CCreases::kNotGiven);
    EXPECT_EQ(creases[1]->scale.x, 1);
    EXPECT_FALSE(creases[1]->useOwnMaterial);
}

TEST(ProfileReaderTest, PatternsResolveWhereverTheyAreAndOnlyAmongCreaseContours)
{
    auto p = read(profile({contour(1, false,
                                   {point("0,0", "",
                                          crease(R"(creaseTypeContourId="7" repeatCount="1")") +
                                              crease(R"(creaseTypeContourId="1" repeatCount="1")") +
                                              crease(R"(creaseTypeContourId="8")")),
                                    point("100,0"), point("100,50")}),
                           vPattern(7)}));
    const auto& creases = p->contours[0]->vertices[0]->creases;
    EXPECT_EQ(creases[0]->pattern, p->contours[1].get()); // declared after its use
    EXPECT_EQ(creases[1]->pattern, nullptr);              // names a drawn contour
    EXPECT_EQ(creases[2]->pattern, nullptr);              // names nothing
    EXPECT_EQ(creases[2]->copies, 0);
    EXPECT_EQ(creases[2]->periodLength, 0);
}

TEST(ProfileReaderTest, ListItemsAreElementsOfAnyTag)
{
    auto p = read("<contours><!-- c --><c id='3'><points>text<p value='0,0'/><q value='1,0'/>"
                  "<?pi?><r value='1,1'/></points></c></contours>");
    ASSERT_EQ(p->contours.size(), 1u);
    EXPECT_EQ(p->contours[0]->id, 3);
    EXPECT_EQ(p->contours[0]->vertices.size(), 3u);
    EXPECT_TRUE(read("<profile/>")->contours.empty());
}

TEST(ProfileReaderTest, MalformedTextIsRejectedWithItsPlace)
{
    struct Case
    {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"", "not XML"},
        {"<profile><contours>", "not XML"},
        {"just text", "not XML"},
        {square(""), "(no error)"},
        {profile({contour(1, false, {point("0,0"), point("1,2,3,4,5")})}),
         "contour 1, point 2: value of 5 numbers is no profile point"},
        {profile({contour(1, false, {point("7")})}), "at least two numbers"},
        {profile({contour(1, false, {point("")})}), "at least two numbers"},
        {profile({contour(1, false, {point("nan,0")})}), "not finite"},
        {profile({contour(1, false, {point("0,inf")})}), "not finite"},
        {profile({contour(1, false, {point("0,1e10")})}), "out of range"},
        {square(R"(isPivotPoint="true" faceupHeightPart1="nan")"), "faceupHeightPart1"},
        {"<contours><c id='99999999999'/></contours>", "id \"99999999999\" is out of range"},
        {square(R"~(color="RGB(1,2)")~"), "contour 1, point 1: colour"},
        {square("", crease(R"(scale="2")")), "crease 1: scale needs two numbers"},
        {square("", crease(R"(scale="1,nan")")), "scale"},
        {square("", crease(R"(len="-inf")")), "len"},
        {square("", crease(R"(pos1="nan")")), "pos1"},
        {square("", crease(R"(repeatCount="4294967296")")), "repeatCount"},
    };
    for (const Case& c : cases) {
        std::string message = readError(c.text);
        EXPECT_NE(message.find(c.message), std::string::npos)
            << "text: " << c.text << "\nmessage: " << message;
    }
}

TEST(ProfileReaderTest, CreaseRepeatsAreCapped)
{
    auto withCrease = [](const std::string& attributes) {
        return profile({vPattern(7), contour(1, false,
                                             {point("0,0", "", crease(attributes)), point("100,0"),
                                              point("100,50")})});
    };
    std::string limit = std::to_string(CCreases::kMaxRepeats);
    EXPECT_EQ(readError(withCrease("creaseTypeContourId='7' repeatCount='" + limit + "'")),
              "(no error)");
    EXPECT_NE(readError(withCrease("creaseTypeContourId='7' repeatCount='" +
                                   std::to_string(CCreases::kMaxRepeats + 1) + "'"))
                  .find("at most"),
              std::string::npos);
    EXPECT_NE(
        readError(withCrease("creaseTypeContourId='7' repeatCount='2147483647'")).find("at most"),
        std::string::npos);
    // Fitting a long stretch with a tiny pattern is capped the same way.
    EXPECT_NE(
        readError(withCrease("creaseTypeContourId='7' len='1e9' scale='1e-6,1'")).find("at most"),
        std::string::npos);
    // Negative or absurd periods draw nothing rather than failing.
    EXPECT_EQ(readError(withCrease("creaseTypeContourId='7' repeatCount='-5' len='-100'")),
              "(no error)");
    EXPECT_EQ(readError(withCrease("creaseTypeContourId='7' len='100' scale='-1,1'")),
              "(no error)");
}

TEST(ProfileReaderTest, ProfilesEvaluatingToTooManyPointsAreRejected)
{
    // 40 pattern vertices x 10000 copies is beyond the point limit.
    std::string pattern = "<contour id='7' isCrease='true'><points>";
    for (int i = 0; i < 40; ++i)
        pattern += "<p value='" + std::to_string(i) + "," + std::to_string(i % 2) + "'/>";
    pattern += "</points></contour>";
    std::string text = profile(
        {pattern, contour(1, false,
                          {point("0,0", "", crease("creaseTypeContourId='7' repeatCount='10000'")),
                           point("100,0"), point("100,50")})});
    EXPECT_NE(readError(text).find("more than"), std::string::npos);
}

TEST(ProfileReaderTest, HostileTextEndsInAnErrorOrAProfile)
{
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    EXPECT_NE(readError(deep).find("not XML"), std::string::npos);
    for (int i = 0; i < 200000; ++i)
        deep += "</a>";
    EXPECT_EQ(readError(deep), "(no error)");

    std::string many = "<contours>";
    for (int i = 0; i < 20000; ++i)
        many += "<c><points><p value='0,0'/><p value='1,0'/><p value='1,1'/></points></c>";
    many += "</contours>";
    EXPECT_EQ(read(many)->contours.size(), 20000u);

    std::string longValue(1 << 20, ',');
    EXPECT_NE(readError(profile({contour(1, false, {point(longValue)})})).find("two numbers"),
              std::string::npos);
    EXPECT_NE(readError(std::string("<contours>\0</contours>", 22)), "");
}

} // namespace

#ifdef VS_TEST_SOURCE_DIR
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(ProfileReaderTest, FuzzSeedsAreValidProfiles)
{
    namespace fs = std::filesystem;
    size_t seeds = 0;
    for (const auto& entry :
         fs::directory_iterator(fs::path(VS_TEST_SOURCE_DIR) / "fuzz" / "corpus" / "profile")) {
        std::ifstream file(entry.path(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        auto p = vs::readProfile(text.str());
        EXPECT_FALSE(p->evaluate().empty()) << entry.path();
        ++seeds;
    }
    EXPECT_GE(seeds, 3u);
}

} // namespace
#endif
