#include "platform/core/Strings.h"

#include <gtest/gtest.h>

using namespace win;

TEST(Strings, Utf8RoundTripsEveryPlane)
{
    std::wstring text = L"Caf\u00e9 \u6771\u4eac \U0001F3B5 end";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(L"\u00e9"), "\xC3\xA9");
}

TEST(Strings, InvalidUtf8IsReplacedOrRejected)
{
    EXPECT_FALSE(IsValidUtf8("\xC3"));          // truncated
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_TRUE(IsValidUtf8("plain \xE2\x82\xAC"));
    // Names that are not UTF-8 come back byte for byte and show as U+FFFD.
    EXPECT_EQ(FromUtf8("a\xFF" "b"), L"a\xDCFF" L"b");
    EXPECT_EQ(ToUtf8(FromUtf8("caf\xE9 d\xE9r\xC3")), "caf\xE9 d\xE9r\xC3");
    EXPECT_EQ(ForDisplay(FromUtf8("caf\xE9")), L"caf\uFFFD");
    EXPECT_EQ(ToUtf8(L"\xD800"), "\xEF\xBF\xBD");  // other lone surrogates cannot be written
}

TEST(Strings, AnsiTextFallsBackToWindows1252)
{
    EXPECT_EQ(FromAnsi("Caf\xE9 \x80 \x93quote\x94"), L"Caf\u00e9 \u20ac \u201cquote\u201d");
    EXPECT_EQ(FromAnsi("\xEF\xBB\xBF" "Caf\xC3\xA9"), L"Caf\u00e9");
    EXPECT_EQ(FromAnsi("ascii"), L"ascii");
}

TEST(Strings, CaseInsensitiveComparisonAndBufferCopy)
{
    EXPECT_EQ(CompareNoCase(L"APE", L"ape"), 0);
    EXPECT_LT(CompareNoCase(L"ap", L"ape"), 0);
    EXPECT_EQ(CompareNoCase(L"ap", L"APE", 2), 0);
    EXPECT_NE(CompareNoCase(L"apex", L"ape"), 0);
    EXPECT_EQ(Trim(L" \t key = value \r\n"), L"key = value");
    EXPECT_EQ(Trim(L"   "), L"");

    wchar_t buffer[4];
    EXPECT_EQ(CopyToBuffer(L"abcdef", buffer, 4), 3);
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_EQ(CopyToBuffer(L"x", buffer, 0), 0);
}
