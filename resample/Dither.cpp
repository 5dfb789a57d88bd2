#include "resample/Dither.h"

#include "resample/Dot.h"
#include "resample/NoiseShapers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace ssrc {

namespace {

constexpr int kNoiseEntries = 65536;
constexpr int kRowNotFound = 6;

// The C runtime's classic generator (0 .. 32767), with its own state, so
// that a file's dither does not depend on what else the process did.
class CrtRandom {
public:
    int Next()
    {
        state_ = state_ * 214013u + 2531011u;
        return int((state_ >> 16) & 0x7FFF);
    }

private:
    unsigned state_ = 1;
};

// Draws through a 97-slot shuffle table, which breaks up the short-range
// correlation of the plain generator.
class ShuffledRandom {
public:
    ShuffledRandom()
    {
        for (int& slot : table_)
            slot = random_.Next();
    }
    double Unit()
    {
        int& slot = table_[random_.Next() % 97];
        int t = slot;
        slot = random_.Next();
        return t / 32767.0;
    }

private:
    CrtRandom random_;
    int table_[97];
};

// s + 0.5 truncated when s >= 0, s - 0.5 truncated otherwise, without a
// branch: the sign of audio samples is a coin toss for the predictor.
// (-0.0 takes -0.5 and still truncates to 0.)
int RoundHalfAway(double s)
{
    return int(s + std::copysign(0.5, s));
}

// RoundHalfAway as a double, for values inside the clip limits, in two
// additions instead of the two conversions: the noise shaper's feedback
// waits for this result on every sample. Adding 1.5 x 2^52 leaves no bits
// below the unit, so the sum is rounded to the nearest integer (ties to
// even); an exact tie, the one case that differs, is set right off the
// critical path.
double RoundedHalfAway(double s)
{
    constexpr double kUnitShift = 6755399441055744.0;
    const double r = (s + kUnitShift) - kUnitShift;
    if (r - s == 0.5 || r - s == -0.5) [[unlikely]]
        return s + std::copysign(0.5, s);
    return r;
}

}  // namespace

int Dither::Setup(int targetRate, int channels, int clipMin, int clipMax, int kind, int density,
                  double amplitude)
{
    int match = kRowNotFound;
    for (int r = 1; r <= 5; ++r) {
        if (kNoiseShapers[r].rate == targetRate) {
            match = r;
            break;
        }
    }
    if ((kind == kRateShaping || kind == kAltRateShaping) && match == kRowNotFound)
        std::fprintf(stderr,
                     "Warning: ATH based noise shaping for destination frequency %dHz is not "
                     "available, using triangular dither\n",
                     targetRate);
    if (kind == kFirstOrderShaping || match == kRowNotFound)
        row_ = 0;
    else
        row_ = kind == kAltRateShaping && (match == 1 || match == 2) ? match + 5 : match;
    length_ = kNoiseShapers[row_].length;

    histories_.assign(std::max(channels, 0), History{});
    for (History& h : histories_)
        h.ring.assign(length_ + kMaxShaperLength, 0.0);
    clipMin_ = clipMin;
    clipMax_ = clipMax;
    FillNoise(density, amplitude);
    index_ = 0;
    return kind == kNoDither || kind == kPlainDither ? 1 : kNoiseShapers[row_].setupResult;
}

void Dither::FillNoise(int density, double amplitude)
{
    noise_.resize(kNoiseEntries);
    ShuffledRandom random;
    for (int i = 0; i < kNoiseEntries; ++i) {
        switch (density) {
        case kRectangular:
            noise_[i] = (random.Unit() - 0.5) * amplitude;
            break;
        case kTriangular: {
            double t1 = random.Unit();
            noise_[i] = (t1 - random.Unit()) * amplitude;
            break;
        }
        default: {
            // Box-Muller gives a pair per two draws; 1 - u1 must not reach 0.
            double u1 = random.Unit();
            if (u1 == 1.0)
                u1 = 0;
            double r = std::sqrt(-2 * std::log(1 - u1));
            double angle = 2 * std::numbers::pi * random.Unit();
            noise_[i] = amplitude * r * std::cos(angle);
            if (i + 1 < kNoiseEntries)
                noise_[++i] = amplitude * r * std::sin(angle);
            break;
        }
        }
    }
}

// The two kinds of quantiser as inline steps, so that whole runs of a
// channel's samples go through one loop.
inline int Dither::Plain(double s, double* peak, std::uint32_t index) const
{
    s += noise_[index & 0xFFFF];
    if (s < clipMin_) {
        *peak = std::max(*peak, s / clipMin_);
        s = clipMin_;
    }
    if (s > clipMax_) {
        *peak = std::max(*peak, s / clipMax_);
        s = clipMax_;
    }
    return RoundHalfAway(s);
}

inline double Dither::ShapedStep(double older, double newest, double* peak, std::uint32_t index,
                                 double* error) const
{
    // `older` already holds the sample and every error but the newest: only
    // this product and what follows wait for the previous sample.
    const double feedback = kNoiseShapers[row_].coefficient[0] * newest;
    const double unDithered = older + feedback;
    double s = (older + noise_[index & 0xFFFF]) + feedback;
    if (s < clipMin_ || s > clipMax_) {
        const double limit = s < clipMin_ ? clipMin_ : clipMax_;
        *peak = std::max(*peak, s / limit);
        *error = std::clamp(limit - unDithered, -1.0, 1.0);
        return limit;
    }
    s = RoundedHalfAway(s);
    *error = s - unDithered;
    return s;
}

inline double Dither::OlderErrors(const History& history) const
{
    // The two newest errors are added last, so the sum over the rest can
    // start two samples ahead.
    const double* coefficient = kNoiseShapers[row_].coefficient;
    const double* recent = history.ring.data() + history.start;
    return Dot<kMaxShaperLength - 2>(coefficient + 2, recent + 2) + coefficient[1] * recent[1];
}

inline void Dither::Remember(History& history, double error) const
{
    history.start = history.start == 0 ? length_ - 1 : history.start - 1;
    history.ring[history.start] = error;
    history.ring[history.start + length_] = error;
}

inline int Dither::Shaped(double s, double* peak, History& history, std::uint32_t index) const
{
    double error;
    const double q = ShapedStep(s + OlderErrors(history), history.ring[history.start], peak, index, &error);
    Remember(history, error);
    return int(q);
}

int Dither::QuantizeAt(double value, double* peak, int kind, int channel, std::uint32_t index)
{
    if (kind == kPlainDither)
        return Plain(value, peak, index);
    return Shaped(value, peak, histories_[channel], index);
}

void Dither::QuantizeRun(const double* samples, std::size_t stride, int count, double scale, int kind,
                         int channel, std::uint32_t first, double* peak, int* out)
{
    const auto step = static_cast<std::uint32_t>(stride);
    if (kind == kPlainDither) {
        for (int i = 0; i < count; ++i, first += step)
            out[i] = Plain(scale * samples[i * stride], peak, first);
        return;
    }
    // The newest error stays in a register from one sample to the next.
    History& history = histories_[channel];
    double newest = history.ring[history.start];
    for (int i = 0; i < count; ++i, first += step) {
        const double older = scale * samples[i * stride] + OlderErrors(history);
        out[i] = int(ShapedStep(older, newest, peak, first, &newest));
        Remember(history, newest);
    }
}

void Dither::Release()
{
    histories_.clear();
    histories_.shrink_to_fit();
    noise_.clear();
    noise_.shrink_to_fit();
}

}  // namespace ssrc
