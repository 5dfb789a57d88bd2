// A skin definition file as the skin manager and its elements read it:
// every section's type, name, image, font, rectangles and anchors, with
// environment references expanded and #variables# substituted.
#include "fuzz/ScratchFile.h"
#include "skin/SkinFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("KOLVEX_FUZZ_SKIN", "/usr/share/kolvex/skin", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::wstring path = fuzz::WidePath(fuzz::WriteScratch("skin.ini", data, size));
    SkinFile file;
    if (!file.Open(path))
        std::abort();  // the file is there
    std::vector<std::wstring> sections;
    int count = file.GetSectionNames(sections);
    if (count != static_cast<int>(sections.size()))
        std::abort();
    // Sections past a few dozen only repeat the work.
    if (sections.size() > 32)
        sections.resize(32);
    for (const std::wstring& section : sections) {
        for (const wchar_t* key : {L"type", L"name", L"image", L"attribute"})
            file.GetString(section, key, L"");
        file.GetInt(section, L"fontsize", 12);
        ParseFontWeight(file.GetString(section, L"fontweight", L"NORMAL"));
        for (const wchar_t* key : {L"framesize", L"anchor", L"anchor_close", L"drect"}) {
            SkinRect rect = file.GetRect(section, key);
            SkinSizeAllowed(rect.width, rect.height);
        }
        for (const auto& [name, value] : file.Variables())
            file.GetString(section, name, L"#" + name + L"#");
    }
    return 0;
}
