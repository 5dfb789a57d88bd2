#include "resample/FftFilter.h"

#include "resample/KaiserDesign.h"
#include "resample/RealDft.h"

#include <cmath>

namespace ssrc {

FftFilter::FftFilter(int taps, double cutoff, double rate, double gain, int fftLength, double alpha)
    : length_(fftLength),
      spectrum_(fftLength, 0.0),
      ip_(static_cast<int>(std::sqrt(double(fftLength)) + 2), 0),
      w_(fftLength / 2, 0.0)
{
    const double i0alpha = BesselI0(alpha);
    const int half = taps / 2;
    for (int n = -half; n <= half; ++n)
        spectrum_[n + half] = KaiserWindow(n, taps, alpha, i0alpha) * LowpassTap(n, cutoff, rate) *
                              gain / fftLength * 2;
    RealDft(length_, 1, spectrum_.data(), ip_.data(), w_.data());
}

void FftFilter::Apply(double* block)
{
    RealDftOfFirstHalf(length_, block, ip_.data(), w_.data());
    RealDftOfProduct(length_, block, block, spectrum_.data(), ip_.data(), w_.data());
}

}  // namespace ssrc
