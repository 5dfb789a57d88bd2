#include "platform/core/FileNameFit.h"

#include "platform/core/Strings.h"

#include <vector>

namespace win {

namespace {

// Longer "extensions" are part of a title ("Vol. 2 - a long subtitle").
constexpr std::size_t kMaxExtensionBytes = 16;

std::size_t Utf8Bytes(std::wstring_view text) { return ToUtf8(text).size(); }

}  // namespace

std::wstring FitFileName(const std::wstring& name, std::size_t maxBytes)
{
    if (Utf8Bytes(name) <= maxBytes)
        return name;
    std::wstring stem = name;
    std::wstring extension;
    auto dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0 && Utf8Bytes(name.substr(dot)) <= kMaxExtensionBytes) {
        stem = name.substr(0, dot);
        extension = name.substr(dot);
    }
    // Whole characters only: a wide character is one code point (or one
    // raw byte of a name that is not UTF-8), so no cut splits a sequence.
    std::size_t budget = maxBytes > Utf8Bytes(extension) ? maxBytes - Utf8Bytes(extension) : 0;
    std::size_t used = 0, keep = 0;
    while (keep < stem.size()) {
        std::size_t bytes = Utf8Bytes(std::wstring_view(stem).substr(keep, 1));
        if (used + bytes > budget)
            break;
        used += bytes;
        ++keep;
    }
    return stem.substr(0, keep) + extension;
}

std::wstring FitPathFileName(const std::wstring& path, std::size_t maxBytes)
{
    auto slash = path.rfind(L'/');
    std::size_t start = slash == std::wstring::npos ? 0 : slash + 1;
    return path.substr(0, start) + FitFileName(path.substr(start), maxBytes);
}

}  // namespace win
