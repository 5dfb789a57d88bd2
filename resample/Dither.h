// The last step of every output sample: dither noise, optional noise
// shaping by error feedback, clipping with a record of the overshoot, and
// rounding to an integer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ssrc {

enum DitherKind {
    kNoDither = 0,       // callers round themselves
    kPlainDither = 1,    // noise only
    kFirstOrderShaping = 2,
    kRateShaping = 3,    // the shaper matched to the target rate
    kAltRateShaping = 4, // alternative shapers at 48000 and 44100 Hz
};

enum NoiseDensity { kRectangular = 0, kTriangular = 1, kGaussian = 2 };

class Dither {
public:
    // Chooses the shaper, clears the error histories and precomputes the
    // noise. Answers 1 for kinds 0 and 1, otherwise the shaper row's value.
    int Setup(int targetRate, int channels, int clipMin, int clipMax, int kind, int density,
              double amplitude);
    // `value` is already in output steps. Raises *peak to the largest ratio
    // by which a value exceeded a clip limit.
    int Quantize(double value, double* peak, int kind, int channel)
    {
        return QuantizeAt(value, peak, kind, channel, index_++);
    }
    // Quantize with the noise of sample number `index` (counted over all
    // channels since Setup), leaving the count alone: channels can then be
    // quantised on different threads, each calling this for its own
    // samples, and Skip moves the count past them all afterwards.
    int QuantizeAt(double value, double* peak, int kind, int channel, std::uint32_t index);
    // QuantizeAt for `count` samples of one channel: samples[i * stride] x
    // scale, with the noise of sample first + i * stride, into out[i].
    void QuantizeRun(const double* samples, std::size_t stride, int count, double scale, int kind,
                     int channel, std::uint32_t first, double* peak, int* out);
    std::uint32_t NextIndex() const { return index_; }
    void Skip(std::uint32_t samples) { index_ += samples; }
    void Release();

    // Whether Setup prepared noise and error histories for `channels`.
    bool Ready(int channels) const
    {
        return !noise_.empty() && static_cast<int>(histories_.size()) >= channels;
    }
    int ShaperRow() const { return row_; }
    int ShaperLength() const { return length_; }

private:
    // Error history of one channel: kept twice over in a ring so the most
    // recent `length_` errors are always contiguous, newest first, with
    // zeros behind, so that every row's sum can run over the longest row's
    // length (the shorter rows' coefficients end in zeros) and be unrolled.
    struct History {
        std::vector<double> ring;
        int start = 0;
    };

    void FillNoise(int density, double amplitude);
    int Plain(double s, double* peak, std::uint32_t index) const;
    int Shaped(double s, double* peak, History& history, std::uint32_t index) const;
    // One shaped sample: `older` is the sample plus every error's share but
    // the newest one's; returns the quantised value, the error in *error.
    double ShapedStep(double older, double newest, double* peak, std::uint32_t index,
                      double* error) const;
    double OlderErrors(const History& history) const;
    void Remember(History& history, double error) const;

    std::uint32_t index_ = 0;
    std::vector<History> histories_;
    int row_ = 0;
    int length_ = 0;
    double clipMin_ = -32768;
    double clipMax_ = 32767;
    std::vector<double> noise_;
};

}  // namespace ssrc
