// Opus output on libopusenc, writing through the row's output file. The
// source's samples go in at their own rate (libopusenc resamples to 48 kHz
// itself); the stream's pre-skip and its last page's position make decoders
// give exactly the source's length at 48 kHz. More than two channels take
// the standard surround mapping (family 1), which holds up to eight.
#pragma once

#include "engine/EncodedFileSink.h"
#include "engine/OggOpusTrim.h"

#include <opus/opusenc.h>

#include <cstdint>
#include <memory>
#include <vector>

class OpusSink : public EncodedFileSink {
public:
    // `kbps`: the average bit rate of the variable-rate encoding.
    explicit OpusSink(int kbps) : kbps_(kbps) { }
    ~OpusSink() override;

    // How much of the audio before a track that starts at frame `start`
    // of its image (at `rate`) the encoder should hear first: about a
    // second, from a frame boundary of an encoder of the whole image; 0 when
    // the rate allows no such length.
    static std::int64_t LeadFrames(std::uint32_t rate, std::int64_t start);
    // Set before Open, for a track cut from a longer recording: the first
    // `leadFrames` frames written are the audio before the track, and
    // after its `length48` samples (at 48 kHz) comes the audio after it,
    // or nothing (-1 then). Decoders give only the track.
    void HearNeighbours(std::int64_t leadFrames, std::int64_t length48)
    {
        leadFrames_ = leadFrames;
        length48_ = length48;
    }

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
    std::int64_t leadFrames_ = 0;
    std::int64_t length48_ = -1;
    std::unique_ptr<OggOpusTrim> trim_;
};
