#include "cue/CueImage.h"

#include "cue/AudioExtensions.h"
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

// The path without the extension of its last component (its last "." on),
// or the whole path when that has none.
std::wstring WithoutExtension(const std::wstring& path)
{
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || path.find(L'/', dot) != std::wstring::npos)
        return path;
    return path.substr(0, dot);
}

// The extensions an image may have been given after the sheet was written.
std::vector<std::wstring_view> ImageExtensions(const CueFile& file)
{
    std::vector<std::wstring_view> extensions(kAudioExtensions.begin(), kAudioExtensions.end());
    if (file.kind == CueFileKind::Binary || file.kind == CueFileKind::Motorola)
        extensions.push_back(kRawImageExtension);
    return extensions;
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

namespace {

// A file that can hold the audio: a FILE entry naming the sheet itself
// would have its text decoded as sound.
bool IsImageFile(const std::filesystem::path& path, std::wstring_view sheetPath)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) &&
           !std::filesystem::equivalent(path, win::ToPath(std::wstring(sheetPath)), ec);
}

// The first of `paths` that is a file, as FindNoCase finds it; "" for none.
std::wstring FirstFile(const std::vector<std::wstring>& paths, std::wstring_view sheetPath, CueFolders& folders)
{
    for (const std::wstring& path : paths) {
        std::wstring found = folders.FindNoCase(path);
        if (folders.MayExist(found) && IsImageFile(win::ToPath(found), sheetPath))
            return found;
    }
    return {};
}

std::vector<std::wstring> WithExtensions(const std::vector<std::wstring>& paths, const CueFile& file)
{
    std::vector<std::wstring> named;
    for (const std::wstring& path : paths) {
        std::wstring stem = WithoutExtension(path);
        for (std::wstring_view extension : ImageExtensions(file))
            named.push_back(stem + L'.' + std::wstring(extension));
    }
    return named;
}

// The one file of an image's kind in the folder; "" when there are none or
// several, which leaves nothing to go by.
std::wstring OnlyAudioFile(const std::wstring& directory, std::wstring_view sheetPath, const CueFile& file,
                          CueFolders& folders)
{
    std::wstring only;
    for (const std::wstring& name : folders.Names(directory)) {
        auto extension = ExtensionOf(name);
        if (!extension || !(IsAudioExtension(*extension) ||
                            ((file.kind == CueFileKind::Binary || file.kind == CueFileKind::Motorola) &&
                             win::CompareNoCase(*extension, kRawImageExtension) == 0)))
            continue;
        if (!IsImageFile(win::ToPath(directory + name), sheetPath))
            continue;
        if (!only.empty())
            return {};
        only = directory + name;
    }
    return only;
}

}  // namespace

FoundImage FindImage(std::wstring_view sheetPath, const CueFile& file, CueFolders& folders, std::size_t fileEntries)
{
    std::wstring directory(DirectoryOf(sheetPath));
    // A name that is not valid UTF-8 in the sheet may still be a name on
    // disk, written by a system with another character set.
    if (!file.bytes.empty() && !win::IsValidUtf8(file.bytes)) {
        std::filesystem::path raw = win::ToPath(directory) / std::filesystem::path(file.bytes);
        if (IsImageFile(raw, sheetPath))
            return {win::FromUtf8(raw.string()), ImageFound::Named};
    }
    std::vector<std::wstring> names;
    for (const std::wstring* name : {&file.quotedName, &file.name})
        if (!name->empty() && (names.empty() || names.back() != *name))
            names.push_back(*name);
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names)
        for (std::wstring& path : Candidates(directory, name))
            paths.push_back(std::move(path));

    if (std::wstring found = FirstFile(paths, sheetPath, folders); !found.empty())
        return {found, ImageFound::Named};
    if (std::wstring found = FirstFile(WithExtensions(paths, file), sheetPath, folders); !found.empty())
        return {found, ImageFound::ByExtension};
    // The guesses below take the sheet for one image's: with several FILE
    // entries, each would take the same file.
    if (fileEntries != 1)
        return {};
    if (std::wstring found = FirstFile(WithExtensions({std::wstring(sheetPath)}, file), sheetPath, folders); !found.empty())
        return {found, ImageFound::BySheetName};
    if (std::wstring found = OnlyAudioFile(directory, sheetPath, file, folders); !found.empty())
        return {found, ImageFound::OnlyAudioFile};
    return {};
}
