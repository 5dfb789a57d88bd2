// Real discrete Fourier transform of n = 2^k doubles, in place.
//
// Forward (direction >= 0): data[0] = R(0), data[1] = R(n/2) and, for
// 0 < k < n/2, data[2k] = R(k), data[2k+1] = I(k), where
// R(k) = sum data[j] cos(2 pi jk/n) and I(k) = sum data[j] sin(2 pi jk/n).
// Backward (direction < 0) takes that layout and returns n/2 times the
// original sequence: the caller folds 2/n into whatever it multiplies.
//
// `ip` (at least 2 + sqrt(n) ints) and `w` (n/2 doubles) keep the tables
// between calls: set ip[0] = 0 before the first call; later calls with the
// same or a smaller n reuse them.
#pragma once

namespace ssrc {

void RealDft(int n, int direction, double* data, int* ip, double* w);

// Forward RealDft of n doubles of which the last n/2 are zero: they are
// neither read nor need to be set, and the first pass does half its work.
void RealDftOfFirstHalf(int n, double* data, int* ip, double* w);

// The second half of fast convolution: out = RealDft backward of
// (spectrum x filter), both packed as the forward transform leaves them,
// in one pass fewer over the data. `out` may be `spectrum`; the tables as
// for RealDft (this reads them only once they are built for n).
void RealDftOfProduct(int n, double* out, const double* spectrum, const double* filter, int* ip,
                      double* w);

}  // namespace ssrc
