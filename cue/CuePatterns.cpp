#include "cue/CuePatterns.h"

// GCC 12 under the address sanitizer reports moves inside the standard
// regular-expression compiler as possibly uninitialised; they are not.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop

namespace {

const std::wregex& WordPattern()
{
    static const std::wregex pattern(L"(\\w+)", std::regex::ECMAScript);
    return pattern;
}

const std::wregex& QuotedPattern()
{
    static const std::wregex pattern(L"\"((?!\").)*(\")?", std::regex::ECMAScript);
    return pattern;
}

const std::wregex& FieldPattern()
{
    static const std::wregex pattern(L"\\s((?!\\s).)*(\\s)?", std::regex::ECMAScript);
    return pattern;
}

// The token is the match without its first character and without the
// optional closing character when that matched.
std::optional<CueMatch> Search(const std::wregex& pattern, const std::wstring& line,
                               std::size_t from, bool trimEnds)
{
    if (from > line.size())
        return std::nullopt;
    std::wsmatch m;
    if (!std::regex_search(line.cbegin() + static_cast<std::ptrdiff_t>(from), line.cend(), m, pattern))
        return std::nullopt;
    CueMatch match;
    match.position = from + static_cast<std::size_t>(m.position(0));
    match.length = static_cast<std::size_t>(m.length(0));
    match.token = m.str(0);
    if (trimEnds) {
        match.token.erase(0, 1);
        if (m[2].matched)
            match.token.pop_back();
    }
    return match;
}

}  // namespace

std::optional<CueMatch> FindWord(const std::wstring& line)
{
    return Search(WordPattern(), line, 0, false);
}

std::optional<CueMatch> FindQuoted(const std::wstring& line)
{
    return Search(QuotedPattern(), line, 0, true);
}

std::optional<CueMatch> FindField(const std::wstring& line, std::size_t from)
{
    return Search(FieldPattern(), line, from, true);
}
