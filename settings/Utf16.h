// The settings file stores text as UTF-16; the program's wide strings hold
// whole code points.
#pragma once

#include <string>
#include <string_view>

// Unpaired surrogates become U+FFFD.
std::wstring FromUtf16(std::u16string_view text);
std::u16string ToUtf16(std::wstring_view text);
