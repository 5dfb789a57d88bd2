#include "cue/CueReader.h"

#include "cue/CueFields.h"
#include "cue/CueImage.h"
#include "cue/CueLines.h"
#include "cue/CuePatterns.h"
#include "cue/CueTags.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

namespace {

bool IsKeyword(const CueMatch& word, const wchar_t* keyword)
{
    return win::CompareNoCase(word.token, keyword) == 0;
}

// The quoted pattern's token where it reads the line well; the tolerant
// reading where it finds no quotes or stops at a quote inside the text.
std::wstring TextValue(const std::wstring& line, const CueMatch& keyword)
{
    auto quoted = FindQuoted(line);
    if (quoted && std::count(line.begin(), line.end(), L'"') <= 2)
        return std::wstring(quoted->token);
    return TolerantText(line, keyword.position + keyword.length);
}

// As atoi reads: optional white space and sign, then decimal digits up to the
// first other character. Saturates instead of overflowing.
long long LeadingInteger(std::wstring_view text)
{
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = std::min(value * 10 + (text[i] - L'0'), 1000000000LL);
    return negative ? -value : value;
}

struct TimeParts {
    long long minutes = 0, seconds = 0, frames = 0;
};

TimeParts SplitTime(std::wstring_view s)
{
    TimeParts parts;
    std::size_t first = s.find(L':');
    parts.minutes = LeadingInteger(s.substr(0, first));
    if (first != std::wstring_view::npos) {
        std::size_t second = s.find(L':', first + 1);
        parts.seconds = LeadingInteger(s.substr(first + 1, second == std::wstring_view::npos
                                                              ? std::wstring_view::npos
                                                              : second - first - 1));
        if (second != std::wstring_view::npos)
            parts.frames = LeadingInteger(s.substr(second + 1));
    }
    return parts;
}

// REM entries that describe the whole disc wherever they stand.
bool IsAlbumRemark(const std::wstring& name)
{
    return !name.starts_with(L"REPLAYGAIN_TRACK_") && name != L"COMMENT";
}

class SheetBuilder {
public:
    SheetBuilder(const std::vector<CueLine>& lines, CueSheet& sheet) : lines_(lines), sheet_(sheet) { }

    void Read()
    {
        while (next_ < lines_.size())
            AlbumLine(lines_[next_++]);
    }

private:
    void AlbumLine(const CueLine& line)
    {
        auto word = FindWord(line.text);
        if (!word)
            return;
        std::size_t afterKeyword = word->position + word->length;
        CueTrack* last = sheet_.tracks.empty() ? nullptr : sheet_.tracks.back().get();
        if (IsKeyword(*word, L"PERFORMER")) {
            if (std::wstring value = TextValue(line.text, *word); !value.empty())
                sheet_.albumPerformer = value;
        } else if (IsKeyword(*word, L"TITLE")) {
            if (std::wstring value = TextValue(line.text, *word); !value.empty())
                sheet_.albumTitle = value;
        } else if (IsKeyword(*word, L"SONGWRITER")) {
            if (std::wstring value = TextValue(line.text, *word); !value.empty())
                sheet_.songwriter = value;
        } else if (IsKeyword(*word, L"FILE")) {
            if (auto quoted = FindQuoted(line.text))
                sheet_.imageFileName = quoted->token;
            FileLine(line, *word);
        } else if (IsKeyword(*word, L"REM")) {
            std::map<std::wstring, std::wstring> remark;
            ReadRemark(line.text, afterKeyword, remark);
            for (auto& [name, value] : remark)
                (last && !IsAlbumRemark(name) ? last->remarks : sheet_.remarks)[name] = value;
        } else if (IsKeyword(*word, L"TRACK")) {
            auto number = FindField(line.text, afterKeyword);
            if (!number)
                return;
            auto track = std::make_shared<CueTrack>();
            track->number = number->token;
            sheet_.tracks.push_back(track);
            ReadTrack(*track);
        }
    }

    void FileLine(const CueLine& line, const CueMatch& word)
    {
        auto file = ReadFileEntry(line, word.position + word.length);
        if (!file)
            return;
        if (auto quoted = FindQuoted(line.text))
            file->quotedName = quoted->token;
        sheet_.files.push_back(std::move(*file));
        currentFile_ = static_cast<int>(sheet_.files.size()) - 1;
    }

    // Reads one track's lines until its INDEX 01 entry has been taken.
    void ReadTrack(CueTrack& track)
    {
        track.file = currentFile_;
        while (next_ < lines_.size()) {
            const CueLine& line = lines_[next_++];
            auto word = FindWord(line.text);
            if (!word)
                continue;
            std::size_t afterKeyword = word->position + word->length;
            if (IsKeyword(*word, L"TITLE")) {
                track.title = TextValue(line.text, *word);
            } else if (IsKeyword(*word, L"PERFORMER")) {
                track.performer = TextValue(line.text, *word);
            } else if (IsKeyword(*word, L"SONGWRITER")) {
                track.songwriter = TextValue(line.text, *word);
            } else if (IsKeyword(*word, L"REM")) {
                ReadRemark(line.text, afterKeyword, track.remarks);
            } else if (IsKeyword(*word, L"FILE")) {
                // A pregap at the end of the previous image: the track's
                // audio starts in the file that its INDEX 01 follows.
                FileLine(line, *word);
            } else if (IsKeyword(*word, L"ISRC") || IsKeyword(*word, L"FLAGS")) {
                auto field = FindField(line.text, afterKeyword);
                (IsKeyword(*word, L"ISRC") ? track.isrc : track.flags) = field ? field->token : L"";
            } else if (IsKeyword(*word, L"INDEX")) {
                auto number = FindField(line.text, afterKeyword);
                if (!number || (number->token != L"00" && number->token != L"01"))
                    continue;
                // The time starts at the white character that ended the number.
                auto time = FindField(line.text, number->position + number->length - 1);
                std::wstring text(time ? time->token : L"");
                if (number->token == L"00") {
                    track.index00 = text;
                } else {
                    track.index01 = text;
                    track.file = currentFile_;
                    return;
                }
            }
        }
        track.file = currentFile_;
    }

    const std::vector<CueLine>& lines_;
    CueSheet& sheet_;
    std::size_t next_ = 0;
    int currentFile_ = -1;
};

// A track ends where the next one starts when both are in one image; the
// last track of an image runs to the image's end.
void SetTimes(CueTrackList& tracks)
{
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        CueTrack& track = *tracks[i];
        track.start = CueReader::time(track.index01.c_str());
        track.startFrames = CueReader::Frames(track.index01.c_str());
        if (i + 1 < tracks.size() && tracks[i + 1]->file == track.file) {
            track.end = CueReader::time(tracks[i + 1]->index01.c_str());
            track.endFrames = CueReader::Frames(tracks[i + 1]->index01.c_str());
        }
    }
}

void FindImages(const std::wstring& sheetPath, CueSheet& sheet, CueFolders& folders)
{
    for (CueFile& file : sheet.files) {
        file.path = FindImage(sheetPath, file, folders);
        // Where the sheet says, so that a failure names the missing file.
        if (file.path.empty())
            file.path = ::ImagePath(sheetPath, file.quotedName.empty() ? file.name : file.quotedName, folders);
    }
    for (auto& track : sheet.tracks)
        if (track->file >= 0)
            track->imagePath = sheet.files[static_cast<std::size_t>(track->file)].path;
}

}  // namespace

int CueReader::Parse(const wchar_t* path)
{
    sheet_.reset();
    if (!path)
        return 0;
    auto lines = ReadCueLines(path);
    if (!lines)
        return 0;

    auto sheet = std::make_shared<CueSheet>();
    SheetBuilder(*lines, *sheet).Read();
    SetTimes(sheet->tracks);
    CueFolders folders(lister_);
    FindImages(path, *sheet, folders);
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

float CueReader::time(const wchar_t* text)
{
    if (!text)
        return 0.0f;
    TimeParts parts = SplitTime(text);
    float result = static_cast<float>(parts.minutes * 60) + static_cast<float>(parts.seconds);
    if (parts.frames != 0)
        result = static_cast<float>(result + parts.frames / 75.0);
    return result;
}

std::int64_t CueReader::Frames(const wchar_t* text)
{
    if (!text)
        return 0;
    TimeParts parts = SplitTime(text);
    // A negative time cannot be a place in an image.
    return std::max(0LL, (parts.minutes * 60 + parts.seconds) * 75 + parts.frames);
}
