#include "cue/CueLines.h"

#include "cue/CharsetDetect.h"
#include "cue/CueCharset.h"
#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Text mode: a CR LF pair arrives as one newline; a CR alone also ends a
// line, as old Mac editors wrote them.
std::string NormaliseLineEnds(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                continue;
            out += '\n';
        } else {
            out += bytes[i];
        }
    }
    return out;
}

// UTF-16 with a byte-order mark, as Windows tools save "Unicode" sheets,
// re-encoded as UTF-8. An unpaired surrogate becomes U+FFFD; an odd last
// byte is dropped.
std::optional<std::string> FromUtf16(std::string_view raw)
{
    bool little = raw.starts_with("\xFF\xFE");
    if (!little && !raw.starts_with("\xFE\xFF"))
        return std::nullopt;
    auto unit = [&](std::size_t i) -> char32_t {
        auto a = static_cast<unsigned char>(raw[i]), b = static_cast<unsigned char>(raw[i + 1]);
        return little ? (b << 8 | a) : (a << 8 | b);
    };
    std::wstring text;
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < raw.size()) {
            char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        text += static_cast<wchar_t>(c);
    }
    return win::ToUtf8(text);
}

}  // namespace

CueText DecodeCueText(std::string_view raw, const std::string& charset)
{
    CueText text;
    std::optional<std::string> utf16 = FromUtf16(raw);
    std::string utf16Name = raw.starts_with("\xFF\xFE") ? "UTF-16LE" : "UTF-16BE";
    if (utf16)
        raw = *utf16;
    bool marked = raw.starts_with("\xEF\xBB\xBF");
    if (marked)
        raw.remove_prefix(3);
    std::string bytes = NormaliseLineEnds(raw);
    bool valid = win::IsValidUtf8(bytes);
    if (utf16)
        text.charset = utf16Name;
    else if ((marked && valid) || (charset.empty() && valid))
        text.charset = "UTF-8";
    else
        text.charset = IsKnownCharset(charset) ? charset : DetectCharset(bytes);
    // Windows-1252 as Windows reads it: its five unassigned bytes too.
    enum class Mode { Utf8, Windows1252, Other } mode =
        utf16 || text.charset == "UTF-8" ? Mode::Utf8
        : text.charset == "WINDOWS-1252" ? Mode::Windows1252 : Mode::Other;
    std::optional<CharsetDecoder> decoder;
    if (mode == Mode::Other)
        decoder.emplace(text.charset);

    std::string_view rest = bytes;
    while (!rest.empty()) {
        std::size_t newline = rest.find('\n');
        std::size_t line = newline == std::string_view::npos ? rest.size() : newline + 1;
        CueLine piece;
        std::size_t n = std::min(line, kCueLineBytes);
        if (decoder) {
            // Long lines are cut as the fixed line buffer cuts them, but
            // never inside a character.
            n = decoder->Decode(rest.substr(0, line), kCueLineBytes, piece.text);
        } else if (mode == Mode::Utf8) {
            while (n < rest.size() && n > 1 && IsContinuationByte(rest[n]))
                --n;
            piece.text = win::FromUtf8(rest.substr(0, n));
        } else {
            piece.text = win::FromWindows1252(rest.substr(0, n));
        }
        piece.bytes = std::string(rest.substr(0, n));
        text.lines.push_back(std::move(piece));
        rest.remove_prefix(n);
    }
    return text;
}

std::vector<CueLine> SplitCueLines(std::string_view bytes) { return DecodeCueText(bytes).lines; }

std::optional<std::vector<CueLine>> ReadCueLines(const std::wstring& path)
{
    auto text = ReadCueText(path);
    if (!text)
        return std::nullopt;
    return std::move(text->lines);
}

std::optional<CueText> ReadCueText(const std::wstring& path, const std::string& charset)
{
    // Without blocking on a pipe, and only an ordinary file of sheet size: a
    // name that leads to a device would never end.
    int fd = open(win::ToPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kCueSheetMaxBytes) {
        close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0 && bytes.size() <= kCueSheetMaxBytes)
        bytes.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    if (got < 0 || bytes.size() > kCueSheetMaxBytes)
        return std::nullopt;
    return DecodeCueText(bytes, charset);
}
