#include "app/SourceFormats.h"

#include "cue/AudioExtensions.h"

#include "platform/core/Strings.h"

#include <algorithm>
#include <filesystem>

namespace source_formats {

namespace {

namespace fs = std::filesystem;

struct Format {
    const wchar_t* name;
    std::vector<std::wstring_view> extensions;
};

// One entry per format; between them they cover every decoded extension
// (a test holds them to cue/AudioExtensions.h) and the sheets.
const std::vector<Format>& Formats()
{
    static const std::vector<Format> formats = {
        {L"FLAC", {L"flac"}},
        {L"WavPack", {L"wv"}},
        {L"TTA", {L"tta"}},
        {L"WAV", {L"wav", L"rf64", L"w64"}},
        {L"AIFF", {L"aif", L"aiff"}},
        {L"ALAC", {L"m4a"}},
        {L"TAK", {L"tak"}},
        {L"Monkey's Audio", {L"ape"}},
        {L"CUE sheet", {L"cue"}},
    };
    return formats;
}

std::wstring Patterns(const std::vector<std::wstring_view>& extensions)
{
    std::wstring patterns;
    for (std::wstring_view extension : extensions) {
        if (!patterns.empty())
            patterns += L";";
        patterns += L"*.";
        patterns += extension;
    }
    return patterns;
}

std::wstring BuildFilter()
{
    std::vector<std::wstring_view> all(kAudioExtensions.begin(), kAudioExtensions.end());
    all.push_back(L"cue");
    std::wstring filter = L"Monkey's Audio File(*.APE)|*.ape; *.cue;|";
    filter += L"All supported|" + Patterns(all) + L"|";
    for (const Format& format : Formats()) {
        std::wstring patterns = Patterns(format.extensions);
        filter += std::wstring(format.name) + L" (" + patterns + L")|" + patterns + L"|";
    }
    filter += L"All Files (*.*)|*.*||";
    return filter;
}

std::wstring Utf8Path(const fs::path& path) { return win::FromUtf8(path.string()); }

void AddFolder(const fs::path& folder, std::vector<std::wstring>* files)
{
    std::vector<std::wstring> found;
    std::error_code error;
    // A folder that cannot be read, or one that goes away meanwhile, adds
    // what could be listed.
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            std::wstring path = Utf8Path(it->path());
            if (IsSupported(path))
                found.push_back(std::move(path));
        }
    }
    std::sort(found.begin(), found.end());
    files->insert(files->end(), found.begin(), found.end());
}

}  // namespace

const std::wstring& AddFilter()
{
    static const std::wstring filter = BuildFilter();
    return filter;
}

bool IsSupported(const std::wstring& path)
{
    auto slash = path.rfind(L'/');
    auto dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return false;
    std::wstring_view extension = std::wstring_view(path).substr(dot + 1);
    return IsAudioExtension(extension) || win::CompareNoCase(extension, L"cue") == 0;
}

std::vector<std::wstring> ExistingFiles(const std::vector<std::wstring>& paths)
{
    std::vector<std::wstring> files;
    for (const std::wstring& path : paths) {
        std::error_code error;
        if (fs::is_regular_file(win::ToUtf8(path), error))
            files.push_back(path);
    }
    return files;
}

std::vector<std::wstring> DroppedFiles(const std::vector<std::wstring>& paths)
{
    std::vector<std::wstring> files;
    for (const std::wstring& path : paths) {
        fs::path name(win::ToUtf8(path));
        std::error_code error;
        auto status = fs::status(name, error);
        if (fs::is_directory(status))
            AddFolder(name, &files);
        else if (fs::is_regular_file(status) && IsSupported(path))
            files.push_back(path);
    }
    return files;
}

}  // namespace source_formats
