#include "cue/CuePatterns.h"

// Scanned by hand: a pattern engine costs an allocation per character here,
// and a sheet of a megabyte has a hundred thousand tokens. The classes are
// those of the classic locale, whatever locale the program runs in: ASCII
// letters, digits and "_" make a word; ASCII blanks separate fields.

namespace {

bool IsWordCharacter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// The characters that end a line of text, which no token runs across.
bool EndsLine(wchar_t c)
{
    return c == L'\n' || c == L'\r' || c == L'\u2028' || c == L'\u2029';
}

// The token is the match without its opening character and without its
// closing character when there is one.
template <typename StopsToken>
CueMatch Delimited(const std::wstring& line, std::size_t open, StopsToken stops, bool (*closes)(wchar_t))
{
    std::size_t end = open + 1;
    while (end < line.size() && !stops(line[end]))
        ++end;
    CueMatch match;
    match.position = open;
    match.token = std::wstring_view(line).substr(open + 1, end - open - 1);
    bool closed = end < line.size() && closes(line[end]);
    match.length = end - open + (closed ? 1 : 0);
    return match;
}

}  // namespace

std::optional<CueMatch> FindWord(const std::wstring& line)
{
    std::size_t start = 0;
    while (start < line.size() && !IsWordCharacter(line[start]))
        ++start;
    if (start == line.size())
        return std::nullopt;
    std::size_t end = start;
    while (end < line.size() && IsWordCharacter(line[end]))
        ++end;
    return CueMatch{std::wstring_view(line).substr(start, end - start), start, end - start};
}

std::optional<CueMatch> FindQuoted(const std::wstring& line)
{
    std::size_t open = line.find(L'"');
    if (open == std::wstring::npos)
        return std::nullopt;
    return Delimited(line, open, [](wchar_t c) { return c == L'"' || EndsLine(c); },
                     [](wchar_t c) { return c == L'"'; });
}

std::optional<CueMatch> FindField(const std::wstring& line, std::size_t from)
{
    std::size_t open = from;
    while (open < line.size() && !IsBlank(line[open]))
        ++open;
    if (open >= line.size())
        return std::nullopt;
    return Delimited(line, open, [](wchar_t c) { return IsBlank(c) || EndsLine(c); }, IsBlank);
}
