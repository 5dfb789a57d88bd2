#include "platform/core/Profile.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <cstdlib>
#include <cwctype>
#include <fstream>
#include <memory>
#include <mutex>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace win {

namespace {

struct Entry {
    std::wstring key;
    std::wstring value;
};

struct Section {
    std::wstring name;
    std::vector<Entry> entries;
};

std::wstring Unquote(const std::wstring& s)
{
    if (s.size() >= 2 && (s.front() == L'"' || s.front() == L'\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

// UTF-16 with a byte-order mark, otherwise the "ANSI code page".
std::wstring Decode(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            char32_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
            if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
                char32_t low = static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
            text += static_cast<wchar_t>(unit);
        }
        return text;
    }
    return FromAnsi(bytes);
}

void Parse(const std::string& bytes, std::vector<Section>* sections)
{
    std::wstring text = Decode(bytes);
    Section* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == L';')
            continue;
        if (line[0] == L'[') {
            auto close = line.find(L']');
            sections->push_back({Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)), {}});
            current = &sections->back();
            continue;
        }
        auto eq = line.find(L'=');
        if (!current || eq == std::wstring::npos)
            continue;
        current->entries.push_back({Trim(line.substr(0, eq)), Unquote(Trim(line.substr(eq + 1)))});
    }
}

// A skin reads a hundred keys from one file: the file is read every time,
// but parsed again only when its bytes differ from the last file parsed.
std::shared_ptr<const std::vector<Section>> Load(LPCWSTR fileName)
{
    if (!fileName)
        return nullptr;
    std::ifstream in(ToPath(fileName), std::ios::binary);
    if (!in)
        return nullptr;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static std::mutex mutex;
    static std::string cachedBytes;
    static std::shared_ptr<const std::vector<Section>> cached;
    std::lock_guard lock(mutex);
    if (cached && bytes == cachedBytes)
        return cached;
    auto sections = std::make_shared<std::vector<Section>>();
    Parse(bytes, sections.get());
    cachedBytes = std::move(bytes);
    cached = sections;
    return sections;
}

// Copies one string, cut to fit; returns the characters copied.
DWORD CopyValue(const std::wstring& value, LPWSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    DWORD n = static_cast<DWORD>(std::min<std::size_t>(value.size(), size - 1));
    value.copy(buffer, n);
    buffer[n] = 0;
    return n;
}

// Copies a NUL-separated list ending in two NULs; a list that does not fit
// is cut and reports size - 2, as Windows does.
DWORD CopyList(const std::vector<std::wstring>& items, LPWSTR buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    if (size == 1) {
        buffer[0] = 0;
        return 0;
    }
    std::wstring joined;
    for (const auto& item : items) {
        joined += item;
        joined += L'\0';
    }
    if (joined.size() + 1 <= size) {
        joined.copy(buffer, joined.size());
        buffer[joined.size()] = 0;
        if (joined.empty())
            buffer[1 < size ? 1 : 0] = 0;
        return static_cast<DWORD>(joined.size());
    }
    joined.copy(buffer, size - 2);
    buffer[size - 2] = 0;
    buffer[size - 1] = 0;
    return size - 2;
}

const Section* FindSection(const std::vector<Section>& sections, LPCWSTR name)
{
    for (const auto& s : sections)
        if (CompareNoCase(s.name, name) == 0)
            return &s;
    return nullptr;
}

std::wstring DefaultOf(LPCWSTR value)
{
    // Windows drops trailing blanks of the default.
    std::wstring text = value ? value : L"";
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text;
}

std::wstring Environment(const std::wstring& name)
{
    std::string narrow = ToUtf8(name);
    if (const char* value = std::getenv(narrow.c_str()))
        return FromUtf8(value);
    // Windows compares variable names without regard to case.
    for (char** e = environ; e && *e; ++e) {
        std::string entry = *e;
        auto eq = entry.find('=');
        if (eq != std::string::npos && CompareNoCase(FromUtf8(entry.substr(0, eq)), name) == 0)
            return FromUtf8(entry.substr(eq + 1));
    }
    return L"%" + name + L"%";
}

}  // namespace

DWORD GetPrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD size,
                              LPCWSTR fileName)
{
    auto parsed = Load(fileName);
    static const std::vector<Section> none;
    const std::vector<Section>& sections = parsed ? *parsed : none;
    bool loaded = parsed != nullptr;
    if (!section) {
        std::vector<std::wstring> names;
        for (const auto& s : sections)
            names.push_back(s.name);
        return CopyList(names, buffer, size);
    }
    const Section* found = loaded ? FindSection(sections, section) : nullptr;
    if (!key) {
        std::vector<std::wstring> keys;
        if (found)
            for (const auto& e : found->entries)
                keys.push_back(e.key);
        return CopyList(keys, buffer, size);
    }
    if (found)
        for (const auto& e : found->entries)
            if (CompareNoCase(e.key, key) == 0)
                return CopyValue(e.value, buffer, size);
    return CopyValue(DefaultOf(defaultValue), buffer, size);
}

DWORD GetPrivateProfileSectionNames(LPWSTR buffer, DWORD size, LPCWSTR fileName)
{
    return GetPrivateProfileString(nullptr, nullptr, nullptr, buffer, size, fileName);
}

DWORD ExpandEnvironmentStrings(LPCWSTR source, LPWSTR destination, DWORD size)
{
    if (!source)
        return 0;
    std::wstring text = source, out;
    std::size_t i = 0;
    while (i < text.size()) {
        auto open = text.find(L'%', i);
        if (open == std::wstring::npos) {
            out += text.substr(i);
            break;
        }
        auto close = text.find(L'%', open + 1);
        if (close == std::wstring::npos || close == open + 1) {
            out += text.substr(i, (close == std::wstring::npos ? text.size() : close) - i);
            i = close == std::wstring::npos ? text.size() : close;
            continue;
        }
        out += text.substr(i, open - i);
        out += Environment(text.substr(open + 1, close - open - 1));
        i = close + 1;
    }
    DWORD needed = static_cast<DWORD>(out.size() + 1);
    if (destination && size >= needed) {
        out.copy(destination, out.size());
        destination[out.size()] = 0;
    }
    return needed;
}

}  // namespace win
