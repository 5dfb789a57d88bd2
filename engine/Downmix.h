// Mixes interleaved PCM of more than two channels down to stereo, in the
// same sample width, for outputs that hold two channels at most (MP3). The
// channels are taken in the WAV order (front left, front right, centre, low
// frequency, back left, back right, side left, side right); centre and
// surround channels go into both sides at -3 dB, the low-frequency channel
// is left out, and each side is scaled so that it can never clip.
#pragma once

#include "engine/Sink.h"

#include <cstddef>
#include <vector>

class DownmixSink : public Sink {
public:
    // `bytesPerSample` 1 (unsigned) to 4; `channels` 3 to 8.
    DownmixSink(Sink& stereo, int channels, int bytesPerSample);
    void Write(const unsigned char* data, std::size_t bytes) override;

    static constexpr int kMaxChannels = 8;

private:
    double Sample(const unsigned char* at) const;
    void Put(double value, unsigned char* at) const;

    Sink& stereo_;
    int channels_;
    int width_;
    // Left and right gain of each input channel.
    std::vector<double> left_, right_;
    std::vector<unsigned char> out_;
};
