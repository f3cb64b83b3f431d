#include "platform/TextCodec.h"
#include "support/TestLocales.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

/** Switches LC_CTYPE to GBK, the target systems' code set, and back to "C" afterwards. */
class GbkLocale : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!testsupport::switchToBuiltLocale(LC_CTYPE, "zh_CN", "GBK"))
            GTEST_SKIP() << "localedef cannot build a GBK locale here";
    }
    void TearDown() override { testsupport::restoreCLocale(); }
};

} // namespace

TEST(TextCodecTest, CLocaleCountsAsUtf8)
{
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(vs::hostCodeset(), "UTF-8");
    EXPECT_EQ(vs::hostToUtf16("扣板"), u"扣板");
    EXPECT_EQ(vs::utf16ToHost(u"条扣板"), "条扣板");
    EXPECT_EQ(vs::hostToUtf8("电器"), "电器");
}

TEST(TextCodecTest, NullAndEmptyGiveEmpty)
{
    EXPECT_EQ(vs::hostToUtf16(static_cast<const char*>(nullptr)), u"");
    EXPECT_EQ(vs::utf16ToHost(static_cast<const char16_t*>(nullptr)), "");
    EXPECT_EQ(vs::hostToUtf8(nullptr), "");
    EXPECT_EQ(vs::utf8ToHost(""), "");
}

TEST(TextCodecTest, InvalidBytesBecomeReplacementsNotTruncation)
{
    std::setlocale(LC_CTYPE, "C");
    // A stray continuation byte in the middle: the text on both sides survives.
    EXPECT_EQ(vs::hostToUtf16("ab\x80"
                              "cd"),
              u"ab\uFFFDcd");
    EXPECT_EQ(vs::hostToUtf8("ab\xC3"), "ab\xEF\xBF\xBD");
    // A lone surrogate in UTF-16 is not valid text.
    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(vs::utf16ToUtf8(lone), "a\xEF\xBF\xBD"
                                     "b");
}

TEST(TextCodecTest, SupplementaryCharactersRoundTrip)
{
    const std::string utf8 = "\xF0\x9F\x98\x80 room";
    EXPECT_EQ(vs::utf16ToUtf8(vs::utf8ToUtf16(utf8)), utf8);
}

TEST_F(GbkLocale, HostTextIsGbk)
{
    EXPECT_EQ(vs::hostCodeset(), "GBK");
    const char gbk[] = "\xBF\xDB\xB0\xE5"; // 扣板 in GBK
    EXPECT_EQ(vs::hostToUtf16(gbk), u"扣板");
    EXPECT_EQ(vs::hostToUtf8(gbk), "扣板");
    EXPECT_EQ(vs::utf16ToHost(u"扣板"), gbk);
    EXPECT_EQ(vs::utf8ToHost("扣板"), gbk);
}

TEST_F(GbkLocale, CharactersGbkLacksBecomeOneQuestionMarkEach)
{
    // U+1F600 and U+00E9... GBK has no emoji: one '?' per character, not one per byte.
    EXPECT_EQ(vs::utf8ToHost("a\xF0\x9F\x98\x80"
                             "b"),
              "a?b");
    EXPECT_EQ(vs::utf16ToHost(u"a\U0001F600b"), "a?b");
}
