// The inner loops of RealDft and of fast convolution, on interleaved
// (re, im) pairs, in place. Forward uses e^(+2 pi i jk/m), backward
// e^(-2 pi i jk/m); neither scales.
#pragma once

namespace ssrc {

// The tables of transforms of up to `built` complex points, in `built`
// doubles (BuildFftTables). Each pass over c points reads its twiddles
// (cos, sin) of 2 pi j / c, j < c / 4, in order from a table of its own:
// one per c = 8, 16 ... built / 2, each after the one before. They are
// followed by cos(pi j / built) for j <= built / 2, which give the real
// split its factors and the pass over all `built` points its twiddles.
struct FftTables {
    const double* twiddles;
    const double* cosines;
    int built;
};

// Where the table of the pass over c points starts.
inline int TwiddleOffset(int c)
{
    return (c - 8) / 2;
}

FftTables BuildFftTables(double* w, int built);
// The tables that BuildFftTables(w, built) left.
FftTables FftTablesAt(const double* w, int built);

// A transform of `count` points, at most tables.built. With `upperZero`
// (forward only) the points from count / 2 on are taken as zero and not
// read.
void ComplexFft(double* data, int count, bool backward, const FftTables& tables,
                bool upperZero = false);

// Turns the transform of n reals packed as n/2 complex points into their
// spectrum (forward), or back (backward), bins 0 and n/2 aside. `cosines`
// holds cos(pi j / m) for a length m that is `stride` times n / 2.
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
// As UsePortableFft, for each family the processor has: at most `lanes`
// complex numbers a vector (1 portable, 2 AVX2, 4 AVX-512 passes); returns
// the lanes in use. UsePortableFft(false) returns to the widest.
int UseFftLanes(int lanes);

}  // namespace ssrc
