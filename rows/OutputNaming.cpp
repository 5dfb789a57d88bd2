#include "rows/OutputNaming.h"

#include "platform/core/FileNameFit.h"
#include "platform/core/PathParts.h"

#include "platform/core/Strings.h"

namespace {

struct SplitPath {
    std::wstring directory;  // up to and including the last "/"
    std::wstring base;       // the name up to and including its last ".", or all of it
};

SplitPath Split(const std::wstring& path)
{
    std::wstring_view name = FileNameOf(path);
    return {std::wstring(DirectoryOf(path)), std::wstring(UpToLastDot(name).value_or(name))};
}

std::wstring OutputPathOf(const ConversionItem& item, const std::wstring& extension,
                          const std::wstring& outputDirectory)
{
    bool directorySet = outputDirectory.size() > 1;
    SplitPath source = Split(item.sourcePath);
    const std::wstring& directory = directorySet ? outputDirectory : source.directory;
    const std::wstring& current = item.outputPath;

    // A CUE track holds its title until its first conversion. A title is
    // never a path (it has no "/"), so a title with a "." in it still
    // names the file whole, in the right folder.
    if (item.cueTrack && current.find(L'/') == std::wstring::npos)
        return directory + current + L"." + extension;

    auto currentExtension = ExtensionOf(current);
    if (!currentExtension)
        return directory + source.base + extension;
    if (win::CompareNoCase(*currentExtension, extension) == 0)
        return current;
    if (item.cueTrack)
        return std::wstring(*UpToLastDot(current)) + extension;
    if (extension == L"mp3" && source.base.ends_with(L'.'))
        return source.directory + source.base + extension;  // beside the source
    return directory + source.base + extension;
}

}  // namespace

// A name made of a long title is cut to what the file system takes, its
// extension kept, rather than failing the row.
std::wstring OutputPathFor(const ConversionItem& item, const std::wstring& extension,
                           const std::wstring& outputDirectory)
{
    return win::FitPathFileName(OutputPathOf(item, extension, outputDirectory));
}

const wchar_t* OutputExtension(std::int32_t outputKind)
{
    switch (outputKind) {
    case kOutputMp3: return L"mp3";
    case kOutputFlac: return L"flac";
    case kOutputOpus: return L"opus";
    default: return L"wav";
    }
}

std::wstring SafeTrackFileName(const std::wstring& title, const std::wstring& trackNumber)
{
    if (title.empty() || title == L"." || title == L"..")
        return L"Track " + trackNumber;
    std::wstring safe = title;
    for (auto& c : safe)
        if (c == L'/' || c < 0x20 || c == 0x7F)
            c = L'_';
    return safe;
}
