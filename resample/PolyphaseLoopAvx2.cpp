// The AVX2 build of the polyphase loop, chosen at run time on processors
// that have it (see PolyphaseLoop.cpp).
#if defined(__x86_64__)

#pragma GCC target("avx2,fma")
#define SSRC_WIDE_DOT

namespace ssrc::avx2 {

#include "resample/PolyphaseKernel.inc"

}  // namespace ssrc::avx2

#endif
