#include "platform/graphics/ImageHeader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace win {

namespace {

std::uint32_t Be32(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
std::uint32_t Le32(const unsigned char* p)
{
    return p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

bool SizeAllowed(long long width, long long height)
{
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

// The signature, then the IHDR chunk first, as the format requires.
std::optional<ImageHeader> ReadPng(const unsigned char* h, std::size_t n)
{
    if (n < 24 || Be32(h + 8) != 13 || std::memcmp(h + 12, "IHDR", 4) != 0)
        return std::nullopt;
    long long width = Be32(h + 16), height = Be32(h + 20);
    if (!SizeAllowed(width, height))
        return std::nullopt;
    return ImageHeader{ImageKind::Png, int(width), int(height)};
}

// The file header and the information header after it (the OS/2 one of 12
// bytes or a Windows one of 40 and more). The pixels start inside the file
// and, when stored uncompressed, end inside it.
std::optional<ImageHeader> ReadBmp(const unsigned char* h, std::size_t n, long long fileSize)
{
    if (n < 26)
        return std::nullopt;
    const long long pixelsAt = Le32(h + 10);
    const std::uint32_t infoSize = Le32(h + 14);
    long long width, height;
    int bits;
    std::uint32_t compression = 0;
    if (infoSize == 12) {
        width = Le16(h + 18);
        height = Le16(h + 20);
        bits = Le16(h + 24);
    } else if (infoSize >= 40 && infoSize <= 124 && n >= 34) {
        width = static_cast<std::int32_t>(Le32(h + 18));
        height = std::llabs(static_cast<std::int32_t>(Le32(h + 22)));  // negative: rows from the top
        bits = Le16(h + 28);
        compression = Le32(h + 30);
    } else {
        return std::nullopt;
    }
    // The colour table, when the header counts one, lies between the header
    // and the pixels: a count past them would be allocated as given.
    const long long colours = infoSize >= 40 && n >= 50 ? Le32(h + 46) : 0;
    if (pixelsAt < 14 + infoSize + 4 * colours || pixelsAt > fileSize || !SizeAllowed(width, height))
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    const bool plain = compression == 0 || compression == 3;  // BI_RGB, BI_BITFIELDS
    const long long stride = (width * bits + 31) / 32 * 4;
    if (plain && pixelsAt + stride * height > fileSize)
        return std::nullopt;
    return ImageHeader{ImageKind::Bmp, int(width), int(height)};
}

}  // namespace

std::optional<ImageHeader> ReadImageHeader(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    unsigned char h[64] = {};
    const std::size_t n = std::fread(h, 1, sizeof h, f);
    struct stat st;
    const bool sized = fstat(fileno(f), &st) == 0;
    std::fclose(f);
    if (!sized)
        return std::nullopt;
    if (n >= 8 && std::memcmp(h, "\x89PNG\r\n\x1a\n", 8) == 0)
        return ReadPng(h, n);
    if (n >= 2 && h[0] == 'B' && h[1] == 'M')
        return ReadBmp(h, n, st.st_size);
    return std::nullopt;
}

}  // namespace win
