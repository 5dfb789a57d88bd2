// Conversions that cover every path of the resampler (up, down, same rate;
// 8- to 32-bit sources; every dither kind; 1- to 3-byte output; one to six
// channels), each with the fingerprint of the bytes it writes.
#pragma once

#include <cstdint>
#include <vector>

namespace golden {

struct Case {
    const char* name;
    int rate;
    int width;     // bytes per source sample
    int channels;
    int frames;
    // 0: through WavResampler, in place, as the worker converts a file
    // (16-bit output, the dither it chooses); else the routine is called
    // directly with this output width and `dither`.
    int targetWidth;
    int dither;
    std::uint64_t fingerprint;  // of the serial conversion's output
};

const std::vector<Case>& Cases();

// Converts the case's signal and returns a 64-bit hash of what was written
// (the whole file for driver cases, the samples otherwise).
std::uint64_t Fingerprint(const Case& c);

}  // namespace golden
