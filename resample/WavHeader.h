// The RIFF/WAVE header, for every WAV file the program writes: the decoder's
// output (a format record of 18 bytes, 46 bytes of header) and the
// resampler's (16 bytes, 44 in all). Readers are in WavInput.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct WavFormat {
    std::uint16_t formatTag = 1;  // 1 = PCM
    std::uint16_t channels = 2;
    std::uint32_t samplesPerSec = 44100;
    std::uint32_t avgBytesPerSec = 44100 * 4;
    std::uint16_t blockAlign = 4;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t extraSize = 0;       // written only in an 18-byte record
    std::uint32_t recordBytes = 16;    // the fmt chunk's length: 16 or 18

    // "RIFF" size "WAVE", "fmt " size record, "data" size.
    std::size_t HeaderBytes() const { return 28 + recordBytes; }
};

// The RIFF size field is 32 bits: longer files cannot be described.
constexpr std::uint64_t kMaxWavBytes = 0xFFFFFFFFull;

// Writes the header at the start of `out` for a file of `fileLength` bytes
// and leaves the stream just after it. A length of 0 means "not known yet"
// and writes both sizes as 0; sizes past 4 GiB are written as the largest
// value, which readers that know take as "to the end of the file".
// `dataBytes` is the audio's length when chunks follow it (tags); by default
// the audio is the rest of the file.
constexpr std::uint64_t kDataToEnd = ~std::uint64_t(0);
bool WriteWavHeader(std::FILE* out, const WavFormat& format, std::uint64_t fileLength,
                    std::uint64_t dataBytes = kDataToEnd);
