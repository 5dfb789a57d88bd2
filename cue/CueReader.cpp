#include "cue/CueReader.h"

#include "cue/CueCharset.h"
#include "cue/CueImage.h"
#include "cue/CueLines.h"
#include "cue/CueSheetBuilder.h"
#include "cue/CueTags.h"
#include "cue/CueTime.h"

#include "platform/core/Strings.h"

#include <algorithm>
#include <set>

namespace {

// How many images the sheet names: a name written twice is one image.
std::size_t ImageCount(const CueSheet& sheet)
{
    std::set<std::wstring> names;
    for (const CueFile& file : sheet.files)
        names.insert(win::ToLower(file.name));
    return names.size();
}

void FindImages(const std::wstring& sheetPath, CueSheet& sheet, CueFolders& folders)
{
    std::size_t images = ImageCount(sheet);
    for (CueFile& file : sheet.files) {
        FoundImage found = FindImage(sheetPath, file, folders, images);
        file.path = found.path;
        file.found = found.how;
        // Where the sheet says, so that a failure names the missing file.
        if (file.path.empty())
            file.path = ::ImagePath(sheetPath, file.quotedName.empty() ? file.name : file.quotedName, folders);
    }
    for (auto& track : sheet.tracks) {
        if (track->file < 0)
            continue;
        const CueFile& file = sheet.files[static_cast<std::size_t>(track->file)];
        track->imagePath = file.path;
        track->imageKind = file.kind;
        track->rawImage = IsRawCdImage(file);
        track->imageFound = file.found;
    }
}

}  // namespace

int CueReader::Parse(const wchar_t* path)
{
    sheet_.reset();
    if (!path)
        return 0;
    auto text = ReadCueText(path, charset_.empty() ? CueCharsetOverride() : charset_);
    if (!text)
        return 0;

    auto sheet = std::make_shared<CueSheet>();
    sheet->charset = text->charset;
    BuildCueSheet(text->lines, *sheet);
    TimeCueTracks(sheet->tracks);
    CueFolders folders(lister_);
    FindImages(path, *sheet, folders);
    TagTracks(*sheet);
    sheet_ = std::move(sheet);
    return 1;
}

int CueReader::ParseEmbedded(const std::string& text, const std::wstring& hostPath)
{
    sheet_.reset();
    if (text.empty())
        return 0;
    CueText decoded = DecodeCueText(text, charset_.empty() ? CueCharsetOverride() : charset_);
    auto sheet = std::make_shared<CueSheet>();
    sheet->charset = decoded.charset;
    BuildCueSheet(decoded.lines, *sheet);
    TimeCueTracks(sheet->tracks);
    for (CueFile& file : sheet->files) {
        file.path = hostPath;
        file.found = ImageFound::Embedded;
    }
    for (auto& track : sheet->tracks) {
        track->imagePath = hostPath;
        track->imageFound = ImageFound::Embedded;
    }
    TagTracks(*sheet);
    sheet_ = std::move(sheet);
    return 1;
}

std::wstring CueReader::ImagePath() const
{
    if (!sheet_ || sheet_->files.empty())
        return {};
    for (auto file = sheet_->files.rbegin(); file != sheet_->files.rend(); ++file)
        if (file->quotedName == sheet_->imageFileName)
            return file->path;
    return sheet_->files.back().path;
}

bool CueReader::SetCharset(const std::string& charset)
{
    if (!charset.empty() && !IsKnownCharset(charset))
        return false;
    charset_ = charset;
    return true;
}

float CueReader::time(const wchar_t* text)
{
    if (!text)
        return 0.0f;
    CueTimeParts parts = SplitCueTime(text);
    float result = static_cast<float>(parts.minutes * 60) + static_cast<float>(parts.seconds);
    if (parts.frames != 0)
        result = static_cast<float>(result + parts.frames / 75.0);
    return result;
}

std::int64_t CueReader::Frames(const wchar_t* text)
{
    if (!text)
        return 0;
    CueTimeParts parts = SplitCueTime(text);
    // A negative time cannot be a place in an image.
    return std::max(0LL, (parts.minutes * 60 + parts.seconds) * 75 + parts.frames);
}
