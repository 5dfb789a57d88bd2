// The 44-byte header of a resampled file: 16-bit PCM at 44100 Hz. Written
// with both sizes 0 before the samples, completed after the last one.
#pragma once

#include <cstdint>
#include <cstdio>

namespace ssrc {

constexpr int kHeaderBytes = 44;
// The RIFF size field is 32 bits: longer files cannot be described.
constexpr std::uint64_t kMaxWavBytes = 0xFFFFFFFFull;

bool WriteOutputHeader(std::FILE* out, int channels);
// Fills in the two sizes from the file's length; false on an I/O error.
bool FinishOutputHeader(std::FILE* out);

}  // namespace ssrc
