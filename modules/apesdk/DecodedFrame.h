// One demuxed Monkey's Audio frame after decoding: its PCM, interleaved in
// the file's own width, and everything the decoder reported while making it,
// in the order it reported it. The reader replays those events one by one,
// so a damaged chunk is noticed at the very block where a decoder working
// chunk by chunk would notice it, whichever thread decoded the frame.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

#include <cstdint>
#include <vector>

struct DecodedFrame {
    struct Event {
        int blocks = 0;           // a decoded chunk of this many blocks...
        bool convertible = true;  // ...whose PCM is in `pcm` (false: a width it cannot carry)
        int error = 0;            // non-zero: no chunk, the decoder reported this code
    };

    bool hasPts = false;  // the demuxer's position of the frame's first block
    std::int64_t pts = 0;
    std::vector<Event> events;
    std::vector<unsigned char> pcm;  // the convertible chunks, back to back

    // The demuxer could not read the next frame: the stream breaks off here.
    static Event ReadFailure() { return {0, false, ERROR_IO_READ}; }

    void Clear()
    {
        hasPts = false;
        pts = 0;
        events.clear();
        pcm.clear();
    }
};
