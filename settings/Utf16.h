// The settings file stores text as UTF-16; the program's wide strings hold
// whole code points.
#pragma once

#include <string>
#include <string_view>

// Unpaired surrogates become U+FFFD, except U+DC80..U+DCFF, which stand for
// the bytes of a file name that is not UTF-8 and are kept.
std::wstring FromUtf16(std::u16string_view text);
std::u16string ToUtf16(std::wstring_view text);
