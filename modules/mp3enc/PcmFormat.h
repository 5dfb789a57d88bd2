// The input the encoder takes: interleaved PCM, mono or stereo, 8-bit
// unsigned or 16/24/32-bit signed little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct PcmFormat {
    int channels = 0;
    int sampleRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
};

// Reads an 18-byte WAVEFORMATEX; nothing when the encoder cannot take it.
std::optional<PcmFormat> ParsePcmFormat(const std::uint8_t* record);

// Spreads `frames` blocks into one full-scale 32-bit buffer per channel.
void UnpackPcm(const PcmFormat& format, const std::uint8_t* data, int frames,
               std::vector<std::int32_t>& left, std::vector<std::int32_t>& right);
