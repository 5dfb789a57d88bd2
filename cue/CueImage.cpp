#include "cue/CueImage.h"

#include "platform/core/Files.h"
#include "platform/core/PathParts.h"
#include "platform/core/Strings.h"

#include <cwctype>
#include <filesystem>
#include <vector>

std::wstring FindNoCase(std::wstring_view path)
{
    return CueFolders().FindNoCase(std::wstring(path));
}

std::wstring CompanionSheetPath(std::wstring_view apePath)
{
    std::optional<std::wstring_view> stem = UpToLastDot(apePath);
    return FindNoCase((stem ? std::wstring(*stem) : std::wstring(apePath) + L'.') + L"cue");
}

namespace {

// The same name with ".ape" for the extensions of uncompressed or otherwise
// packed images; "" when the extension is none of them.
std::wstring AsApe(const std::wstring& path)
{
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || path.find(L'/', dot) != std::wstring::npos)
        return {};
    std::wstring extension = path.substr(dot + 1);
    for (const wchar_t* packed : {L"wav", L"wave", L"flac", L"bin"})
        if (win::CompareNoCase(extension, packed) == 0)
            return path.substr(0, dot + 1) + L"ape";
    return {};
}

// Where a name might be, most literal first.
std::vector<std::wstring> Candidates(const std::wstring& directory, const std::wstring& name)
{
    std::vector<std::wstring> paths{directory + name};
    if (name.starts_with(L'/'))
        paths.push_back(name);
    std::wstring windows = name;
    for (wchar_t& c : windows)
        if (c == L'\\')
            c = L'/';
    if (windows.size() >= 2 && windows[1] == L':' && std::iswalpha(static_cast<wint_t>(windows[0])))
        windows.erase(0, 2);
    while (windows.starts_with(L'/'))
        windows.erase(0, 1);
    if (windows != name)
        paths.push_back(directory + windows);
    std::size_t last = windows.rfind(L'/');
    if (last != std::wstring::npos)
        paths.push_back(directory + windows.substr(last + 1));
    return paths;
}

}  // namespace

std::wstring ImagePath(std::wstring_view sheetPath, std::wstring_view imageFileName, CueFolders& folders)
{
    if (imageFileName.empty())
        return std::wstring();
    return folders.FindNoCase(std::wstring(DirectoryOf(sheetPath)) + std::wstring(imageFileName));
}

std::wstring ImagePath(std::wstring_view sheetPath, std::wstring_view imageFileName)
{
    CueFolders folders;
    return ImagePath(sheetPath, imageFileName, folders);
}

std::wstring FindImage(std::wstring_view sheetPath, const CueFile& file, CueFolders& folders)
{
    std::wstring directory(DirectoryOf(sheetPath));
    // A name that is not valid UTF-8 in the sheet may still be a name on
    // disk, written by a system with another character set.
    if (!file.bytes.empty() && !win::IsValidUtf8(file.bytes)) {
        std::error_code ec;
        std::filesystem::path raw = win::ToPath(directory) / std::filesystem::path(file.bytes);
        if (std::filesystem::is_regular_file(raw, ec))
            return win::FromUtf8(raw.string());
    }
    std::vector<std::wstring> names;
    for (const std::wstring* name : {&file.quotedName, &file.name})
        if (!name->empty() && (names.empty() || names.back() != *name))
            names.push_back(*name);
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names)
        for (std::wstring& path : Candidates(directory, name))
            paths.push_back(std::move(path));
    for (std::size_t i = 0, n = paths.size(); i < n; ++i)
        if (std::wstring ape = AsApe(paths[i]); !ape.empty())
            paths.push_back(ape);
    for (const std::wstring& path : paths) {
        std::wstring found = folders.FindNoCase(path);
        std::error_code ec;
        if (folders.MayExist(found) && std::filesystem::is_regular_file(win::ToPath(found), ec))
            return found;
    }
    return {};
}
