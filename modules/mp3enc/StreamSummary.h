// What the information frame at the start of a stream says about the whole
// stream, gathered frame by frame as a joined stream is put out: frame and
// byte counts, the seek table, the CRC of the audio frames and the padding
// that tells decoders where the audio ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class StreamSummary {
public:
    // The next frame of the stream, in order; the first one is the
    // information frame itself.
    void Add(const std::uint8_t* frame, std::size_t length);

    // `frame` is an information frame the encoder made for part of the
    // stream; its counts, seek table, padding, lengths and CRCs are set to
    // describe the whole stream. `samples` is the input's length, `delay` the
    // encoder's delay, `frameSamples` the samples in one frame.
    void Complete(std::vector<std::uint8_t>& frame, std::int64_t samples, int delay, int frameSamples) const;

private:
    // Offsets of every step-th audio frame; thinned out as it fills, so a
    // stream of any length needs no more than this many.
    static constexpr std::size_t kSeekPoints = 512;

    std::uint64_t bytes_ = 0;
    std::int64_t audioFrames_ = 0;
    std::uint16_t musicCrc_ = 0;
    std::vector<std::uint64_t> offsets_;
    std::int64_t step_ = 1;
};

// CRC-16 as the information frame uses it (polynomial 0x8005, reflected).
std::uint16_t UpdateCrc16(std::uint16_t crc, const std::uint8_t* data, std::size_t size);
