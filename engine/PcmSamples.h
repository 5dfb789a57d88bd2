// Interleaved little-endian PCM as the sources give it (8-bit unsigned,
// 16/24/32-bit signed) turned into signed integers at the source's own
// width, which is what encoders and level meters take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Appends the samples of `frames` whole frames of `channels` channels.
void UnpackPcm(const unsigned char* data, std::size_t frames, int channels, int bits,
               std::vector<std::int32_t>& samples);

// Breaks a stream of byte chunks into whole frames: a chunk may end inside
// a frame, whose bytes wait for the next one.
class PcmFrames {
public:
    PcmFrames(int channels, int bits) : channels_(channels), bits_(bits) { }
    int Channels() const { return channels_; }
    int Bits() const { return bits_; }
    // The samples of every frame completed by `data`; empty when none was.
    const std::vector<std::int32_t>& Take(const unsigned char* data, std::size_t bytes);
    // Bytes of an incomplete frame still waiting.
    std::size_t Pending() const { return pending_.size(); }

private:
    int channels_;
    int bits_;
    std::vector<unsigned char> pending_;
    std::vector<std::int32_t> samples_;
};
