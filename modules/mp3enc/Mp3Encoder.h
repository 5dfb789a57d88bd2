// One running LAME encoder: configured from the input and output types,
// fed PCM bytes, holding the MP3 bytes it made until they are taken.
#pragma once

#include "modules/mp3enc/PcmFormat.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

struct lame_global_struct;

class Mp3Encoder {
public:
    ~Mp3Encoder();

    // MP3_S_OK or a negative code; `outputType` is the 92-byte record.
    static std::int32_t Create(const PcmFormat& input, const std::uint8_t* outputType,
                               std::unique_ptr<Mp3Encoder>& encoder);

    std::int32_t Encode(const std::uint8_t* pcm, std::int32_t size);
    // The bytes made since the last call; empty when none.
    const std::vector<std::uint8_t>& TakeFrames();
    std::int32_t Finish(FILE* output);

    // Samples in one frame, and how many the encoder puts before the first
    // input sample.
    int FrameSamples() const;
    int Delay() const;
    // The input is resampled on its way to the MP3 rate.
    bool Resamples() const;
    // The information frame as it stands now; empty when the stream has none.
    std::vector<std::uint8_t> InformationFrame() const;
    // Writes `frame` over the start of `output`, where its placeholder went out first.
    static std::int32_t WriteInformationFrame(const std::vector<std::uint8_t>& frame, FILE* output);

private:
    Mp3Encoder(const PcmFormat& input, lame_global_struct* lame);
    std::int32_t EncodeBlocks(const std::uint8_t* pcm, int frames);

    PcmFormat input_;
    lame_global_struct* lame_;
    bool finished_ = false;
    std::vector<std::uint8_t> partialBlock_;
    std::vector<std::int32_t> left_;
    std::vector<std::int32_t> right_;
    std::vector<std::uint8_t> pending_;
    std::vector<std::uint8_t> taken_;
};
