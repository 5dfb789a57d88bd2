#include "rows/NamePattern.h"

#include "rows/OutputNaming.h"
#include "platform/core/Strings.h"

#include <cwctype>
#include <vector>

namespace {

constexpr std::size_t kMaxNameBytes = 255;

std::wstring SourceBaseName(const std::wstring& path)
{
    auto slash = path.rfind(L'/');
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    auto dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// "3/12" or "03" as "03"; "" when the row has no number.
std::wstring TwoDigitNumber(const std::wstring& number)
{
    std::size_t digits = 0;
    while (digits < number.size() && std::iswdigit(static_cast<wint_t>(number[digits])))
        ++digits;
    std::wstring text = number.substr(0, digits);
    while (text.size() > 2 && text.front() == L'0')
        text.erase(0, 1);
    return text.size() == 1 ? L"0" + text : text;
}

// The first run of four digits ("1999-05-01" gives 1999), else the date.
std::wstring Year(const std::wstring& date)
{
    for (std::size_t i = 0; i + 4 <= date.size(); ++i) {
        std::size_t run = 0;
        while (run < 4 && std::iswdigit(static_cast<wint_t>(date[i + run])))
            ++run;
        if (run == 4 && (i + 4 == date.size() || !std::iswdigit(static_cast<wint_t>(date[i + 4]))))
            return date.substr(i, 4);
    }
    return date;
}

std::wstring Field(wchar_t code, const ConversionItem& item)
{
    const TagRecord& tags = item.tags;
    switch (code) {
    case L'n': return TwoDigitNumber(tags.Get("TRACKNUMBER"));
    case L't': {
        std::wstring title = tags.Get("TITLE");
        return title.empty() ? SourceBaseName(item.sourcePath) : title;
    }
    case L'a': {
        std::wstring artist = tags.Get("ARTIST");
        return artist.empty() ? tags.Get("ALBUMARTIST") : artist;
    }
    case L'A': return tags.Get("ALBUM");
    case L'y': return Year(tags.Get("DATE"));
    case L'f': return SourceBaseName(item.sourcePath);
    }
    return {};
}

std::wstring SafeText(std::wstring text)
{
    for (auto& c : text)
        if (c == L'/' || c < 0x20 || c == 0x7F)
            c = L'_';
    return text;
}

// Cut to `bytes` of UTF-8 without splitting a character.
std::wstring CutToBytes(const std::wstring& text, std::size_t bytes)
{
    std::wstring out;
    std::size_t used = 0;
    for (wchar_t c : text) {
        std::size_t size = win::ToUtf8(std::wstring_view(&c, 1)).size();
        if (used + size > bytes)
            break;
        out += c;
        used += size;
    }
    return out;
}

std::vector<std::wstring> Components(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = path.find(L'/', start);
        std::wstring part = path.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start);
        if (!part.empty() && part != L".")
            parts.push_back(part == L".." ? L"_" : part);
        if (slash == std::wstring::npos)
            return parts;
        start = slash + 1;
    }
}

}  // namespace

std::optional<std::wstring> CheckNamePattern(const std::wstring& pattern)
{
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'%')
            continue;
        if (i + 1 == pattern.size())
            return L"the name pattern ends with a lone \"%\"";
        wchar_t code = pattern[++i];
        if (std::wstring(L"ntaAyf%").find(code) == std::wstring::npos)
            return L"the name pattern has an unknown field \"%" + std::wstring(1, code) +
                   L"\" (known: %n %t %a %A %y %f %%)";
    }
    if (Components(pattern).empty())
        return L"the name pattern names no file";
    return std::nullopt;
}

std::wstring PatternOutputPath(const std::wstring& pattern, const ConversionItem& item,
                               const std::wstring& directory, const std::wstring& extension)
{
    std::wstring filled;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size()) {
            wchar_t code = pattern[++i];
            filled += code == L'%' ? L"%" : SafeText(Field(code, item));
        } else {
            filled += pattern[i] == L'/' ? L'/' : SafeText(std::wstring(1, pattern[i]))[0];
        }
    }
    std::vector<std::wstring> parts = Components(filled);
    if (parts.empty())
        parts.push_back(SafeTrackFileName(L"", TwoDigitNumber(item.tags.Get("TRACKNUMBER"))));
    std::wstring suffix = L"." + extension;
    std::wstring path = directory;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        bool last = i + 1 == parts.size();
        std::size_t room = kMaxNameBytes - (last ? win::ToUtf8(suffix).size() : 0);
        path += CutToBytes(parts[i], room) + (last ? suffix : L"/");
    }
    return path;
}
