// One stretch of a stream encoded by an encoder of its own. Its input starts
// on a frame of the serial encoding's grid, some frames before the first one
// it contributes, so its encoder is settled (transform overlap,
// psychoacoustic history) by then; it runs on some frames past where its
// successor takes over, so the two can be joined where their bit reservoirs
// allow.
#pragma once

#include "modules/mp3enc/FrameLayout.h"
#include "modules/mp3enc/Mp3Encoder.h"
#include "modules/mp3enc/SegmentJoin.h"

#include <cstdint>
#include <memory>
#include <vector>

struct Segment {
    enum class State { Filling, Queued, Encoding, Done };

    // Frame indices count the serial stream's frames, its information
    // frame being 0; frame f encodes the input from sample (f - 1) x frame size.
    std::int64_t origin = 0;    // the frame the encoder's own information frame stands for
    std::int64_t keepFrom = 0;  // the first frame it contributes
    std::int64_t handOver = 0;  // where its successor is meant to take over
    bool last = false;          // its input ends the stream: the encoder is flushed

    // Input from sample `pcmStart` on, and how much of it the encoder has had.
    std::int64_t pcmStart = 0;
    std::vector<std::uint8_t> pcm;
    std::size_t fed = 0;

    State state = State::Filling;
    std::unique_ptr<Mp3Encoder> encoder;
    std::vector<std::uint8_t> mp3;
    FrameLayout layout;

    EncodedRun Run() const { return EncodedRun{origin, keepFrom, &layout}; }
};
