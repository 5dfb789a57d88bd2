#include "resample/OutputStage.h"

#include "resample/Dither.h"
#include "resample/SampleCodec.h"
#include "resample/Trace.h"

#include <algorithm>
#include <cmath>

namespace ssrc {

OutputStage::OutputStage(std::FILE* out, int channels, int targetWidth, double gain,
                         int ditherKind, Dither& dither, int sourceRate, int targetRate, int delay,
                         int maxFrames)
    : out_(out),
      channels_(channels),
      width_(targetWidth),
      scale_(OutputScale(targetWidth) * gain),
      ditherKind_(ditherKind),
      dither_(dither),
      sourceRate_(sourceRate),
      targetRate_(targetRate),
      remainingDelay_(delay),
      channelPeaks_(channels, 0.0),
      quantised_(channels, std::vector<int>(maxFrames)),
      raw_(static_cast<std::size_t>(maxFrames) * channels * targetWidth)
{
}

void OutputStage::QuantiseChannel(const double* samples, int frames, int channel)
{
    const std::size_t step = static_cast<std::size_t>(channels_);
    int* q = quantised_[channel].data();
    double peak = 0;
    if (ditherKind_ != kNoDither) {
        // Sample i of the block takes the noise the serial order gives it.
        dither_.QuantizeRun(samples + channel, step, frames, scale_, ditherKind_, channel,
                            dither_.NextIndex() + static_cast<std::uint32_t>(channel), &peak, q);
    } else {
        const int lo = OutputMin(width_), hi = OutputMax(width_);
        for (int f = 0; f < frames; ++f) {
            const double v = scale_ * samples[f * step + channel];
            double r = v >= 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5);
            if (r < lo) {
                peak = std::max(peak, r / lo);
                r = lo;
            }
            if (r > hi) {
                peak = std::max(peak, r / hi);
                r = hi;
            }
            q[f] = static_cast<int>(r);
        }
    }
    EncodeSamples(q, frames, width_, raw_.data() + channel * width_, step * width_);
    channelPeaks_[channel] = peak;
}

bool OutputStage::Write(int first, std::int64_t count, int where)
{
    if (count <= 0)
        return true;
    const std::size_t frameBytes = static_cast<std::size_t>(channels_) * width_;
    const std::size_t n = static_cast<std::size_t>(count);
    if (std::fwrite(raw_.data() + first * frameBytes, frameBytes, n, out_) != n) {
        writeFailed_ = true;
        Trace("fwrite error(%d).\n", where);
        return false;
    }
    written_ += n;
    return true;
}

bool OutputStage::Put(int frames, std::uint64_t framesRead, bool endOfInput)
{
    for (double& p : channelPeaks_) {
        peak_ = std::max(peak_, p);
        p = 0;
    }
    if (ditherKind_ != kNoDither)
        dither_.Skip(static_cast<std::uint32_t>(frames) * channels_);
    const double x = static_cast<double>(framesRead) * targetRate_ / sourceRate_;
    const double b = x + 2;
    // How many frames the output holds once complete.
    const std::int64_t finalLength = static_cast<std::int64_t>(std::floor(x)) + 2;

    // The numbers tell apart, in the trace, where a write failed.
    if (!firstWrite_) {
        if (endOfInput && b <= double(written_ + frames)) {
            Write(0, std::min<std::int64_t>(frames, finalLength - std::int64_t(written_)), 2);
            return false;
        }
        return Write(0, frames, endOfInput ? 1 : 3);
    }
    if (frames < remainingDelay_) {
        remainingDelay_ -= frames;
        return true;
    }
    if (endOfInput && b <= double(written_ + frames - remainingDelay_)) {
        Write(remainingDelay_, std::min<std::int64_t>(frames - remainingDelay_,
                                                      finalLength - std::int64_t(written_)), 5);
        return false;
    }
    firstWrite_ = false;
    return Write(remainingDelay_, frames - remainingDelay_, endOfInput ? 4 : 6);
}

}  // namespace ssrc
