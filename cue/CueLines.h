// A sheet's text as the parser sees it: lines of at most 259 bytes, each
// with its newline when it had one, never cutting a character. A UTF-16
// sheet (little or big endian, with its byte-order mark) is read as the same
// text in UTF-8. Otherwise a UTF-8 byte-order mark is dropped, and the text
// is UTF-8 when it had one and is valid UTF-8; else it is in the charset the
// caller names, if any; else UTF-8 when valid, and the charset it was
// detected to be in (CharsetDetect.h) when not. CR LF and a lone CR (old Mac
// sheets) both end a line.
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

struct CueText {
    std::vector<CueLine> lines;
    std::string charset;  // what it was read as: "UTF-8", "UTF-16LE", "WINDOWS-1251", ...
};

// `charset` (an iconv name; "" or one iconv does not know detects) is used
// for a sheet without a byte-order mark.
CueText DecodeCueText(std::string_view bytes, const std::string& charset = {});
// Nothing when the file cannot be opened or is not an ordinary file of at
// most kCueSheetMaxBytes.
std::optional<CueText> ReadCueText(const std::wstring& path, const std::string& charset = {});
std::optional<std::vector<CueLine>> ReadCueLines(const std::wstring& path);
std::vector<CueLine> SplitCueLines(std::string_view bytes);
