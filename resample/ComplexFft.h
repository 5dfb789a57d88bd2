// The complex transform under RealDft: interleaved (re, im) pairs, in place.
// Forward uses e^(+2 pi i jk/m), backward e^(-2 pi i jk/m); neither scales.
#pragma once

namespace ssrc {

// Twiddles for transforms of up to `count` complex points: (cos, sin) of
// 2 pi j / count for j < count / 4, that is count / 2 doubles.
void BuildTwiddles(double* table, int count);

// `table` was built for `tableCount` points, a power-of-two multiple of
// `count`.
void ComplexFft(double* data, int count, bool backward, const double* table, int tableCount);

// The passes use the widest vector instructions the processor has; tests
// switch to the portable ones to check them on any machine. Not for use
// while transforms run on other threads.
void UsePortableFft(bool portable);

}  // namespace ssrc
