#include "platform/core/Profile.h"

#include "platform/core/Files.h"
#include "platform/core/ProfileCache.h"
#include "platform/core/Strings.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace win {

namespace {

using internal::ProfileSection;
using internal::ProfileSections;

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

const ProfileSection* FindSection(const ProfileSections& sections, LPCWSTR name)
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
    auto parsed = fileName ? internal::ProfileCache::Shared().Get(fileName) : nullptr;
    static const ProfileSections none;
    const ProfileSections& sections = parsed ? *parsed : none;
    bool loaded = parsed != nullptr;
    if (!section) {
        std::vector<std::wstring> names;
        for (const auto& s : sections)
            names.push_back(s.name);
        return CopyList(names, buffer, size);
    }
    const ProfileSection* found = loaded ? FindSection(sections, section) : nullptr;
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
