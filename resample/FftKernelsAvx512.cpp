// The AVX-512 build of the transform's passes, chosen at run time on
// processors that have it (see FftKernels.cpp); the real split and the
// spectrum products stay on two lanes (AVX2), where the memory rather than
// the arithmetic sets the pace.
#include "resample/FftKernels.h"

#if defined(__x86_64__)

#pragma GCC target("avx512f,avx2,fma")
#define SSRC_FFT_TWO_LANES
#define SSRC_FFT_FOUR_LANES

namespace ssrc::avx512 {

#include "resample/FftKernel.inc"

void Passes(double* data, int count, bool backward, const FftTables& tables, bool upperZero)
{
    Transform<FourLanes>(data, count, backward, tables, upperZero);
}

}  // namespace ssrc::avx512

#endif
