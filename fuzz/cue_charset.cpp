// A sheet's bytes to its lines of text: byte-order marks, the detector and
// its tie-break, and iconv's decoding in the charsets a user may name, cut
// into lines of at most 259 bytes. Nothing of the sheet may be lost, and
// the detector must always name a charset iconv can decode.
#include "cue/CharsetDetect.h"
#include "cue/CueCharset.h"
#include "cue/CueLines.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// First byte: which charset the user named; 0 detects.
constexpr std::array<const char*, 12> kNamed = {"",        "WINDOWS-1251", "SHIFT_JIS", "GB18030",
                                                "BIG5",    "EUC-KR",       "KOI8-R",    "EUC-JP",
                                                "UTF-8",   "ISO-2022-JP",  "UTF-16",    "WINDOWS-1252"};

std::string Normalised(std::string_view bytes)
{
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        out += bytes[i] == '\r' ? '\n' : bytes[i];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string named = kNamed[data[0] % kNamed.size()];
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::string detected = DetectCharset(bytes);
    if (!IsKnownCharset(detected))
        std::abort();

    CueText text = DecodeCueText(bytes, named);
    if (text.charset.empty())
        std::abort();
    std::string stored;
    for (const CueLine& line : text.lines) {
        // A line may read as no text at all: in a stateful charset such as
        // ISO-2022-JP it can hold nothing but a shift sequence.
        if (line.bytes.empty() || line.bytes.size() > kCueLineBytes)
            std::abort();
        stored += line.bytes;
    }
    // Outside UTF-16 (stored as UTF-8), every byte is kept, line ends aside.
    if (!bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF")) {
        std::string_view body = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
        if (stored != Normalised(body))
            std::abort();
    }
    return 0;
}
