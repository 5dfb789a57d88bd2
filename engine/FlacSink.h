// FLAC output on libFLAC's stream encoder, writing through the row's output
// file: the source's rate, width (8 to 32 bits) and channels kept, and the
// encoder decoding what it wrote as it goes (verify), so that a file that
// would not give back the source's samples is never kept.
#pragma once

#include "engine/EncodedFileSink.h"

#include <FLAC/stream_encoder.h>

#include <vector>

class FlacSink : public EncodedFileSink {
public:
    // `level`: libFLAC's compression level, 0 (fastest) to 8 (smallest).
    explicit FlacSink(int level) : level_(level) { }
    ~FlacSink() override;

protected:
    std::wstring StartEncoder(const WAVEFORMATEX& format) override;
    std::wstring Encode(const std::int32_t* samples, std::size_t frames) override;
    std::wstring FinishEncoder() override;
    void DropEncoder() override;

private:
    static FLAC__StreamEncoderWriteStatus WriteTo(const FLAC__StreamEncoder*, const FLAC__byte buffer[], size_t bytes,
                                                  uint32_t samples, uint32_t frame, void* sink);
    static FLAC__StreamEncoderSeekStatus SeekTo(const FLAC__StreamEncoder*, FLAC__uint64 offset, void* sink);
    static FLAC__StreamEncoderTellStatus TellOf(const FLAC__StreamEncoder*, FLAC__uint64* offset, void* sink);
    std::wstring Trouble() const;

    int level_;
    FLAC__StreamEncoder* encoder_ = nullptr;
};
