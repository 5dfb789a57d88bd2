// The sink for WAV output: one WavWriter per row.
#pragma once

#include "engine/Sink.h"
#include "engine/WavWriter.h"

#include <memory>
#include <string>

class WavSink : public Sink {
public:
    // Replaces any earlier writer with one for `path`: 1 when its file was
    // created, 0 when not (ErrorText says why; Close then reports it too).
    int Create(const wchar_t* path);
    // The file of the last Create exists and is open for writing.
    bool IsOpen() const { return writer_ && writer_->IsOpen(); }
    int SetFormat(const WAVEFORMATEX* format);
    void Write(const unsigned char* data, std::size_t bytes) override;
    // Writes the final header and closes the file. 1 only when the whole
    // file was written; 0 when there was no writer or anything failed, in
    // which case nothing new is left under the name.
    int Close();
    // Drops the unfinished file (a damaged source, a cancelled batch).
    void Abandon() { writer_.reset(); }
    // Why the last file could not be written; empty when it could.
    const std::string& ErrorText() const { return errorText_; }
    // The last Close kept a file that appeared under the name meanwhile.
    bool Appeared() const { return appeared_; }

private:
    std::unique_ptr<WavWriter> writer_;
    std::string errorText_;
    bool appeared_ = false;
};
