// The AVX2 build of the transform's inner loops, chosen at run time on
// processors that have it (see FftKernels.cpp).
#include "resample/FftKernels.h"

#if defined(__x86_64__)

#pragma GCC target("avx2,fma")
#define SSRC_FFT_TWO_LANES

namespace ssrc::avx2 {

#include "resample/FftKernel.inc"
#include "resample/FftProductKernel.inc"

void Passes(double* data, int count, bool backward, const FftTables& tables, bool upperZero)
{
    Transform<TwoLanes>(data, count, backward, tables, upperZero);
}

void RealPass(double* data, int n, bool backward, const double* cosines, int stride)
{
    if (backward)
        RealStep<true, TwoLanes>(data, n, cosines, stride);
    else
        RealStep<false, TwoLanes>(data, n, cosines, stride);
}

void Multiply(double* data, const double* filter, int n)
{
    MultiplyPacked<TwoLanes>(data, filter, n);
}

void MultiplyUnsplit(double* out, const double* a, const double* f, int n, const double* c, int stride)
{
    MultiplyThenUnsplit<TwoLanes>(out, a, f, n, c, stride);
}

}  // namespace ssrc::avx2

#endif
