// File names made from titles can be longer than a file system takes (255
// bytes of UTF-8 on Linux); creating such a file fails. These shorten them.
#pragma once

#include <cstddef>
#include <string>

namespace win {

constexpr std::size_t kMaxNameBytes = 255;

// `name` (one name, no folder) cut to at most `maxBytes` bytes of UTF-8:
// the stem loses whole characters from its end, the extension (".mp3") is
// kept. A name that fits comes back as it is.
std::wstring FitFileName(const std::wstring& name, std::size_t maxBytes = kMaxNameBytes);
// The same for the last name of `path`; the folders are left as they are.
std::wstring FitPathFileName(const std::wstring& path, std::size_t maxBytes = kMaxNameBytes);

}  // namespace win
