#include "modules/mp3enc/PcmFormat.h"

#include "modules/mp3enc/InputLimits.h"

#include <cstring>

namespace {

std::uint32_t Read16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Read32(const std::uint8_t* p) { return Read16(p) | (Read16(p + 2) << 16); }

// One sample, moved to the top of a 32-bit word so every width shares a scale.
std::int32_t Sample(const std::uint8_t* p, int bytes)
{
    switch (bytes) {
    case 1:
        return static_cast<std::int32_t>((static_cast<std::uint32_t>(p[0]) - 128u) << 24);
    case 2:
        return static_cast<std::int32_t>(Read16(p) << 16);
    case 3:
        return static_cast<std::int32_t>((p[0] << 8) | (p[1] << 16) | (static_cast<std::uint32_t>(p[2]) << 24));
    default:
        return static_cast<std::int32_t>(Read32(p));
    }
}

}  // namespace

std::optional<PcmFormat> ParsePcmFormat(const std::uint8_t* record)
{
    if (!record)
        return std::nullopt;
    PcmFormat format;
    std::uint32_t tag = Read16(record);
    format.channels = static_cast<int>(Read16(record + 2));
    std::uint32_t rate = Read32(record + 4);
    format.blockAlign = static_cast<int>(Read16(record + 12));
    format.bitsPerSample = static_cast<int>(Read16(record + 14));
    if (tag != 1 || format.channels < 0 || format.bitsPerSample < 0 ||
        !Mp3InputProblem(rate, static_cast<unsigned>(format.channels), static_cast<unsigned>(format.bitsPerSample))
             .empty())
        return std::nullopt;
    format.sampleRate = static_cast<int>(rate);
    int bits = format.bitsPerSample;
    if (format.blockAlign != format.channels * bits / 8)
        return std::nullopt;
    return format;
}

void UnpackPcm(const PcmFormat& format, const std::uint8_t* data, int frames,
               std::vector<std::int32_t>& left, std::vector<std::int32_t>& right)
{
    int bytes = format.bitsPerSample / 8;
    left.resize(static_cast<std::size_t>(frames));
    right.resize(format.channels == 2 ? static_cast<std::size_t>(frames) : 0);
    for (int i = 0; i < frames; ++i, data += format.blockAlign) {
        left[i] = Sample(data, bytes);
        if (format.channels == 2)
            right[i] = Sample(data + bytes, bytes);
    }
}
