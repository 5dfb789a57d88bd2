// The PCM format record and the canonical WAV header, byte for byte as they
// sit in files: little-endian, packed.
#pragma once

#include <cstdint>

#pragma pack(push, 1)
struct WAVEFORMATEX {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0;
};

struct WAVE_HEADER {
    char cRIFFHeader[4];
    std::uint32_t nRIFFBytes;
    char cDataTypeID[4];
    char cFormatHeader[4];
    std::uint32_t nFormatBytes;
    std::uint16_t nFormatTag;
    std::uint16_t nChannels;
    std::uint32_t nSamplesPerSec;
    std::uint32_t nAvgBytesPerSec;
    std::uint16_t nBlockAlign;
    std::uint16_t nBitsPerSample;
    char cDataHeader[4];
    std::uint32_t nDataBytes;
};
#pragma pack(pop)

static_assert(sizeof(WAVEFORMATEX) == 18);
static_assert(sizeof(WAVE_HEADER) == 44);

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

// C linkage: the desktop program exports these two by their plain names.
extern "C" {
// Fills a PCM format record; 0 on success.
int FillWaveFormatEx(WAVEFORMATEX* format, int sampleRate, int bitsPerSample, int channels);
// Fills a 44-byte header for `audioBytes` of PCM followed by
// `terminatingBytes` of trailing data; 0 on success.
int FillWaveHeader(WAVE_HEADER* header, std::int64_t audioBytes, const WAVEFORMATEX* format,
                   int terminatingBytes);
}
