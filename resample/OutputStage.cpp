#include "resample/OutputStage.h"

#include "resample/Dither.h"
#include "resample/SampleCodec.h"
#include "resample/Trace.h"

#include <algorithm>
#include <cmath>

namespace ssrc {

OutputStage::OutputStage(std::FILE* out, int channels, int targetWidth, double gain,
                         int ditherKind, Dither& dither, int sourceRate, int targetRate, int delay)
    : out_(out),
      channels_(channels),
      width_(targetWidth),
      scale_(OutputScale(targetWidth) * gain),
      ditherKind_(ditherKind),
      dither_(dither),
      sourceRate_(sourceRate),
      targetRate_(targetRate),
      remainingDelay_(delay)
{
}

void OutputStage::Quantise(const double* samples, int frames)
{
    const std::size_t count = static_cast<std::size_t>(frames) * channels_;
    if (raw_.size() < count * width_)
        raw_.resize(count * width_);
    const int lo = OutputMin(width_), hi = OutputMax(width_);
    unsigned char* p = raw_.data();
    int ch = 0;
    for (std::size_t i = 0; i < count; ++i, p += width_) {
        const double v = scale_ * samples[i];
        int q;
        if (ditherKind_ != kNoDither) {
            q = dither_.Quantize(v, &peak_, ditherKind_, ch);
        } else {
            double r = v >= 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5);
            if (r < lo) {
                peak_ = std::max(peak_, r / lo);
                r = lo;
            }
            if (r > hi) {
                peak_ = std::max(peak_, r / hi);
                r = hi;
            }
            q = static_cast<int>(r);
        }
        EncodeSample(q, width_, p);
        if (++ch == channels_)
            ch = 0;
    }
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

bool OutputStage::Put(const double* samples, int frames, std::uint64_t framesRead, bool endOfInput)
{
    Quantise(samples, frames);
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
