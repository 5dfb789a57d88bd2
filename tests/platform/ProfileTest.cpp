// Profile files and environment expansion, as skin definition files use them.
#include "platform/core/Profile.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

using namespace win;

namespace {

std::wstring Write(const std::string& name, const std::string& bytes)
{
    std::string path = "/tmp/kolvex-profile-" + std::to_string(::getpid()) + "-" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return FromUtf8(path);
}

std::vector<std::wstring> Split(const std::vector<wchar_t>& buffer)
{
    std::vector<std::wstring> items;
    for (const wchar_t* p = buffer.data(); *p; p += items.back().size() + 1)
        items.emplace_back(p);
    return items;
}

const char* kSkin =
    "; the default skin\r\n"
    "[Variables]\r\n"
    "dir = images \r\n"
    "\r\n"
    "[Main]\r\n"
    "type=Window\r\n"
    "Image = \"#dir#/frame.png\"\r\n"
    "framesize=0, 0, 664, 480\r\n"
    "image=second one loses\r\n"
    "no equals sign here\r\n"
    "[MP3]\r\n"
    "TYPE=Button\r\n"
    "anchor=13,270,\r\n";

}  // namespace

TEST(Profile, ValuesAreFoundWithoutRegardToCaseAndTrimmed)
{
    std::wstring file = Write("skin.ini", kSkin);
    wchar_t value[64];
    EXPECT_EQ(GetPrivateProfileString(L"main", L"IMAGE", L"", value, 64, file.c_str()), 15u);
    EXPECT_EQ(std::wstring(value), L"#dir#/frame.png");  // quotes and blanks gone, first key wins
    GetPrivateProfileString(L"Variables", L"dir", L"", value, 64, file.c_str());
    EXPECT_EQ(std::wstring(value), L"images");
    GetPrivateProfileString(L"mp3", L"type", L"Window", value, 64, file.c_str());
    EXPECT_EQ(std::wstring(value), L"Button");
    // Missing keys, sections and files give the default (trailing blanks cut).
    GetPrivateProfileString(L"MP3", L"hover", L"dflt  ", value, 64, file.c_str());
    EXPECT_EQ(std::wstring(value), L"dflt");
    GetPrivateProfileString(L"Nope", L"type", L"Window", value, 64, file.c_str());
    EXPECT_EQ(std::wstring(value), L"Window");
    GetPrivateProfileString(L"Main", L"type", L"x", value, 64, L"/nonexistent/skin.ini");
    EXPECT_EQ(std::wstring(value), L"x");
    // A value cut to fit reports size - 1, so callers can grow the buffer.
    EXPECT_EQ(GetPrivateProfileString(L"Main", L"framesize", L"", value, 6, file.c_str()), 5u);
    EXPECT_EQ(std::wstring(value), L"0, 0,");
    std::remove(ToUtf8(file).c_str());
}

TEST(Profile, SectionAndKeyListsKeepFileOrder)
{
    std::wstring file = Write("lists.ini", kSkin);
    std::vector<wchar_t> buffer(256, L'#');
    GetPrivateProfileSectionNames(buffer.data(), 256, file.c_str());
    EXPECT_EQ(Split(buffer), (std::vector<std::wstring>{L"Variables", L"Main", L"MP3"}));
    GetPrivateProfileString(L"MAIN", nullptr, L"", buffer.data(), 256, file.c_str());
    EXPECT_EQ(Split(buffer), (std::vector<std::wstring>{L"type", L"Image", L"framesize", L"image"}));
    // Too small: cut, and size - 2 reported.
    EXPECT_EQ(GetPrivateProfileSectionNames(buffer.data(), 8, file.c_str()), 6u);
    EXPECT_EQ(GetPrivateProfileSectionNames(buffer.data(), 256, L"/nonexistent.ini"), 0u);
    EXPECT_EQ(buffer[0], 0);
    std::remove(ToUtf8(file).c_str());
}

TEST(Profile, UnicodeFilesWithByteOrderMarkAndAnsiFilesBothRead)
{
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[S]\r\nk=\xE9t\xE9\r\n")) {
        utf16 += c == '\xE9' ? '\xE9' : c;
        utf16 += '\0';
    }
    std::wstring wide = Write("wide.ini", utf16);
    wchar_t value[16];
    GetPrivateProfileString(L"S", L"k", L"", value, 16, wide.c_str());
    EXPECT_EQ(std::wstring(value), L"\u00E9t\u00E9");
    // A pair's first half followed by an ordinary character (a damaged
    // file) stands alone; the character after it is not swallowed.
    const char units[] = "\xFF\xFE[\0S\0]\0\n\0k\0=\0\x01\xD8" "A\0\n\0";
    std::string broken(units, sizeof units - 1);
    std::wstring half = Write("half.ini", broken);
    GetPrivateProfileString(L"S", L"k", L"", value, 16, half.c_str());
    EXPECT_EQ(std::wstring(value), L"\uFFFDA");
    std::remove(ToUtf8(half).c_str());
    std::wstring latin = Write("latin.ini", "[S]\nk=\xE9t\xE9\n");  // Windows-1252
    GetPrivateProfileString(L"S", L"k", L"", value, 16, latin.c_str());
    EXPECT_EQ(std::wstring(value), L"\u00E9t\u00E9");
    std::remove(ToUtf8(wide).c_str());
    std::remove(ToUtf8(latin).c_str());
}

TEST(Profile, EnvironmentReferencesExpandAndUnknownOnesStay)
{
    ::setenv("KOLVEX_SKIN_TEST", "/opt/skins", 1);
    wchar_t out[64];
    DWORD n = ExpandEnvironmentStrings(L"%KOLVEX_SKIN_TEST%/a.png", out, 64);
    EXPECT_EQ(std::wstring(out), L"/opt/skins/a.png");
    EXPECT_EQ(n, 17u);  // with the terminating NUL
    ExpandEnvironmentStrings(L"%kolvex_skin_test%", out, 64);  // names ignore case
    EXPECT_EQ(std::wstring(out), L"/opt/skins");
    ExpandEnvironmentStrings(L"%NO_SUCH_KOLVEX_VAR%/x 100%", out, 64);
    EXPECT_EQ(std::wstring(out), L"%NO_SUCH_KOLVEX_VAR%/x 100%");
    // Too small: the size needed comes back, larger than the buffer.
    EXPECT_EQ(ExpandEnvironmentStrings(L"%KOLVEX_SKIN_TEST%", out, 4), 11u);
    ::unsetenv("KOLVEX_SKIN_TEST");
}
