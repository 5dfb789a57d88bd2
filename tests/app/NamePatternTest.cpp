// Output names from the user's pattern stay inside their folder whatever the
// tags hold.
#include "rows/NamePattern.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

namespace {

ConversionItem Track(std::map<std::string, std::wstring> fields, const std::wstring& source = L"/m/Album Image.ape")
{
    ConversionItem item;
    item.SetPath(source);
    for (const auto& [name, value] : fields)
        item.tags.Set(name, value);
    return item;
}

}  // namespace

TEST(NamePattern, FieldsAndSubFolders)
{
    ConversionItem item = Track({{"TRACKNUMBER", L"3/12"}, {"TITLE", L"Caf\u00e9 \"Live\""}, {"ARTIST", L"AC/DC"},
                                 {"ALBUM", L"Back in Black"}, {"DATE", L"1980-07-25"}});
    EXPECT_EQ(PatternOutputPath(L"%a/%A/%n - %t", item, L"/out/", L"mp3"),
              L"/out/AC_DC/Back in Black/03 - Caf\u00e9 \"Live\".mp3");
    EXPECT_EQ(PatternOutputPath(L"%y %f 100%%", item, L"/out/", L"wav"), L"/out/1980 Album Image 100%.wav");
    // Without tags the title is the source's name and the artist empty.
    EXPECT_EQ(PatternOutputPath(L"%a - %t", Track({}), L"/o/", L"mp3"), L"/o/ - Album Image.mp3");
    EXPECT_EQ(PatternOutputPath(L"%n", Track({{"TRACKNUMBER", L"7"}}), L"/o/", L"mp3"), L"/o/07.mp3");
    EXPECT_EQ(PatternOutputPath(L"%n", Track({{"TRACKNUMBER", L"112"}}), L"/o/", L"mp3"), L"/o/112.mp3");
}

TEST(NamePattern, NothingEscapesTheFolder)
{
    ConversionItem evil = Track({{"TITLE", L".."}, {"ARTIST", L"../../etc"}, {"ALBUM", L"a\x1b[31m\x07z"}});
    EXPECT_EQ(PatternOutputPath(L"%a/%t", evil, L"/out/", L"mp3"), L"/out/.._.._etc/_.mp3");
    EXPECT_EQ(PatternOutputPath(L"../../%A", evil, L"/out/", L"mp3"), L"/out/_/_/a_[31m_z.mp3");
    EXPECT_EQ(PatternOutputPath(L"/etc//./%t/", evil, L"/out/", L"mp3"), L"/out/etc/_.mp3");
    EXPECT_EQ(PatternOutputPath(L"%a/%t", Track({{"TITLE", L"x"}}), L"/out/", L"mp3"), L"/out/x.mp3");
    EXPECT_EQ(PatternOutputPath(L"%A", Track({{"TRACKNUMBER", L"4/9"}}), L"/out/", L"mp3"), L"/out/Track 04.mp3");

    // Long names are cut to 255 bytes with the extension, never inside a
    // character; folders too.
    std::wstring longTitle(200, L'\u00e9');  // 400 bytes
    std::wstring path = PatternOutputPath(L"%t/%t", Track({{"TITLE", longTitle}}), L"/o/", L"mp3");
    std::string bytes = win::ToUtf8(path);
    auto slash = bytes.find('/', 3);
    EXPECT_EQ(slash - 3, 254u);  // 127 two-byte letters
    EXPECT_EQ(bytes.size() - slash - 1, 254u + 0u);  // 125 letters + ".mp3"
    EXPECT_TRUE(win::IsValidUtf8(bytes));
}

TEST(NamePattern, BadPatternsAreRefusedWithAReason)
{
    EXPECT_FALSE(CheckNamePattern(L"%a/%A/%n - %t"));
    EXPECT_FALSE(CheckNamePattern(L"100%% %f"));
    EXPECT_TRUE(CheckNamePattern(L"%q"));
    EXPECT_TRUE(CheckNamePattern(L"%t%"));
    EXPECT_TRUE(CheckNamePattern(L"/./"));
    EXPECT_TRUE(CheckNamePattern(L""));
}
