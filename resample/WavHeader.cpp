#include "resample/WavHeader.h"

#include <algorithm>
#include <cstring>

namespace {

void PutLe(unsigned char* at, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

bool WriteWavHeader(std::FILE* out, const WavFormat& format, std::uint64_t fileLength, std::uint64_t dataBytes)
{
    const std::size_t headerBytes = format.HeaderBytes();
    auto size = [&](std::uint64_t minus) {
        return fileLength == 0 ? 0 : std::min<std::uint64_t>(fileLength - std::min(fileLength, minus), kMaxWavBytes);
    };
    unsigned char h[48] = {};
    std::memcpy(h, "RIFF", 4);
    PutLe(h + 4, size(8), 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    PutLe(h + 16, format.recordBytes, 4);
    PutLe(h + 20, format.formatTag, 2);
    PutLe(h + 22, format.channels, 2);
    PutLe(h + 24, format.samplesPerSec, 4);
    PutLe(h + 28, format.avgBytesPerSec, 4);
    PutLe(h + 32, format.blockAlign, 2);
    PutLe(h + 34, format.bitsPerSample, 2);
    if (format.recordBytes >= 18)
        PutLe(h + 36, format.extraSize, 2);
    unsigned char* data = h + 20 + format.recordBytes;
    std::memcpy(data, "data", 4);
    PutLe(data + 4, dataBytes == kDataToEnd ? size(headerBytes) : std::min(dataBytes, size(headerBytes)), 4);
    return fseeko(out, 0, SEEK_SET) == 0 && std::fwrite(h, 1, headerBytes, out) == headerBytes;
}
