// The width in which a file's samples are delivered: the file's own, as the
// decoder's sample format and the encoder's recorded bit depth tell it.
#pragma once

#include <string>

extern "C" {
#include <libavutil/samplefmt.h>
}

struct SampleWidth {
    int bits = 0;                 // 8, 16, 24 or 32; 0: not deliverable
    bool eightInSixteen = false;  // 8-bit samples held in the top byte of 16 bits
};

// `rawBits` is the decoder's bits_per_raw_sample. With a reason for users
// when the samples cannot be delivered as integer PCM.
SampleWidth WidthOf(AVSampleFormat format, int rawBits, std::string& reason);
