#include "tags/CoverPicture.h"

#include <cstring>

namespace {

std::uint32_t Be16(const unsigned char* p) { return static_cast<std::uint32_t>(p[0] << 8 | p[1]); }
std::uint32_t Be32(const unsigned char* p) { return Be16(p) << 16 | Be16(p + 2); }

// Walks the JPEG markers up to the first frame header (SOFn), which holds
// the size; a scan or the end before it means no usable image.
bool ReadJpegHeader(const std::vector<unsigned char>& d, CoverPicture& picture)
{
    if (d.size() < 4 || d[0] != 0xFF || d[1] != 0xD8 || d[2] != 0xFF)
        return false;
    std::size_t at = 2;
    while (at + 4 <= d.size()) {
        if (d[at] != 0xFF)
            return false;
        unsigned marker = d[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)  // end of image, start of scan
            return false;
        std::uint32_t length = Be16(&d[at + 2]);
        if (length < 2 || at + 2 + length > d.size())
            return false;
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8)
                return false;
            const unsigned char* f = &d[at + 4];
            picture.height = static_cast<int>(Be16(f + 1));
            picture.width = static_cast<int>(Be16(f + 3));
            picture.depth = f[0] * f[5];
            return picture.width > 0 && picture.height > 0 && f[5] > 0;
        }
        at += 2 + length;
    }
    return false;
}

bool ReadPngHeader(const std::vector<unsigned char>& d, CoverPicture& picture)
{
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (d.size() < 33 || std::memcmp(d.data(), kSignature, 8) != 0 || Be32(&d[8]) != 13 ||
        std::memcmp(&d[12], "IHDR", 4) != 0)
        return false;
    std::uint32_t width = Be32(&d[16]), height = Be32(&d[20]);
    int bits = d[24], colour = d[25];
    int samples = colour == 0 ? 1 : colour == 2 ? 3 : colour == 3 ? 1 : colour == 4 ? 2 : colour == 6 ? 4 : 0;
    bool bitsOk = bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF || samples == 0 || !bitsOk)
        return false;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.depth = bits * samples;
    return true;
}

}  // namespace

std::optional<CoverPicture> CheckCoverImage(std::vector<unsigned char> data, std::string& why)
{
    if (data.size() > kMaxCoverBytes) {
        why = "larger than 16 MB";
        return std::nullopt;
    }
    CoverPicture picture;
    if (ReadJpegHeader(data, picture))
        picture.mime = "image/jpeg";
    else if (ReadPngHeader(data, picture))
        picture.mime = "image/png";
    else {
        why = "not a readable JPEG or PNG image";
        return std::nullopt;
    }
    picture.data = std::move(data);
    return picture;
}
