// Profile ("INI") files and environment expansion, with the Windows rules
// the skin definition files rely on: "[section]" lines open sections,
// "key=value" lines give values, names compare case-insensitively, a value
// is the text after the first "=" without surrounding blanks (and without
// enclosing quotes), the first of two equal keys wins.
#pragma once

#include "platform/core/Types.h"

namespace win {

// With a key: its value, or `defaultValue` when the file, the section or
// the key is missing. With a null key: every key of the section; with a
// null section: every section name. Lists are NUL-separated and end with
// two NULs. Returns the characters copied without the final NUL; a value
// cut to fit returns size - 1, a cut list size - 2.
DWORD GetPrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer,
                              DWORD size, LPCWSTR fileName);
DWORD GetPrivateProfileSectionNames(LPWSTR buffer, DWORD size, LPCWSTR fileName);

// Replaces each %NAME% by the environment variable's value; unknown names
// stay as written. Returns the characters needed including the final NUL
// (more than `size` when the result did not fit), 0 on error.
DWORD ExpandEnvironmentStrings(LPCWSTR source, LPWSTR destination, DWORD size);

}  // namespace win
