// A tolerant reading of the sheet lines the token patterns read wrongly:
// unquoted texts, quotes inside a quoted text, unquoted FILE names, and the
// REM entries that rippers use for album data.
#pragma once

#include "cue/CueLines.h"
#include "cue/CueSheet.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The value after a keyword that ends at `afterKeyword`: between the first
// and the last quote when quoted, else the rest of the line without the
// white space around it.
std::wstring TolerantText(const std::wstring& line, std::size_t afterKeyword);

// The name of a FILE line (without its type word), both as text and as the
// bytes stored in the sheet. Nothing when the line names no file.
std::optional<CueFile> ReadFileEntry(const CueLine& line, std::size_t afterKeyword);

// "REM NAME value": stores value under the upper-case NAME. A REM without
// a name is ignored.
void ReadRemark(const std::wstring& line, std::size_t afterKeyword, std::map<std::wstring, std::wstring>& into);

// The blank-separated words of `line` from `from` on, however many blanks
// stand between them.
std::vector<std::wstring_view> BlankFields(const std::wstring& line, std::size_t from);
std::vector<std::wstring_view> BlankFields(std::wstring&&, std::size_t) = delete;
