// Text at the edges of the program: wide strings inside, UTF-8 for the file
// system and the terminal, Windows-1252 for old 8-bit text that is not UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace win {

// A byte that is not valid UTF-8 becomes U+DC80..U+DCFF (one per byte) and
// comes back as the same byte, so any file name round-trips; show such text
// through ForDisplay, which makes those characters U+FFFD.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
std::wstring ForDisplay(std::wstring_view text);
bool IsValidUtf8(std::string_view bytes);
std::wstring FromWindows1252(std::string_view bytes);
// The "ANSI code page": UTF-8 when the bytes are valid UTF-8 (a leading
// byte-order mark is dropped), otherwise Windows-1252.
std::wstring FromAnsi(std::string_view bytes);
std::string ToAnsi(std::wstring_view text);

std::wstring ToLower(std::wstring_view text);
// Without leading and trailing white space.
std::wstring Trim(std::wstring_view text);
// Case-insensitive comparisons (<0, 0, >0), as _wcsicmp and _wcsnicmp.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
int CompareNoCase(std::wstring_view a, std::wstring_view b, std::size_t count);

// Copies `text` into a caller's buffer of `capacity` characters, always
// terminated; returns the characters copied without the terminator.
int CopyToBuffer(std::wstring_view text, wchar_t* buffer, int capacity);

}  // namespace win
