#include "cue/CueTime.h"

#include <algorithm>
#include <cwctype>

namespace {

// Saturates instead of overflowing.
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

// Digits only, and few enough that the frames of the whole time fit.
std::optional<long long> Digits(std::wstring_view text)
{
    if (text.empty() || text.size() > 7)
        return std::nullopt;
    long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return value;
}

}  // namespace

CueTimeParts SplitCueTime(std::wstring_view s)
{
    CueTimeParts parts;
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

std::optional<std::int64_t> IndexFrames(std::wstring_view text)
{
    std::size_t first = text.find(L':');
    if (first == std::wstring_view::npos)
        return std::nullopt;
    std::size_t second = text.find(L':', first + 1);
    if (second == std::wstring_view::npos)
        return std::nullopt;
    auto minutes = Digits(text.substr(0, first));
    auto seconds = Digits(text.substr(first + 1, second - first - 1));
    auto frames = Digits(text.substr(second + 1));
    if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= 75)
        return std::nullopt;
    return (*minutes * 60 + *seconds) * 75 + *frames;
}
