#include "resample/SampleCodec.h"

#include <cstdint>

namespace ssrc {

namespace {

// One sample at each `step` bytes, `count` of them.
void Decode(const unsigned char* raw, int width, std::size_t step, std::size_t count, double* out)
{
    switch (width) {
    case 1:
        for (std::size_t i = 0; i < count; ++i, raw += step)
            out[i] = (int(raw[0]) - 128) * (1 / 127.0);
        break;
    case 2:
        for (std::size_t i = 0; i < count; ++i, raw += step)
            out[i] = std::int16_t(raw[0] | raw[1] << 8) * (1 / 32767.0);
        break;
    case 3:
        // The sign comes down from the top byte by an arithmetic shift: a
        // branch on it would be mispredicted half the time on real audio.
        for (std::size_t i = 0; i < count; ++i, raw += step) {
            const std::uint32_t u = std::uint32_t(raw[0]) << 8 | std::uint32_t(raw[1]) << 16 |
                                    std::uint32_t(raw[2]) << 24;
            out[i] = (std::int32_t(u) >> 8) * (1 / 8388607.0);
        }
        break;
    case 4:
        for (std::size_t i = 0; i < count; ++i, raw += step) {
            std::uint32_t u = raw[0] | raw[1] << 8 | raw[2] << 16 | std::uint32_t(raw[3]) << 24;
            out[i] = std::int32_t(u) * (1 / 2147483647.0);
        }
        break;
    }
}

}  // namespace

void DecodeSamples(const unsigned char* raw, int width, std::size_t count, double* out)
{
    Decode(raw, width, width, count, out);
}

void DecodeChannel(const unsigned char* raw, int width, int channels, int channel,
                   std::size_t frames, double* out)
{
    Decode(raw + std::size_t(channel) * width, width, std::size_t(channels) * width, frames, out);
}

double OutputScale(int width)
{
    switch (width) {
    case 1: return 127;
    case 2: return 32767;
    default: return 8388607;
    }
}

int OutputMin(int width)
{
    switch (width) {
    case 1: return -128;
    case 2: return -32768;
    default: return -8388608;
    }
}

int OutputMax(int width)
{
    switch (width) {
    case 1: return 127;
    case 2: return 32767;
    default: return 8388607;
    }
}

void EncodeSamples(const int* values, int count, int width, unsigned char* out, std::size_t stride)
{
    switch (width) {
    case 1:
        for (int i = 0; i < count; ++i, out += stride)
            out[0] = static_cast<unsigned char>(values[i] + 128);
        break;
    case 2:
        for (int i = 0; i < count; ++i, out += stride) {
            out[0] = static_cast<unsigned char>(values[i]);
            out[1] = static_cast<unsigned char>(values[i] >> 8);
        }
        break;
    default:
        for (int i = 0; i < count; ++i, out += stride) {
            out[0] = static_cast<unsigned char>(values[i]);
            out[1] = static_cast<unsigned char>(values[i] >> 8);
            out[2] = static_cast<unsigned char>(values[i] >> 16);
        }
        break;
    }
}

void EncodeSample(int value, int width, unsigned char* out)
{
    if (width == 1) {
        out[0] = static_cast<unsigned char>(value + 128);
        return;
    }
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
    if (width == 3)
        out[2] = static_cast<unsigned char>(value >> 16);
}

}  // namespace ssrc
