// The AVX2 build of the transform's passes, chosen at run time on
// processors that have it (see ComplexFft.cpp).
#if defined(__x86_64__)

#pragma GCC target("avx2,fma")
#define SSRC_FFT_TWO_LANES

namespace ssrc::avx2 {

#include "resample/FftKernel.inc"

void ComplexFftPasses(double* data, int count, bool backward, const double* table, int stride)
{
    Transform<TwoLanes>(data, count, backward, table, stride);
}

}  // namespace ssrc::avx2

#endif
