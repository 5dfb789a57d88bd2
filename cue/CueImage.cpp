#include "cue/CueImage.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <filesystem>

std::wstring FindNoCase(std::wstring_view path)
{
    std::wstring exact(path);
    if (exact.empty() || win::FileExists(exact))
        return exact;
    std::size_t slash = exact.rfind(L'/');
    std::wstring directory = slash == std::wstring::npos ? L"." : exact.substr(0, slash + 1);
    std::wstring name = slash == std::wstring::npos ? exact : exact.substr(slash + 1);
    std::error_code ec;
    std::filesystem::directory_iterator it(win::ToPath(directory), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::wstring candidate = win::FromUtf8(it->path().filename().string());
        if (win::CompareNoCase(candidate, name) == 0)
            return exact.substr(0, slash == std::wstring::npos ? 0 : slash + 1) + candidate;
    }
    return exact;
}

std::wstring CompanionSheetPath(std::wstring_view apePath)
{
    std::size_t dot = apePath.rfind(L'.');
    std::wstring path(apePath.substr(0, dot == std::wstring_view::npos ? apePath.size() : dot + 1));
    if (dot == std::wstring_view::npos)
        path += L'.';
    return FindNoCase(path + L"cue");
}

std::wstring ImagePath(std::wstring_view sheetPath, std::wstring_view imageFileName)
{
    if (imageFileName.empty())
        return std::wstring();
    std::size_t slash = sheetPath.rfind(L'/');
    std::wstring directory(slash == std::wstring_view::npos ? std::wstring_view() : sheetPath.substr(0, slash + 1));
    return FindNoCase(directory + std::wstring(imageFileName));
}
