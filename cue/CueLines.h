// A sheet's text as the parser sees it: lines of at most 259 bytes, each
// with its newline when it had one, decoded as UTF-8 when the whole file is
// valid UTF-8 (a byte-order mark is dropped) and as Windows-1252 otherwise.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kCueLineBytes = 259;
// A sheet is a few kilobytes; anything past this is not one.
constexpr std::size_t kCueSheetMaxBytes = 1 << 20;

// Nothing when the file cannot be opened or is not an ordinary file of at
// most kCueSheetMaxBytes.
std::optional<std::vector<std::wstring>> ReadCueLines(const std::wstring& path);
std::vector<std::wstring> SplitCueLines(std::string_view bytes);
