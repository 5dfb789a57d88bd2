#include "modules/lossless/FlacCueSheet.h"

#include "modules/lossless/BoundedFile.h"

#include <cstdio>

namespace {

constexpr std::size_t kCatalogBytes = 128;
constexpr std::size_t kTracksAt = 395;  // catalog, lead-in, flags and reserved bytes
constexpr std::size_t kTrackBytes = 36;
constexpr std::size_t kIndexBytes = 12;
constexpr std::size_t kIsrcBytes = 12;

// Text of a fixed-size field padded with NULs; empty unless every
// character is printable (a damaged block must not put control characters
// or quotes into a sheet).
std::string Field(const unsigned char* p, std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; i < size && p[i]; ++i) {
        if (p[i] < 0x20 || p[i] > 0x7E || p[i] == '"')
            return {};
        text += static_cast<char>(p[i]);
    }
    return text;
}

std::string Time(std::uint64_t sample, std::uint32_t rate)
{
    unsigned long long frames = static_cast<unsigned long long>(
        static_cast<unsigned __int128>(sample) * 75 / rate);
    char text[32];
    std::snprintf(text, sizeof text, "%02llu:%02llu:%02llu", frames / 75 / 60, frames / 75 % 60, frames % 75);
    return text;
}

}  // namespace

std::string FlacCueSheetText(const std::vector<unsigned char>& block, std::uint32_t sampleRate,
                             const std::string& fileName)
{
    if (block.size() <= kTracksAt || sampleRate == 0)
        return {};
    std::string sheet;
    std::string catalog = Field(block.data(), kCatalogBytes);
    if (!catalog.empty())
        sheet += "CATALOG " + catalog + "\r\n";
    sheet += "FILE \"" + fileName + "\" WAVE\r\n";
    int tracks = block[kTracksAt];
    std::size_t at = kTracksAt + 1;
    int written = 0;
    for (int t = 0; t < tracks; ++t) {
        if (block.size() - at < kTrackBytes)
            return {};
        const unsigned char* track = block.data() + at;
        std::uint64_t offset = BigEndian64(track);
        int number = track[8];
        int indices = track[35];
        at += kTrackBytes;
        if (block.size() - at < std::size_t(indices) * kIndexBytes)
            return {};
        // The lead-out (170 on a CD, 255 else) only marks the end.
        if (number >= 1 && number <= 99) {
            char line[64];
            std::snprintf(line, sizeof line, "  TRACK %02d AUDIO\r\n", number);
            sheet += line;
            std::string isrc = Field(track + 9, kIsrcBytes);
            if (!isrc.empty())
                sheet += "    ISRC " + isrc + "\r\n";
            if (track[21] & 0x40)
                sheet += "    FLAGS PRE\r\n";
            for (int i = 0; i < indices; ++i) {
                const unsigned char* index = block.data() + at + std::size_t(i) * kIndexBytes;
                std::snprintf(line, sizeof line, "    INDEX %02d ", index[8] % 100);
                sheet += line + Time(offset + BigEndian64(index), sampleRate) + "\r\n";
            }
            ++written;
        }
        at += std::size_t(indices) * kIndexBytes;
    }
    return written ? sheet : std::string();
}
