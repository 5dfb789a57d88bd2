// A front cover picture to embed in an output file: the image file's bytes
// as they are, and what its header says about it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CoverPicture {
    std::vector<unsigned char> data;
    std::string mime;  // "image/jpeg" or "image/png"
    int width = 0;
    int height = 0;
    int depth = 0;  // bits per pixel
};

// Pictures larger than this are not embedded: they would swell every track.
constexpr std::size_t kMaxCoverBytes = 16u << 20;

// The picture in `data` when it is a JPEG or PNG image whose header reads
// as one (signature, then a frame header or IHDR with a size) and not over
// kMaxCoverBytes; otherwise nothing, and `why` says what is wrong with it.
std::optional<CoverPicture> CheckCoverImage(std::vector<unsigned char> data, std::string& why);
