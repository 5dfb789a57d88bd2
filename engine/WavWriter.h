// Writes one RIFF/WAVE file in a single pass: a 46-byte placeholder, the PCM
// as it arrives, then the real header over the placeholder. Mono becomes
// stereo by doubling each frame; more than two channels pass unchanged.
// The file appears under its name only when it was closed whole.
#pragma once

#include "modules/apesdk/WaveFormat.h"

#include "platform/core/OutputFile.h"

#include <cstdio>
#include <functional>
#include <string>

class WavWriter {
public:
    static constexpr long kHeaderBytes = 46;

    // `replaceExisting`: see Sink::replaceExisting.
    explicit WavWriter(const std::wstring& path, bool replaceExisting = true);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    void SetFormat(const WAVEFORMATEX& format) { format_ = format; }
    int Write(const unsigned char* data, std::size_t bytes);
    int WriteHeader();
    // Completes the file under its name; a file with a failed write is
    // dropped instead.
    // `beforeCommit` gets the finished file under its temporary name; a
    // non-empty result drops the file (see Sink::beforeCommit).
    int CloseFile(const std::function<std::wstring(win::OutputFile&)>& beforeCommit = {});
    // Drops the unfinished file; whatever was under its name stays.
    void Abandon();

    bool IsOpen() const { return file_ != nullptr; }
    bool Created() const { return created_; }
    // Nothing went wrong so far: the file was created and every byte
    // reached it (also after CloseFile).
    bool Intact() const { return created_ && !failed_; }
    // CloseFile found a file that appeared under the name; it was kept.
    bool Appeared() const { return output_.Appeared(); }
    // Why the file could not be written ("No space left on device").
    std::string ErrorText() const { return output_.ErrorText(); }

private:
    bool Put(const void* data, std::size_t bytes);

    win::OutputFile output_;
    FILE* file_ = nullptr;
    bool created_ = false;
    WAVEFORMATEX format_;
    bool failed_ = false;
};
