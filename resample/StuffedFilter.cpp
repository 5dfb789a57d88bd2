#include "resample/StuffedFilter.h"

#include "resample/KaiserDesign.h"
#include "resample/RealDft.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ssrc {

namespace {

// The shortest power of two that holds a block at least as long as the
// phase filter, so the transforms are at most twice the work they must do.
int FftLengthFor(int phaseTaps)
{
    int n = 2;
    while (n < 2 * phaseTaps)
        n *= 2;
    return n;
}

}  // namespace

StuffedFilter::StuffedFilter(int taps, double cutoff, double rate, double gain, int stuffing,
                             double alpha)
    : stuffing_(stuffing)
{
    const int phaseTaps = (taps + stuffing - 1) / stuffing;
    fftLength_ = FftLengthFor(phaseTaps);
    block_ = fftLength_ - phaseTaps + 1;
    ip_.assign(static_cast<int>(std::sqrt(double(fftLength_)) + 2), 0);
    w_.assign(fftLength_ / 2, 0.0);
    spectra_.assign(stuffing, std::vector<double>(fftLength_, 0.0));

    // Tap m of the prototype belongs to phase m mod K at m div K; the
    // inverse transform's factor fftLength / 2 is folded in.
    const double i0alpha = BesselI0(alpha);
    const int half = taps / 2;
    for (int n = -half; n <= half; ++n) {
        const int m = n + half;
        spectra_[m % stuffing][m / stuffing] =
            KaiserWindow(n, taps, alpha, i0alpha) * LowpassTap(n, cutoff, rate) * gain / fftLength_ * 2;
    }
    for (std::vector<double>& s : spectra_)
        RealDft(fftLength_, 1, s.data(), ip_.data(), w_.data());
}

void StuffedFilter::Transform(double* block) const
{
    RealDft(fftLength_, 1, block, ip_.data(), w_.data());
}

void StuffedFilter::FilterPhase(int phase, const double* spectrum, double* out) const
{
    RealDftOfProduct(fftLength_, out, spectrum, spectra_[phase].data(), ip_.data(), w_.data());
}

StuffedChannel::StuffedChannel(const StuffedFilter& filter, int maxConsume, int lookBehind)
    : filter_(filter),
      lookBehind_(static_cast<std::size_t>(lookBehind)),
      tails_(static_cast<std::size_t>(filter.Stuffing()) * filter.TailLength(), 0.0),
      // The look-behind, outputs left from the last block (fewer than one
      // Consume) and a new block's.
      ready_(lookBehind_ + static_cast<std::size_t>(maxConsume) +
             std::size_t(filter.Stuffing()) * filter.BlockFrames(), 0.0),
      readAt_(lookBehind_),
      filled_(lookBehind_)
{
}

void StuffedChannel::Convolve(double* block, std::size_t count, double* phase)
{
    const int K = filter_.Stuffing(), B = filter_.BlockFrames();
    const int tail = filter_.TailLength();
    std::fill(block + std::min<std::size_t>(count, B), block + filter_.FftLength(), 0.0);
    filter_.Transform(block);
    // With one phase the product can take the block's place.
    if (K == 1)
        phase = block;

    const std::size_t kept = lookBehind_ + Ready();
    std::memmove(ready_.data(), ready_.data() + readAt_ - lookBehind_, kept * sizeof(double));
    readAt_ = lookBehind_;
    double* out = ready_.data() + kept;
    for (int r = 0; r < K; ++r) {
        filter_.FilterPhase(r, block, phase);
        double* spill = tails_.data() + std::size_t(r) * tail;
        for (int i = 0; i < tail; ++i)
            out[std::size_t(i) * K + r] = spill[i] + phase[i];
        for (int i = tail; i < B; ++i)
            out[std::size_t(i) * K + r] = phase[i];
        std::memcpy(spill, phase + B, tail * sizeof(double));
    }
    filled_ = kept + std::size_t(K) * B;
}

}  // namespace ssrc
