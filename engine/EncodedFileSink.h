// What the sinks that encode into a file of their own (FLAC, Opus) share:
// the file made through win::OutputFile, so that it appears under its name
// only when whole and tagged; the PCM chunks cut into whole frames of
// signed samples; one reason for the user when anything failed.
#pragma once

#include "engine/PcmSamples.h"
#include "engine/Sink.h"
#include "modules/apesdk/WaveFormat.h"

#include "platform/core/OutputFile.h"

#include <cstdint>
#include <memory>
#include <string>

class EncodedFileSink : public Sink {
public:
    ~EncodedFileSink() override;

    // Starts the encoder for the source's `format` and creates the file
    // under a temporary name. False when the format cannot be held or the
    // file cannot be made (FailureReason says why); nothing is left behind.
    bool Open(const WAVEFORMATEX& format, const std::wstring& path);
    void Write(const unsigned char* data, std::size_t bytes) override;
    // Completes the encoding, tags the file (beforeCommit) and gives it its
    // name. False when anything failed since Open: the file is removed and
    // whatever was under the name stays.
    bool Finish();
    // Drops the encoder and the unfinished file.
    void Abandon();
    // Why the file could not be made; empty while nothing failed.
    std::wstring FailureReason() const;

protected:
    // Each returns "" or why the encoder cannot go on.
    virtual std::wstring StartEncoder(const WAVEFORMATEX& format) = 0;
    virtual std::wstring Encode(const std::int32_t* samples, std::size_t frames) = 0;
    virtual std::wstring FinishEncoder() = 0;
    // Frees the encoder without completing anything.
    virtual void DropEncoder() = 0;

    // The encoder's output into the file; false when the write failed.
    bool WriteBytes(const void* data, std::size_t size);
    std::FILE* Stream() const { return output_.Stream(); }

private:
    void Fail(const std::wstring& reason);

    win::OutputFile output_;
    std::unique_ptr<PcmFrames> frames_;
    std::wstring reason_;
    bool open_ = false;
};
