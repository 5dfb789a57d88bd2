// The sink for WAV output: one WavWriter per row.
#pragma once

#include "engine/Sink.h"
#include "engine/WavWriter.h"

#include <memory>
#include <string>

class WavSink : public Sink {
public:
    WavSink() { sinkKind = kSinkWav; }
    int Load(const wchar_t*) override { return 1; }

    // 0 for a null path; otherwise replaces any earlier writer and returns 1,
    // also when the file could not be created (Close then reports it).
    int Create(const wchar_t* path);
    // The file of the last Create exists and is open for writing.
    bool IsOpen() const { return writer_ && writer_->IsOpen(); }
    int SetFormat(const WAVEFORMATEX* format);
    int Write(const unsigned char* data, std::size_t bytes);
    // Writes the final header and closes the file. 1 only when the whole
    // file was written; 0 when there was no writer or anything failed, in
    // which case nothing new is left under the name.
    int Close();
    // Drops the unfinished file (a damaged source, a cancelled batch).
    void Abandon() { writer_.reset(); }
    // Why the last file could not be written; empty when it could.
    const std::string& ErrorText() const { return errorText_; }

private:
    std::unique_ptr<WavWriter> writer_;
    std::string errorText_;
};
