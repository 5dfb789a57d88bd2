// Opus output on libopusenc, writing through the row's output file. The
// source's samples go in at their own rate (libopusenc resamples to 48 kHz
// itself); the stream's pre-skip and its last page's position make decoders
// give exactly the source's length at 48 kHz. More than two channels take
// the standard surround mapping (family 1), which holds up to eight.
#pragma once

#include "engine/EncodedFileSink.h"

#include <opus/opusenc.h>

#include <vector>

class OpusSink : public EncodedFileSink {
public:
    // `kbps`: the average bit rate of the variable-rate encoding.
    explicit OpusSink(int kbps) : kbps_(kbps) { }
    ~OpusSink() override;

protected:
    std::wstring StartEncoder(const WAVEFORMATEX& format) override;
    std::wstring Encode(const std::int32_t* samples, std::size_t frames) override;
    std::wstring FinishEncoder() override;
    void DropEncoder() override;

private:
    static int WriteTo(void* sink, const unsigned char* data, opus_int32 length);
    static int CloseStream(void*) { return 0; }

    int kbps_;
    float scale_ = 1.0f;
    int channels_ = 0;
    OggOpusEnc* encoder_ = nullptr;
    std::vector<float> pcm_;
};
