// A sheet's text as the parser sees it: lines of at most 259 bytes, each
// with its newline when it had one. A UTF-16 sheet (little or big endian,
// with its byte-order mark) is read as the same text in UTF-8; otherwise the
// text is UTF-8 when the whole file is valid UTF-8 (a byte-order mark is
// dropped) and Windows-1252 when not. CR LF and a lone CR (old Mac sheets)
// both end a line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kCueLineBytes = 259;
// A sheet is a few kilobytes; anything past this is not one.
constexpr std::size_t kCueSheetMaxBytes = 1 << 20;

struct CueLine {
    std::wstring text;
    // The line's bytes as stored (UTF-8 for a UTF-16 sheet), for names that
    // must be looked up on disk exactly as written.
    std::string bytes;
};

// Nothing when the file cannot be opened or is not an ordinary file of at
// most kCueSheetMaxBytes.
std::optional<std::vector<CueLine>> ReadCueLines(const std::wstring& path);
std::vector<CueLine> SplitCueLines(std::string_view bytes);
