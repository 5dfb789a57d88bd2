// A long Kaiser-windowed low-pass applied by fast convolution: the caller
// fills the first half of a block of fftLength doubles with samples and
// zeros (the second half is taken as zero and need not be set), and gets
// back the linear convolution of those samples with the filter over the
// whole block (the second half is the tail that overlaps the next block).
#pragma once

#include <vector>

namespace ssrc {

class FftFilter {
public:
    // `taps` odd and at most fftLength / 2 + 1; coefficients are multiplied
    // by `gain`. The inverse transform's factor fftLength / 2 is folded in.
    FftFilter(int taps, double cutoff, double rate, double gain, int fftLength, double alpha);

    void Apply(double* block);
    int Length() const { return length_; }

private:
    int length_;
    std::vector<double> spectrum_;  // the transformed filter, packed as RealDft leaves it
    std::vector<int> ip_;
    std::vector<double> w_;
};

}  // namespace ssrc
