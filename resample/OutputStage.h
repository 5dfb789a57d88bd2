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
    OutputStage(std::FILE* out, int channels, int targetWidth, double gain, int ditherKind,
                Dither& dither, int sourceRate, int targetRate, int delay);

    // Takes `frames` interleaved frames. Returns false when the conversion
    // is over: the output reached its final length, or a write failed.
    bool Put(const double* samples, int frames, std::uint64_t framesRead, bool endOfInput);

    bool WriteFailed() const { return writeFailed_; }
    double Peak() const { return peak_; }

private:
    void Quantise(const double* samples, int frames);
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
    std::vector<unsigned char> raw_;
};

}  // namespace ssrc
