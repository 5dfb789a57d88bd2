#include "cue/CueReader.h"

#include "cue/CueLines.h"
#include "cue/CuePatterns.h"
#include "platform/core/Strings.h"

#include <cwctype>
#include <string_view>

namespace {

bool IsKeyword(const CueMatch& word, const wchar_t* keyword)
{
    return win::CompareNoCase(word.token, keyword) == 0;
}

std::wstring QuotedToken(const std::wstring& line)
{
    auto quoted = FindQuoted(line);
    return quoted ? quoted->token : std::wstring();
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

// Reads one track's lines, starting at `next`, until its INDEX 01 entry has
// been taken; returns the index of the first line after the track part.
std::size_t ReadTrack(const std::vector<std::wstring>& lines, std::size_t next, CueTrack& track)
{
    while (next < lines.size()) {
        const std::wstring& line = lines[next++];
        auto word = FindWord(line);
        if (!word)
            continue;
        std::size_t afterKeyword = word->position + word->length;
        if (IsKeyword(*word, L"TITLE")) {
            track.title = QuotedToken(line);
        } else if (IsKeyword(*word, L"PERFORMER")) {
            track.performer = QuotedToken(line);
        } else if (IsKeyword(*word, L"ISRC") || IsKeyword(*word, L"FLAGS")) {
            auto field = FindField(line, afterKeyword);
            (IsKeyword(*word, L"ISRC") ? track.isrc : track.flags) = field ? field->token : L"";
        } else if (IsKeyword(*word, L"INDEX")) {
            auto number = FindField(line, afterKeyword);
            if (!number || (number->token != L"00" && number->token != L"01"))
                continue;
            // The time starts at the white character that ended the number.
            auto time = FindField(line, number->position + number->length - 1);
            std::wstring text = time ? time->token : L"";
            if (number->token == L"00") {
                track.index00 = text;
            } else {
                track.index01 = text;
                return next;
            }
        }
    }
    return next;
}

void SetTimes(CueTrackList& tracks)
{
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        tracks[i]->start = CueReader::time(tracks[i]->index01.c_str());
        if (i + 1 < tracks.size())
            tracks[i]->end = CueReader::time(tracks[i + 1]->index01.c_str());
    }
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
    std::size_t next = 0;
    while (next < lines->size()) {
        const std::wstring& line = (*lines)[next++];
        auto word = FindWord(line);
        if (!word)
            continue;
        if (IsKeyword(*word, L"PERFORMER")) {
            if (auto quoted = FindQuoted(line))
                sheet->albumPerformer = quoted->token;
        } else if (IsKeyword(*word, L"TITLE")) {
            if (auto quoted = FindQuoted(line))
                sheet->albumTitle = quoted->token;
        } else if (IsKeyword(*word, L"FILE")) {
            if (auto quoted = FindQuoted(line))
                sheet->imageFileName = quoted->token;
        } else if (IsKeyword(*word, L"TRACK")) {
            auto number = FindField(line, word->position + word->length);
            if (!number)
                continue;
            auto track = std::make_shared<CueTrack>();
            track->number = number->token;
            sheet->tracks.push_back(track);
            next = ReadTrack(*lines, next, *track);
        }
    }
    SetTimes(sheet->tracks);
    sheet_ = std::move(sheet);
    return 1;
}

float CueReader::time(const wchar_t* text)
{
    if (!text)
        return 0.0f;
    std::wstring_view s(text);
    std::size_t first = s.find(L':');
    long long minutes = LeadingInteger(s.substr(0, first));
    long long seconds = 0;
    long long frames = 0;
    if (first != std::wstring_view::npos) {
        std::size_t second = s.find(L':', first + 1);
        seconds = LeadingInteger(s.substr(first + 1, second == std::wstring_view::npos
                                                         ? std::wstring_view::npos
                                                         : second - first - 1));
        if (second != std::wstring_view::npos)
            frames = LeadingInteger(s.substr(second + 1));
    }
    float result = static_cast<float>(minutes * 60) + static_cast<float>(seconds);
    if (frames != 0)
        result = static_cast<float>(result + frames / 75.0);
    return result;
}
