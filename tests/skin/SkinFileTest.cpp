// Reading skin definition files: variables, environment references,
// integers, rectangles, element kinds and fonts.
#include "SkinTesting.h"

#include "skin/SkinFile.h"
#include "skin/SkinManager.h"
#include "skin/SkinElement.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace skintest;

namespace {

SkinFile OpenSample()
{
    ::setenv("KOLVEX_SKIN_TEST", "fromenv", 1);
    std::string path = Folder() + "values.ini";
    WriteText(path,
              "[Variables]\r\n"
              "b=X\r\n"
              "dir=blue\r\n"
              "nested=#dir#\r\n"
              "envref=%KOLVEX_SKIN_TEST%\r\n"
              "empty=\r\n"
              "[s]\r\n"
              "a=#a#b#\r\n"
              "path=#dir#\\bg.bmp\r\n"
              "nest=#nested#/x\r\n"
              "env=%KOLVEX_SKIN_TEST%/x\r\n"
              "envvar=#envref#\r\n"
              "emptyref=#empty#\r\n"
              "unknownenv=%KOLVEX_NOT_SET_ANYWHERE%\r\n"
              "rect1=10,20,30,40\r\n"
              "rect2= 10, 20, 30, 40\r\n"
              "rect3=5,6\r\n"
              "num=  -42abc\r\n"
              "huge=99999999999999\r\n");
    SkinFile file;
    EXPECT_TRUE(file.Open(Wide(path)));
    return file;
}

}  // namespace

// A long variable named thousands of times in one value grew it one
// quadratic step at a time towards a gigabyte (60 KB of file, seconds of
// work). The value is cut at 65536 characters instead, references before
// the cut still replaced.
TEST(SkinFileTest, AValueMadeOfManyLongVariablesIsCutNotGrownWithoutEnd)
{
    std::string path = Folder() + "many-references.ini";
    std::string references;
    for (int i = 0; i < 10000; ++i)
        references += "#a#";
    WriteText(path, "[Variables]\na=" + std::string(30000, 'v') + "\n[x]\ntype=" + references + "\nname=#a#!\n");
    SkinFile f;
    ASSERT_TRUE(f.Open(Wide(path)));
    std::wstring type = f.GetString(L"x", L"type", L"");
    EXPECT_EQ(type.size(), 65536u);
    EXPECT_EQ(type.find_first_not_of(L'v'), std::wstring::npos);
    EXPECT_EQ(f.GetString(L"x", L"name", L""), std::wstring(30000, L'v') + L"!");
}

TEST(SkinFileTest, VariablesAreSubstitutedOnceAndUnknownReferencesStay)
{
    SkinFile f = OpenSample();
    EXPECT_EQ(f.GetString(L"s", L"a", L""), L"#aX");
    EXPECT_EQ(f.GetString(L"s", L"path", L""), L"blue\\bg.bmp");
    // A variable's own references are not resolved when it is inserted.
    EXPECT_EQ(f.GetString(L"s", L"nest", L""), L"#dir#/x");
    EXPECT_EQ(f.GetString(L"s", L"envvar", L""), L"%KOLVEX_SKIN_TEST%");
    // An empty value is no variable.
    EXPECT_EQ(f.GetString(L"s", L"emptyref", L""), L"#empty#");
    EXPECT_EQ(f.Variables().count(L"empty"), 0u);
    // Defaults are expanded like values.
    EXPECT_EQ(f.GetString(L"s", L"missing", L"#dir#"), L"blue");
}

TEST(SkinFileTest, EnvironmentReferencesAreExpandedInValues)
{
    SkinFile f = OpenSample();
    EXPECT_EQ(f.GetString(L"s", L"env", L""), L"fromenv/x");
    EXPECT_EQ(f.GetString(L"s", L"unknownenv", L""), L"%KOLVEX_NOT_SET_ANYWHERE%");
}

TEST(SkinFileTest, IntegersAndRectangles)
{
    SkinFile f = OpenSample();
    EXPECT_EQ(f.GetInt(L"s", L"num", 7), -42);
    EXPECT_EQ(f.GetInt(L"s", L"missing", -7), -7);
    EXPECT_EQ(f.GetInt(L"s", L"path", 7), 0);
    EXPECT_EQ(f.GetInt(L"s", L"huge", 0), 2147483647);
    SkinRect expected{10, 20, 30, 40};
    EXPECT_EQ(f.GetRect(L"s", L"rect1"), expected);
    EXPECT_EQ(f.GetRect(L"s", L"rect2"), expected);
    EXPECT_EQ(f.GetRect(L"s", L"missing"), SkinRect{});
    EXPECT_EQ(f.GetRect(L"s", L"rect3"), (SkinRect{5, 6, 0, 0}));
}

TEST(SkinFileTest, LongValuesAndManySectionsAreReadWhole)
{
    std::string longValue(10000, 'v');
    std::string text = "[Variables]\nlong=" + longValue + "\n[s]\nk=#long#!\n";
    for (int i = 0; i < 600; ++i)
        text += "[section number " + std::to_string(i) + "]\n";
    std::string path = Folder() + "long.ini";
    WriteText(path, text);
    SkinFile f;
    ASSERT_TRUE(f.Open(Wide(path)));
    EXPECT_EQ(f.GetString(L"s", L"k", L"").size(), 10001u);
    std::vector<std::wstring> names;
    EXPECT_EQ(f.GetSectionNames(names), 602);
    EXPECT_EQ(names.back(), L"section number 599");
}

TEST(SkinFileTest, MissingFileIsRefusedAndLoadsNothing)
{
    SkinFile f;
    EXPECT_FALSE(f.Open(L"/nonexistent/skin.ini"));
    SkinManager manager;
    EXPECT_EQ(manager.LoadSkin(L"/nonexistent/skin.ini"), 0);
    EXPECT_EQ(manager.Find(L"window"), nullptr);
}

TEST(SkinFileTest, TypesMatchByPrefixAndLaterSectionsWin)
{
    std::string path = Folder() + "types.ini";
    WriteText(path,
              "[Variables]\nx=1\n"
              "[f]\ntype=windowframe\nname=frame\n"
              "[b]\ntype=Buttons\nname=button\n"
              "[l]\ntype=list\nname=nolist\n"
              "[m]\ntype=MMLIST\nname=mmlist\n"
              "[d1]\ntype=Button\nname=dup\nfontsize=9\n"
              "[d2]\ntype=Button\nname=dup\nfontsize=11\n");
    SkinManager manager;
    ASSERT_EQ(manager.LoadSkin(Wide(path)), 1);
    ASSERT_NE(manager.Find(L"frame"), nullptr);
    EXPECT_EQ(manager.Find(L"frame")->Type(), L"windowframe");
    EXPECT_NE(manager.Find(L"button"), nullptr);
    EXPECT_EQ(manager.Find(L"nolist"), nullptr);
    EXPECT_NE(manager.Find(L"mmlist"), nullptr);
    // "Variables" has no type: a frame under the default name.
    EXPECT_NE(manager.Find(L"window"), nullptr);
    ASSERT_NE(manager.Find(L"dup"), nullptr);
    EXPECT_EQ(manager.Find(L"dup")->FontSize(), 11);
}

TEST(SkinFileTest, FontWeights)
{
    EXPECT_EQ(ParseFontWeight(L"Bold"), SkinFontStyle::Bold);
    EXPECT_EQ(ParseFontWeight(L"bolditalic"), SkinFontStyle::BoldItalic);
    EXPECT_EQ(ParseFontWeight(L"Italic"), SkinFontStyle::Italic);
    EXPECT_EQ(ParseFontWeight(L"NORMAL"), SkinFontStyle::Regular);
    EXPECT_EQ(ParseFontWeight(L"heavy"), SkinFontStyle::Regular);
    EXPECT_EQ(ParseFontWeight(L"boldest"), SkinFontStyle::Regular);
}
