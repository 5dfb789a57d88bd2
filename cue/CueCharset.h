// Text in the 8-bit and multi-byte charsets that Windows rippers write
// sheets in (the code page of the Windows they ran on), decoded by iconv.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Whether iconv can decode `name` ("WINDOWS-1251", "cp1251", "SHIFT_JIS").
bool IsKnownCharset(const std::string& name);

// The whole of `bytes` in `charset`; nothing when a byte sequence is not
// valid there (or the charset is unknown).
std::optional<std::wstring> DecodeStrict(std::string_view bytes, const std::string& charset);

// Decodes a sheet line by line, never cutting a character in two.
class CharsetDecoder {
public:
    // Throws std::invalid_argument for a charset iconv does not know.
    explicit CharsetDecoder(const std::string& charset);
    ~CharsetDecoder();
    CharsetDecoder(const CharsetDecoder&) = delete;
    CharsetDecoder& operator=(const CharsetDecoder&) = delete;

    // Decodes whole characters from the front of `bytes`, at most `limit`
    // bytes of them, appending them to `text`; returns the bytes used. A
    // sequence that is not valid becomes U+FFFD (one per byte), and so does
    // a character cut off by the end of `bytes`.
    std::size_t Decode(std::string_view bytes, std::size_t limit, std::wstring& text);

private:
    void* iconv_;
};

// The charset that sheets without a byte-order mark are read in instead of
// the detected one; "" (the default) detects. Set once at start-up (the
// command line's choice), before sheets are read on other threads. False,
// leaving it as it was, for a name iconv does not know.
bool SetCueCharsetOverride(const std::string& charset);
std::string CueCharsetOverride();
