// One thread's encoding as the module's exports drive it: PCM in, MP3 bytes
// out in order, and a finish that completes the file. Encoding runs on
// threads of the stream's own, so it overlaps the caller's decoding.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

class EncoderStream {
public:
    virtual ~EncoderStream() = default;

    // Bytes taken (all of them), or the negative code of an earlier failure.
    virtual std::int32_t Encode(const std::uint8_t* pcm, std::int32_t size) = 0;
    // The bytes finished since the last call; empty when none.
    virtual const std::vector<std::uint8_t>& TakeFrames() = 0;
    // Encodes what is queued, writes what is left and completes the stream in
    // `output` (or only finishes the encoding when it is null).
    virtual std::int32_t Finish(FILE* output) = 0;
};
