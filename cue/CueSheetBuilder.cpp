#include "cue/CueSheetBuilder.h"

#include "cue/CueFields.h"
#include "cue/CuePatterns.h"
#include "cue/CueReader.h"
#include "cue/CueTime.h"
#include "platform/core/Strings.h"

#include <algorithm>

namespace {

constexpr const wchar_t* kNoIndex01 = L"no INDEX 01";
constexpr const wchar_t* kBadIndexTime = L"bad INDEX time";

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

// "1", "01" and "001" are one index number.
int IndexNumber(std::wstring_view text)
{
    if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), [](wchar_t c) {
            return c >= L'0' && c <= L'9';
        }))
        return -1;
    return std::stoi(std::wstring(text));
}

class SheetBuilder {
public:
    explicit SheetBuilder(CueSheet& sheet) : sheet_(sheet) { }

    void Line(const CueLine& line)
    {
        auto word = FindWord(line.text);
        if (!word)
            return;
        std::size_t afterKeyword = word->position + word->length;
        if (IsKeyword(*word, L"TRACK"))
            TrackLine(line.text, afterKeyword);
        else if (IsKeyword(*word, L"FILE"))
            FileLine(line, *word);
        else if (track_)
            TrackPart(line.text, *word);
        else
            AlbumPart(line.text, *word);
    }

    void End()
    {
        if (track_ && !hasIndex01_ && track_->problem.empty())
            track_->problem = kNoIndex01;
    }

private:
    void AlbumPart(const std::wstring& line, const CueMatch& word)
    {
        std::wstring* field = IsKeyword(word, L"PERFORMER")    ? &sheet_.albumPerformer
                              : IsKeyword(word, L"TITLE")      ? &sheet_.albumTitle
                              : IsKeyword(word, L"SONGWRITER") ? &sheet_.songwriter
                                                               : nullptr;
        if (field) {
            if (std::wstring value = TextValue(line, word); !value.empty())
                *field = value;
        } else if (IsKeyword(word, L"REM")) {
            ReadRemark(line, word.position + word.length, sheet_.remarks);
        }
    }

    void TrackPart(const std::wstring& line, const CueMatch& word)
    {
        CueTrack& track = *track_;
        std::size_t afterKeyword = word.position + word.length;
        if (IsKeyword(word, L"TITLE")) {
            track.title = TextValue(line, word);
        } else if (IsKeyword(word, L"PERFORMER")) {
            track.performer = TextValue(line, word);
        } else if (IsKeyword(word, L"SONGWRITER")) {
            track.songwriter = TextValue(line, word);
        } else if (IsKeyword(word, L"REM")) {
            ReadRemark(line, afterKeyword, track.remarks);
        } else if (IsKeyword(word, L"ISRC") || IsKeyword(word, L"FLAGS")) {
            auto fields = BlankFields(line, afterKeyword);
            (IsKeyword(word, L"ISRC") ? track.isrc : track.flags) = fields.empty() ? L"" : fields[0];
        } else if (IsKeyword(word, L"INDEX")) {
            IndexLine(line, afterKeyword);
        }
    }

    void IndexLine(const std::wstring& line, std::size_t afterKeyword)
    {
        auto fields = BlankFields(line, afterKeyword);
        int number = fields.empty() ? -1 : IndexNumber(fields[0]);
        std::wstring time(fields.size() > 1 ? fields[1] : L"");
        if (number == 0 && track_->index00.empty()) {
            track_->index00 = time;
        } else if (number == 1 && !hasIndex01_) {
            hasIndex01_ = true;
            track_->index01 = time;
            // A pregap at the end of the previous image: the track's audio
            // starts in the file that its INDEX 01 follows.
            track_->file = currentFile_;
            if (!IndexFrames(time))
                track_->problem = kBadIndexTime;
        }
    }

    void TrackLine(const std::wstring& line, std::size_t afterKeyword)
    {
        auto fields = BlankFields(line, afterKeyword);
        if (fields.empty())
            return;  // no number: not a track
        End();
        track_ = std::make_shared<CueTrack>();
        track_->number = fields[0];
        track_->file = currentFile_;
        hasIndex01_ = false;
        // A TRACK without a type is taken for audio, as players take it.
        if (fields.size() < 2 || win::CompareNoCase(fields[1], L"AUDIO") == 0)
            sheet_.tracks.push_back(track_);
    }

    void FileLine(const CueLine& line, const CueMatch& word)
    {
        auto quoted = FindQuoted(line.text);
        // The patterns take the last FILE outside a track's pregap for the
        // sheet's image.
        if (quoted && (!track_ || hasIndex01_))
            sheet_.imageFileName = quoted->token;
        auto file = ReadFileEntry(line, word.position + word.length);
        if (!file)
            return;
        if (quoted)
            file->quotedName = quoted->token;
        sheet_.files.push_back(std::move(*file));
        currentFile_ = static_cast<int>(sheet_.files.size()) - 1;
    }

    CueSheet& sheet_;
    std::shared_ptr<CueTrack> track_;  // the track whose lines these are, audio or not
    bool hasIndex01_ = false;
    int currentFile_ = -1;
};

}  // namespace

void BuildCueSheet(const std::vector<CueLine>& lines, CueSheet& sheet)
{
    SheetBuilder builder(sheet);
    for (const CueLine& line : lines)
        builder.Line(line);
    builder.End();
}

void TimeCueTracks(CueTrackList& tracks)
{
    // A track that starts no later than the track before it in its image
    // would have no audio, and the one before it less than none.
    const CueTrack* previous = nullptr;
    for (auto& track : tracks) {
        if (!track->problem.empty())
            continue;
        if (previous && previous->file == track->file && *IndexFrames(track->index01) <= *IndexFrames(previous->index01))
            track->problem = kBadIndexTime;
        else
            previous = track.get();
    }
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        CueTrack& track = *tracks[i];
        track.start = track.end = 0.0f;
        track.startFrames = 0;
        track.endFrames = kToImageEnd;
        if (!track.problem.empty())
            continue;
        track.start = CueReader::time(track.index01.c_str());
        track.startFrames = IndexFrames(track.index01).value_or(0);
        std::size_t next = i + 1;
        while (next < tracks.size() && !tracks[next]->problem.empty())
            ++next;
        if (next < tracks.size() && tracks[next]->file == track.file) {
            track.end = CueReader::time(tracks[next]->index01.c_str());
            track.endFrames = IndexFrames(tracks[next]->index01).value_or(kToImageEnd);
        }
    }
}
