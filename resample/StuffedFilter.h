// The long low-pass of a conversion to a lower rate, applied to the source
// zero-stuffed by K (K - 1 zeros after every sample). The zeros add
// nothing to the convolution, so output phase r (outputs r, r + K, ...) is
// the source convolved with every K-th tap starting at tap r: K
// convolutions at the source rate, all fed by one transform of each source
// block. That transforms a third of the points the stuffed signal would
// need when K is 3, on blocks half as long.
#pragma once

#include <cstddef>
#include <vector>

namespace ssrc {

class StuffedFilter {
public:
    // The prototype has `taps` (odd) taps designed at `rate` (the stuffed
    // rate), coefficients multiplied by `gain`.
    StuffedFilter(int taps, double cutoff, double rate, double gain, int stuffing, double alpha);

    int Stuffing() const { return stuffing_; }
    int FftLength() const { return fftLength_; }
    // Source samples each convolution takes; it finishes K times as many outputs.
    int BlockFrames() const { return block_; }
    int TailLength() const { return fftLength_ - block_; }

    // out = the source block convolved with phase r's filter, from the
    // block's transform (FftLength() doubles each; `out` may be `spectrum`).
    void FilterPhase(int phase, const double* spectrum, double* out) const;
    void Transform(double* block) const;

private:
    int stuffing_;
    int fftLength_;
    int block_;
    std::vector<std::vector<double>> spectra_;  // one per phase, RealDft's packed layout
    mutable std::vector<int> ip_;               // built by the constructor; only read later
    mutable std::vector<double> w_;
};

// One channel's running convolution: what the last block left to add to the
// next, and the finished outputs not yet consumed, behind a window of the
// last ones consumed, so that a filter reading them can run over the
// outputs where they are.
class StuffedChannel {
public:
    // Consume takes at most `maxConsume` outputs at a time; Window() keeps
    // `lookBehind` consumed outputs (zeros at first) before the next one.
    StuffedChannel(const StuffedFilter& filter, int maxConsume, int lookBehind);

    // Filters the next BlockFrames() source samples: the first `count` of
    // `block`, zeros after. `block` and `phase` are scratch of
    // FftLength() doubles each, which channels filtered one after the
    // other can share (`phase` is not used when K is 1). Finishes
    // K x BlockFrames() outputs.
    void Convolve(double* block, std::size_t count, double* phase);
    std::size_t Ready() const { return filled_ - readAt_; }
    // The look-behind, then the Ready() finished outputs.
    const double* Window() const { return ready_.data() + readAt_ - lookBehind_; }
    // Moves on by `n` outputs (n <= Ready()).
    void Consume(int n) { readAt_ += n; }

private:
    const StuffedFilter& filter_;
    std::size_t lookBehind_;
    std::vector<double> tails_;   // per phase, what spills into the next block
    std::vector<double> ready_;
    std::size_t readAt_;
    std::size_t filled_;
};

}  // namespace ssrc
