// The end of both resampling directions: quantises each block of filtered
// frames, drops the filters' delay at the start, and ends the output at
// exactly floor(frames in x R / S) + 2 frames once the input has ended.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace ssrc {

class Dither;

class OutputStage {
public:
    // Blocks hold at most `maxFrames` frames.
    OutputStage(std::FILE* out, int channels, int targetWidth, double gain, int ditherKind,
                Dither& dither, int sourceRate, int targetRate, int delay, int maxFrames);

    // Quantises one channel of a block of `frames` interleaved frames.
    // Different channels may be quantised on different threads at once;
    // every channel is quantised before Put.
    void QuantiseChannel(const double* samples, int frames, int channel);
    // Writes what the block quantised. Returns false when the conversion
    // is over: the output reached its final length, or a write failed.
    bool Put(int frames, std::uint64_t framesRead, bool endOfInput);

    bool WriteFailed() const { return writeFailed_; }
    double Peak() const { return peak_; }

private:
    bool Write(int first, std::int64_t count, int where);

    std::FILE* out_;
    int channels_;
    int width_;
    double scale_;
    int ditherKind_;
    Dither& dither_;
    int sourceRate_;
    int targetRate_;
    int remainingDelay_;
    bool firstWrite_ = true;
    bool writeFailed_ = false;
    std::uint64_t written_ = 0;
    double peak_ = 0;
    std::vector<double> channelPeaks_;  // of the block being quantised
    std::vector<std::vector<int>> quantised_;  // per channel, before encoding
    std::vector<unsigned char> raw_;
};

}  // namespace ssrc
