// Reads the header of a RIFF/WAVE file up to the first sample, refusing
// anything the converters cannot take or that does not add up.
#pragma once

#include "resample/WavHeader.h"

#include <cstdint>
#include <cstdio>

class SsrcEngine;

namespace ssrc {

struct WavInput {
    int channels = 0;
    int rate = 0;
    int width = 0;  // bytes per sample, 1 to 4
    std::uint32_t dataLength = 0;
    std::uint32_t frames = 0;
};

constexpr int kMaxChannels = 64;

// Reads the RIFF header and the format record that follows it, by position:
// `in` stands at the start of the file. Tags that are not where they should
// be are only reported (through `engine`, when given).
bool ReadWavFormat(std::FILE* in, WavFormat* record, SsrcEngine* engine = nullptr);

// `in` stands at the start of the file; on success it stands at the first
// sample. Tags that are not where they should be are only reported
// (through `engine`), the fields are read by position regardless.
bool ReadWavInput(std::FILE* in, SsrcEngine& engine, WavInput* info);

}  // namespace ssrc
