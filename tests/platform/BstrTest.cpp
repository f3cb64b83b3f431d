#include "platform/Bstr.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(BstrTest, LayoutMatchesWindowsBstr)
{
    VsBstr b = VsSysAllocStringLen(u"abc", 3);
    ASSERT_NE(b, nullptr);
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<unsigned char*>(b) - 4, 4);
    EXPECT_EQ(bytes, 6u);
    EXPECT_EQ(VsSysStringLen(b), 3u);
    EXPECT_EQ(b[3], 0);
    VsSysFreeString(b);
    EXPECT_EQ(VsSysStringLen(nullptr), 0u);
    VsSysFreeString(nullptr);
}

TEST(BstrTest, EmbeddedZerosAreKept)
{
    const char16_t text[] = {u'a', 0, u'b'};
    VsBstr b = VsSysAllocStringLen(text, 3);
    EXPECT_EQ(VsSysStringLen(b), 3u);
    EXPECT_EQ(b[2], u'b');
    VsSysFreeString(b);
}

TEST(BstrTest, AbsurdLengthFailsCleanly)
{
    EXPECT_EQ(VsSysAllocStringLen(nullptr, 0xFFFFFFFFu), nullptr);
}

TEST(BstrTest, VariantHoldsTextAndClearFreesIt)
{
    static_assert(sizeof(VsVariant) == 24, "VARIANT layout");
    VsVariant v;
    VsVariantInit(&v);
    EXPECT_EQ(v.vt, VS_VT_EMPTY);
    vs::setVariantText(&v, u"<_dg/>");
    EXPECT_EQ(v.vt, VS_VT_BSTR);
    EXPECT_EQ(vs::variantText(&v), u"<_dg/>");
    // Setting again frees the first text (checked under sanitizers and valgrind).
    vs::setVariantText(&v, u"x");
    EXPECT_EQ(vs::variantText(&v), u"x");
    vs::setVariantError(&v, VS_E_INVALIDARG);
    EXPECT_EQ(v.vt, VS_VT_ERROR);
    EXPECT_EQ(v.scode, VS_E_INVALIDARG);
    EXPECT_EQ(vs::variantText(&v), u"");
    VsVariantClear(&v);
    EXPECT_EQ(v.vt, VS_VT_EMPTY);
}
