// What an image file says about itself, read by us before any decoder sees
// its bytes: a header that does not hold together (a size past the end of
// the file, impossible dimensions) never reaches a decoder, so a damaged or
// hostile skin image cannot make one allocate gigabytes or loop.
#pragma once

#include <optional>
#include <string>

namespace win {

// Images the program reads: skins and icons are PNG or BMP files.
enum class ImageKind { Png, Bmp };

struct ImageHeader {
    ImageKind kind;
    int width;
    int height;
};

// No image is larger than this, on either side or in all.
constexpr int kMaxImageSide = 32767;
constexpr long long kMaxImagePixels = 1LL << 24;

// Nothing when the file cannot be read, is neither PNG nor BMP, or its
// header is damaged or names a size above the limits.
std::optional<ImageHeader> ReadImageHeader(const std::string& path);

}  // namespace win
