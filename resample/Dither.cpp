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
        h.ring.assign(2 * length_, 0.0);
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

inline int Dither::Shaped(double s, double* peak, History& history, std::uint32_t index) const
{
    const double* coefficient = kNoiseShapers[row_].coefficient;
    const double* recent = history.ring.data() + history.start;
    // The newest error, from the previous sample, is added last: the rest
    // of the sum does not wait for it.
    s += Dot(coefficient + 1, recent + 1, length_ - 1) + coefficient[0] * recent[0];
    const double unDithered = s;
    s += noise_[index & 0xFFFF];

    double error;
    if (s < clipMin_ || s > clipMax_) {
        double limit = s < clipMin_ ? clipMin_ : clipMax_;
        *peak = std::max(*peak, s / limit);
        s = limit;
        error = std::clamp(s - unDithered, -1.0, 1.0);
    } else {
        s = RoundHalfAway(s);
        error = s - unDithered;
    }
    history.start = history.start == 0 ? length_ - 1 : history.start - 1;
    history.ring[history.start] = error;
    history.ring[history.start + length_] = error;
    return int(s);
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
    History& history = histories_[channel];
    for (int i = 0; i < count; ++i, first += step)
        out[i] = Shaped(scale * samples[i * stride], peak, history, first);
}

void Dither::Release()
{
    histories_.clear();
    histories_.shrink_to_fit();
    noise_.clear();
    noise_.shrink_to_fit();
}

}  // namespace ssrc
