#include "modules/apesdk/WaveFormat.h"

#include <cstring>

int FillWaveFormatEx(WAVEFORMATEX* format, int sampleRate, int bitsPerSample, int channels)
{
    if (!format || sampleRate <= 0 || bitsPerSample <= 0 || channels <= 0)
        return -1;
    *format = {};
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = static_cast<std::uint16_t>(channels);
    format->nSamplesPerSec = static_cast<std::uint32_t>(sampleRate);
    format->wBitsPerSample = static_cast<std::uint16_t>(bitsPerSample);
    format->nBlockAlign = static_cast<std::uint16_t>(bitsPerSample / 8 * channels);
    format->nAvgBytesPerSec = format->nSamplesPerSec * format->nBlockAlign;
    return 0;
}

int FillWaveHeader(WAVE_HEADER* header, std::int64_t audioBytes, const WAVEFORMATEX* format,
                   int terminatingBytes)
{
    if (!header || !format || audioBytes < 0 || terminatingBytes < 0)
        return -1;
    std::memcpy(header->cRIFFHeader, "RIFF", 4);
    header->nRIFFBytes = static_cast<std::uint32_t>(audioBytes + 44 - 8 + terminatingBytes);
    std::memcpy(header->cDataTypeID, "WAVE", 4);
    std::memcpy(header->cFormatHeader, "fmt ", 4);
    header->nFormatBytes = 16;
    header->nFormatTag = format->wFormatTag;
    header->nChannels = format->nChannels;
    header->nSamplesPerSec = format->nSamplesPerSec;
    header->nAvgBytesPerSec = format->nAvgBytesPerSec;
    header->nBlockAlign = format->nBlockAlign;
    header->nBitsPerSample = format->wBitsPerSample;
    std::memcpy(header->cDataHeader, "data", 4);
    header->nDataBytes = static_cast<std::uint32_t>(audioBytes);
    return 0;
}
