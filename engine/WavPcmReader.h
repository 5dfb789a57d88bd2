// Reads back the PCM of a WAV file the engine made itself on the way to
// another format (a resampled intermediate): its format and then its
// samples, chunk by chunk.
#pragma once

#include "modules/apesdk/WaveFormat.h"

#include <cstdint>
#include <cstdio>
#include <string>

class WavPcmReader {
public:
    WavPcmReader() = default;
    ~WavPcmReader();
    WavPcmReader(const WavPcmReader&) = delete;
    WavPcmReader& operator=(const WavPcmReader&) = delete;

    // False when the file cannot be read or holds no integer PCM in a form
    // this reader takes (a "fmt " chunk, then a "data" chunk).
    bool Open(const std::wstring& path);
    const WAVEFORMATEX& Format() const { return format_; }
    // Up to `bytes` bytes of the audio; 0 at its end or after a failure.
    std::size_t Read(unsigned char* buffer, std::size_t bytes);
    // A read failed or the audio ended before its chunk said it would.
    bool Failed() const { return failed_; }

private:
    bool ReadFormat(std::uint32_t size);

    std::FILE* file_ = nullptr;
    WAVEFORMATEX format_;
    std::uint64_t left_ = 0;
    bool failed_ = false;
};
