#include "cue/CueFields.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <string_view>

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

bool IsFileType(std::string_view word)
{
    static constexpr std::array<std::string_view, 7> kTypes = {"WAVE", "WAV", "MP3", "AIFF", "BINARY",
                                                               "MOTOROLA", "FLAC"};
    for (std::string_view type : kTypes)
        if (word.size() == type.size() &&
            std::equal(word.begin(), word.end(), type.begin(),
                       [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }))
            return true;
    return false;
}

// The file name after the keyword: quoted, or everything up to the type
// word that ends the line.
template <typename Char>
std::basic_string<Char> FileNameIn(std::basic_string_view<Char> rest)
{
    rest = TrimBlanks(rest);
    std::size_t lastBlank = rest.size();
    while (lastBlank > 0 && !IsBlank(rest[lastBlank - 1]))
        --lastBlank;
    if (lastBlank > 0) {
        std::basic_string_view<Char> word = rest.substr(lastBlank);
        std::string ascii(word.begin(), word.end());
        if (std::all_of(word.begin(), word.end(), [](Char c) { return c > 0 && c < 0x80; }) && IsFileType(ascii))
            rest = TrimBlanks(rest.substr(0, lastBlank));
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
    file.name = FileNameIn(std::wstring_view(line.text).substr(afterKeyword));
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
