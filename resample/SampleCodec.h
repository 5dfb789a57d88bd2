// PCM samples as the three conversion routines see them: integers of 1 to
// 4 bytes in the file, doubles of about -1 .. +1 in between.
#pragma once

#include <cstddef>

namespace ssrc {

// Converts `count` samples of `width` bytes (1 unsigned, 2..4 signed
// little-endian) to doubles.
void DecodeSamples(const unsigned char* raw, int width, std::size_t count, double* out);
// The samples of one channel of `frames` interleaved frames, to doubles.
void DecodeChannel(const unsigned char* raw, int width, int channels, int channel,
                   std::size_t frames, double* out);

// Full scale of an output width: what a double of 1.0 becomes (1 to 3
// bytes; 4-byte output has no form here).
double OutputScale(int width);
int OutputMin(int width);
int OutputMax(int width);
// Stores quantised samples at `width` bytes (1 to 3): one byte adds 128.
void EncodeSample(int value, int width, unsigned char* out);
// EncodeSample for `count` values, the i-th at out + i * stride bytes.
void EncodeSamples(const int* values, int count, int width, unsigned char* out, std::size_t stride);

}  // namespace ssrc
