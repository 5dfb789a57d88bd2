#include "platform/core/Strings.h"

#include <algorithm>
#include <cwctype>

namespace win {

namespace {

// A byte that is not part of valid UTF-8 (always 0x80 or above) travels as
// the lone surrogate U+DC00 + byte, so a file name comes back unchanged.
constexpr char32_t kEscapeBase = 0xDC00;
bool IsEscapedByte(char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

}  // namespace

std::wstring ForDisplay(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out)
        if (IsEscapedByte(static_cast<char32_t>(c)))
            c = L'\uFFFD';
    return out;
}

std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<char32_t>(wc);
        if (IsEscapedByte(c)) {
            out += static_cast<char>(c - kEscapeBase);
            continue;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

// Decodes one UTF-8 sequence at `i`; returns its length, 0 when invalid.
std::size_t DecodeOne(std::string_view s, std::size_t i, char32_t& out)
{
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = b(i);
    std::size_t length;
    char32_t c;
    if (lead < 0x80) {
        out = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b(i + k) & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMin[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    out = c;
    return length;
}

}  // namespace

std::wstring FromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        std::size_t n = DecodeOne(text, i, c);
        if (n == 0) {
            out += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            out += static_cast<wchar_t>(c);
            i += n;
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c;
        std::size_t n = DecodeOne(bytes, i, c);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::wstring FromWindows1252(std::string_view bytes)
{
    // 0x80..0x9F differ from Latin-1; the five unassigned ones map to
    // themselves, as Windows' own conversion does.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::wstring out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes)
        out += (c >= 0x80 && c < 0xA0) ? static_cast<wchar_t>(kHigh[c - 0x80]) : static_cast<wchar_t>(c);
    return out;
}

std::wstring FromAnsi(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return FromUtf8(bytes.substr(3));
    return IsValidUtf8(bytes) ? FromUtf8(bytes) : FromWindows1252(bytes);
}

std::string ToAnsi(std::wstring_view text) { return ToUtf8(text); }

std::wstring ToLower(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

std::wstring Trim(std::wstring_view text)
{
    std::size_t a = 0, b = text.size();
    while (a < b && std::iswspace(static_cast<wint_t>(text[a])))
        ++a;
    while (b > a && std::iswspace(static_cast<wint_t>(text[b - 1])))
        --b;
    return std::wstring(text.substr(a, b - a));
}

int CompareNoCase(std::wstring_view a, std::wstring_view b, std::size_t count)
{
    std::size_t n = std::min({a.size(), b.size(), count});
    for (std::size_t i = 0; i < n; ++i) {
        auto x = std::towlower(static_cast<wint_t>(a[i]));
        auto y = std::towlower(static_cast<wint_t>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    std::size_t la = std::min(a.size(), count), lb = std::min(b.size(), count);
    return la == lb ? 0 : (la < lb ? -1 : 1);
}

int CompareNoCase(std::wstring_view a, std::wstring_view b)
{
    return CompareNoCase(a, b, std::max(a.size(), b.size()));
}

int CopyToBuffer(std::wstring_view text, wchar_t* buffer, int capacity)
{
    if (!buffer || capacity <= 0)
        return 0;
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
    std::copy_n(text.data(), n, buffer);
    buffer[n] = L'\0';
    return static_cast<int>(n);
}

}  // namespace win
