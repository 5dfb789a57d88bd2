#include "skin/SkinFile.h"

#include <cstdio>
#include "platform/graphics/Font.h"
#include "platform/core/Profile.h"
#include "platform/core/Strings.h"

#include <climits>
#include <cwctype>
#include <vector>

namespace {

constexpr win::DWORD kFirstBuffer = 4096;
// A single value (a number, a rectangle, a file name) fits the first
// time; a skin reads a hundred of them while the window waits to paint.
constexpr win::DWORD kFirstValueBuffer = 256;
// Characters of a value after its #variables# are replaced.
constexpr std::size_t kMaxValueLength = 1 << 16;

// A profile read into a buffer that doubles while the answer may have been
// cut (it filled the buffer to `cut` characters).
template <typename Read>
std::vector<wchar_t> ReadWhole(Read read, win::DWORD cutMargin, win::DWORD firstSize = kFirstBuffer)
{
    for (win::DWORD size = firstSize;; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        win::DWORD length = read(buffer.data(), size);
        if (length != size - cutMargin || size >= (1u << 26)) {
            buffer.resize(length < size ? length : size - 1);
            return buffer;
        }
    }
}

std::vector<std::wstring> SplitList(const std::vector<wchar_t>& list)
{
    std::vector<std::wstring> items;
    std::wstring current;
    for (wchar_t c : list) {
        if (c == L'\0') {
            if (!current.empty())
                items.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        items.push_back(current);
    return items;
}

bool EqualNoCase(const std::wstring& a, const wchar_t* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return i == a.size() && !b[i];
}

}  // namespace

bool SkinFile::Open(const std::wstring& path)
{
    std::FILE* f = std::fopen(win::ToUtf8(path).c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    path_ = path;
    variables_.clear();
    const std::wstring section = L"Variables";
    auto keys = SplitList(ReadWhole(
        [&](wchar_t* buffer, win::DWORD size) {
            return win::GetPrivateProfileString(section.c_str(), nullptr, L"", buffer, size,
                                                path_.c_str());
        },
        2));
    for (const auto& key : keys) {
        std::wstring value = Raw(&section, &key, L"");
        if (!value.empty())
            variables_[key] = value;
    }
    return true;
}

std::wstring SkinFile::Raw(const std::wstring* section, const std::wstring* key,
                           const std::wstring& defaultValue) const
{
    auto value = ReadWhole(
        [&](wchar_t* buffer, win::DWORD size) {
            return win::GetPrivateProfileString(section->c_str(), key->c_str(),
                                                defaultValue.c_str(), buffer, size, path_.c_str());
        },
        1, kFirstValueBuffer);
    return std::wstring(value.begin(), value.end());
}

int SkinFile::GetSectionNames(std::vector<std::wstring>& names) const
{
    names = SplitList(ReadWhole(
        [&](wchar_t* buffer, win::DWORD size) {
            return win::GetPrivateProfileSectionNames(buffer, size, path_.c_str());
        },
        2));
    return static_cast<int>(names.size());
}

std::wstring SkinFile::Substitute(std::wstring value) const
{
    // Built in one pass and cut at a length no skin value comes near: a file
    // of a few kilobytes naming a long variable thousands of times would
    // otherwise grow one value to gigabytes, one quadratic step at a time.
    std::wstring out;
    std::size_t scan = 0;
    while (out.size() < kMaxValueLength) {
        std::size_t open = value.find(L'#', scan);
        if (open == std::wstring::npos || open + 1 >= value.size())
            break;
        std::size_t close = value.find(L'#', open + 1);
        if (close == std::wstring::npos)
            break;
        auto found = variables_.find(value.substr(open + 1, close - open - 1));
        if (found == variables_.end()) {
            // The closing "#" may open the next reference.
            out.append(value, scan, close - scan);
            scan = close;
            continue;
        }
        out.append(value, scan, open - scan);
        out += found->second;
        scan = close + 1;
    }
    if (out.size() < kMaxValueLength)
        out.append(value, scan);
    if (out.size() > kMaxValueLength)
        out.resize(kMaxValueLength);
    return out;
}

std::wstring SkinFile::GetString(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue) const
{
    std::wstring value = Raw(&section, &key, defaultValue);
    if (value.find(L'%') != std::wstring::npos) {
        std::vector<wchar_t> expanded(kFirstBuffer, L'\0');
        win::DWORD length = win::ExpandEnvironmentStrings(value.c_str(), expanded.data(), kFirstBuffer);
        if (length != 0 && length < kFirstBuffer)
            value.assign(expanded.data());
    }
    return Substitute(std::move(value));
}

int SkinFile::GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) const
{
    return ParseSkinInt(GetString(section, key, std::to_wstring(defaultValue)));
}

SkinRect SkinFile::GetRect(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue) const
{
    return ParseSkinRect(GetString(section, key, defaultValue));
}

int ParseSkinInt(const std::wstring& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    return static_cast<int>(value > INT_MAX ? INT_MAX : value);
}

SkinRect ParseSkinRect(const std::wstring& text)
{
    // Fields are what lies between the first three commas; with fewer commas
    // the missing fields read as empty (0).
    std::wstring fields[4];
    std::size_t start = 0;
    for (int f = 0; f < 3; ++f) {
        std::size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos) {
            fields[f] = text.substr(start);
            start = text.size();
            break;
        }
        fields[f] = text.substr(start, comma - start);
        start = comma + 1;
    }
    if (start < text.size())
        fields[3] = text.substr(start);
    return {ParseSkinInt(fields[0]), ParseSkinInt(fields[1]), ParseSkinInt(fields[2]),
            ParseSkinInt(fields[3])};
}

SkinFontStyle ParseFontWeight(const std::wstring& text)
{
    if (EqualNoCase(text, L"ITALIC"))
        return SkinFontStyle::Italic;
    if (EqualNoCase(text, L"BOLDITALIC"))
        return SkinFontStyle::BoldItalic;
    if (EqualNoCase(text, L"bold"))
        return SkinFontStyle::Bold;
    return SkinFontStyle::Regular;
}

win::HFONT CreateSkinFont(int size, SkinFontStyle style)
{
    bool bold = style == SkinFontStyle::Bold || style == SkinFontStyle::BoldItalic;
    bool italic = style == SkinFontStyle::Italic || style == SkinFontStyle::BoldItalic;
    // Points at 96 pixels per inch: the same pixel size on every screen.
    double points = size > 0 && size <= 400 ? size : 12;
    return win::CreatePointFont(points, bold ? win::FW_BOLD : win::FW_NORMAL, italic);
}
