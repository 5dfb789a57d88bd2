#include "cue/CueFields.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <string_view>
#include <utility>

namespace {

template <typename Char>
bool IsBlank(Char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

template <typename Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

template <typename Char>
std::basic_string_view<Char> Unquote(std::basic_string_view<Char> text)
{
    text = TrimBlanks(text);
    if (text.empty() || text.front() != '"')
        return text;
    std::size_t last = text.rfind('"');
    if (last == 0)
        return TrimBlanks(text.substr(1));
    return text.substr(1, last - 1);
}

std::optional<CueFileKind> FileKindOf(std::string_view word)
{
    static constexpr std::array<std::pair<std::string_view, CueFileKind>, 7> kTypes = {{
        {"WAVE", CueFileKind::Wave}, {"WAV", CueFileKind::Wave}, {"MP3", CueFileKind::Mp3},
        {"AIFF", CueFileKind::Aiff}, {"BINARY", CueFileKind::Binary}, {"MOTOROLA", CueFileKind::Motorola},
        {"FLAC", CueFileKind::Flac}}};
    for (auto [type, kind] : kTypes)
        if (word.size() == type.size() &&
            std::equal(word.begin(), word.end(), type.begin(),
                       [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }))
            return kind;
    return std::nullopt;
}

// The file name after the keyword: quoted, or everything up to the type
// word that ends the line, whose kind goes to `kind`.
template <typename Char>
std::basic_string<Char> FileNameIn(std::basic_string_view<Char> rest, CueFileKind* kind = nullptr)
{
    rest = TrimBlanks(rest);
    std::size_t lastBlank = rest.size();
    while (lastBlank > 0 && !IsBlank(rest[lastBlank - 1]))
        --lastBlank;
    if (lastBlank > 0) {
        std::basic_string_view<Char> word = rest.substr(lastBlank);
        std::string ascii(word.begin(), word.end());
        std::optional<CueFileKind> found;
        if (std::all_of(word.begin(), word.end(), [](Char c) { return c > 0 && c < 0x80; }))
            found = FileKindOf(ascii);
        if (found) {
            rest = TrimBlanks(rest.substr(0, lastBlank));
            if (kind)
                *kind = *found;
        }
    }
    return std::basic_string<Char>(Unquote(rest));
}

}  // namespace

std::wstring TolerantText(const std::wstring& line, std::size_t afterKeyword)
{
    if (afterKeyword > line.size())
        return {};
    return std::wstring(Unquote(std::wstring_view(line).substr(afterKeyword)));
}

std::optional<CueFile> ReadFileEntry(const CueLine& line, std::size_t afterKeyword)
{
    if (afterKeyword > line.text.size())
        return std::nullopt;
    CueFile file;
    file.name = FileNameIn(std::wstring_view(line.text).substr(afterKeyword), &file.kind);
    // The keyword is ASCII, so in the stored bytes it ends after the same
    // leading blanks and the four letters of FILE.
    std::string_view bytes = line.bytes;
    std::size_t start = 0;
    while (start < bytes.size() && IsBlank(bytes[start]))
        ++start;
    file.bytes = FileNameIn(bytes.substr(std::min(bytes.size(), start + 4)));
    if (file.name.empty())
        return std::nullopt;
    return file;
}

void ReadRemark(const std::wstring& line, std::size_t afterKeyword, std::map<std::wstring, std::wstring>& into)
{
    std::wstring_view rest = TrimBlanks(std::wstring_view(line).substr(std::min(afterKeyword, line.size())));
    std::size_t nameEnd = 0;
    while (nameEnd < rest.size() && !IsBlank(rest[nameEnd]))
        ++nameEnd;
    if (nameEnd == 0)
        return;
    std::wstring name(rest.substr(0, nameEnd));
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    std::wstring value(Unquote(rest.substr(nameEnd)));
    if (!value.empty())
        into[name] = value;
}

std::vector<std::wstring_view> BlankFields(const std::wstring& line, std::size_t from)
{
    std::vector<std::wstring_view> fields;
    std::wstring_view rest = std::wstring_view(line).substr(std::min(from, line.size()));
    while (!rest.empty()) {
        while (!rest.empty() && IsBlank(rest.front()))
            rest.remove_prefix(1);
        std::size_t end = 0;
        while (end < rest.size() && !IsBlank(rest[end]))
            ++end;
        if (end > 0)
            fields.push_back(rest.substr(0, end));
        rest.remove_prefix(end);
    }
    return fields;
}
