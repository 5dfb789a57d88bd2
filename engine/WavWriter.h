// Writes one RIFF/WAVE file in a single pass: a 46-byte placeholder, the PCM
// as it arrives, then the real header over the placeholder. Mono becomes
// stereo by doubling each frame; more than two channels pass unchanged.
#pragma once

#include "modules/apesdk/WaveFormat.h"

#include <cstdio>
#include <string>

class WavWriter {
public:
    static constexpr long kHeaderBytes = 46;

    WavWriter(const std::wstring& path, int skipHeader);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    void SetFormat(const WAVEFORMATEX& format) { format_ = format; }
    int Write(const unsigned char* data, std::size_t bytes);
    int WriteHeader();
    int CloseFile();

    bool IsOpen() const { return file_ != nullptr; }
    bool Created() const { return created_; }
    // Nothing went wrong so far: the file was created and every byte
    // reached it (also after CloseFile).
    bool Intact() const { return created_ && !failed_; }

private:
    bool Put(const void* data, std::size_t bytes);

    int skipHeader_;
    FILE* file_ = nullptr;
    bool created_ = false;
    WAVEFORMATEX format_;
    bool failed_ = false;
};
