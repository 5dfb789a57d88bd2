#include "engine/Downmix.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

enum Role { FrontLeft, FrontRight, Centre, LowFrequency, BackLeft, BackRight, BackCentre, SideLeft, SideRight };

// The channel roles of the usual layouts by count, as WAV files order them.
std::vector<Role> Layout(int channels)
{
    switch (channels) {
    case 3: return {FrontLeft, FrontRight, Centre};
    case 4: return {FrontLeft, FrontRight, BackLeft, BackRight};
    case 5: return {FrontLeft, FrontRight, Centre, BackLeft, BackRight};
    case 6: return {FrontLeft, FrontRight, Centre, LowFrequency, BackLeft, BackRight};
    case 7: return {FrontLeft, FrontRight, Centre, LowFrequency, BackCentre, SideLeft, SideRight};
    default: return {FrontLeft, FrontRight, Centre, LowFrequency, BackLeft, BackRight, SideLeft, SideRight};
    }
}

}  // namespace

DownmixSink::DownmixSink(Sink& stereo, int channels, int bytesPerSample)
    : stereo_(stereo), channels_(std::clamp(channels, 3, kMaxChannels)), width_(std::clamp(bytesPerSample, 1, 4))
{
    const double half = std::sqrt(0.5);
    for (Role role : Layout(channels_)) {
        double l = 0, r = 0;
        switch (role) {
        case FrontLeft: l = 1; break;
        case FrontRight: r = 1; break;
        case Centre:
        case BackCentre: l = r = half; break;
        case LowFrequency: break;
        case BackLeft:
        case SideLeft: l = half; break;
        case BackRight:
        case SideRight: r = half; break;
        }
        left_.push_back(l);
        right_.push_back(r);
    }
    double leftSum = 0, rightSum = 0;
    for (std::size_t c = 0; c < left_.size(); ++c) {
        leftSum += left_[c];
        rightSum += right_[c];
    }
    for (std::size_t c = 0; c < left_.size(); ++c) {
        left_[c] /= leftSum;
        right_[c] /= rightSum;
    }
}

// Samples as fractions of full scale.
double DownmixSink::Sample(const unsigned char* at) const
{
    switch (width_) {
    case 1: return (static_cast<int>(at[0]) - 128) / 128.0;
    case 2: return static_cast<std::int16_t>(at[0] | at[1] << 8) / 32768.0;
    case 3: {
        std::int32_t v = at[0] | at[1] << 8 | at[2] << 16;
        if (v & 0x800000)
            v -= 0x1000000;
        return v / 8388608.0;
    }
    default:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
                                         static_cast<std::uint32_t>(at[2]) << 16 |
                                         static_cast<std::uint32_t>(at[3]) << 24) /
               2147483648.0;
    }
}

void DownmixSink::Put(double value, unsigned char* at) const
{
    const double scale = width_ == 1 ? 128.0 : width_ == 2 ? 32768.0 : width_ == 3 ? 8388608.0 : 2147483648.0;
    double scaled = std::clamp(std::round(value * scale), -scale, scale - 1);
    auto v = static_cast<std::int64_t>(scaled);
    if (width_ == 1) {
        at[0] = static_cast<unsigned char>(v + 128);
        return;
    }
    for (int b = 0; b < width_; ++b)
        at[b] = static_cast<unsigned char>((static_cast<std::uint64_t>(v) >> (8 * b)) & 0xFF);
}

void DownmixSink::Write(const unsigned char* data, std::size_t bytes)
{
    const std::size_t frame = static_cast<std::size_t>(channels_) * width_;
    const std::size_t frames = bytes / frame;
    out_.resize(frames * 2 * width_);
    for (std::size_t f = 0; f < frames; ++f) {
        const unsigned char* in = data + f * frame;
        double l = 0, r = 0;
        for (int c = 0; c < channels_; ++c) {
            double s = Sample(in + c * width_);
            l += left_[c] * s;
            r += right_[c] * s;
        }
        Put(l, &out_[f * 2 * width_]);
        Put(r, &out_[(f * 2 + 1) * width_]);
    }
    stereo_.Write(out_.data(), out_.size());
}
