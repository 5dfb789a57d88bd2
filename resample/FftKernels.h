// The inner loops of RealDft and of fast convolution, on interleaved
// (re, im) pairs, in place. Forward uses e^(+2 pi i jk/m), backward
// e^(-2 pi i jk/m); neither scales.
#pragma once

namespace ssrc {

// Twiddles for transforms of up to `count` complex points: (cos, sin) of
// 2 pi j / count for j < count / 4, that is count / 2 doubles.
void BuildTwiddles(double* table, int count);

// `table` was built for `tableCount` points, a power-of-two multiple of
// `count`. With `upperZero` (forward only) the points from count / 2 on
// are taken as zero and not read.
void ComplexFft(double* data, int count, bool backward, const double* table, int tableCount,
                bool upperZero = false);

// Turns the transform of n reals packed as n/2 complex points into their
// spectrum (forward), or back (backward), bins 0 and n/2 aside. `cosines`
// holds cos(pi j / m) / 2 for a length m that is `stride` times n / 2.
void RealSplit(double* data, int n, bool backward, const double* cosines, int stride);

// data *= filter, both n doubles in RealDft's packed layout.
void MultiplySpectra(double* data, const double* filter, int n);
// out = a x filter, then RealSplit backward and the backward transform's
// handling of bins 0 and n/2: what remains of the backward transform of
// the product is the complex one. `out` may be `a`; n >= 8.
void MultiplyUnsplit(double* out, const double* a, const double* filter, int n, const double* cosines,
                     int stride);

// The loops use the widest vector instructions the processor has; tests
// switch to the portable ones to check them on any machine. Not for use
// while transforms run on other threads.
void UsePortableFft(bool portable);

}  // namespace ssrc
