#include "resample/RealDft.h"

#include "resample/FftKernels.h"

#include <cmath>
#include <numbers>

namespace ssrc {

namespace {

// ip[0]: doubles of complex twiddles in w (n/4 for the largest n built);
// ip[1]: entries of the half-cosine table that follows them.
void EnsureTables(int n, int* ip, double* w)
{
    if (n > 4 * ip[0]) {
        ip[0] = n / 4;
        ip[1] = 0;  // the cosine table lives right after the twiddles, so it moves too
        BuildTwiddles(w, n / 2);
    }
    if (n > 4 * ip[1]) {
        // 0.5 cos(pi k / (n/2)) for k < n/4; the sines are the same values
        // read backwards, which halves the table.
        const int nc = n / 4;
        double* c = w + ip[0];
        for (int k = 0; k < nc; ++k)
            c[k] = 0.5 * std::cos(std::numbers::pi * k / (n / 2));
        ip[1] = nc;
    }
}

}  // namespace

void RealDft(int n, int direction, double* data, int* ip, double* w)
{
    if (n < 2)
        return;
    if (n >= 4)
        EnsureTables(n, ip, w);
    const double* twiddles = w;
    const double* cosines = w + ip[0];
    const int tableCount = 2 * ip[0];          // complex points the twiddles serve
    const int cstride = n >= 4 ? 4 * ip[1] / n : 1;

    if (direction >= 0) {
        if (n >= 4) {
            ComplexFft(data, n / 2, false, twiddles, tableCount);
            if (n > 4)
                RealSplit(data, n, false, cosines, cstride);
        }
        double d0 = data[0], d1 = data[1];
        data[0] = d0 + d1;
        data[1] = d0 - d1;
    } else {
        data[1] = 0.5 * (data[0] - data[1]);
        data[0] -= data[1];
        if (n >= 4) {
            if (n > 4)
                RealSplit(data, n, true, cosines, cstride);
            ComplexFft(data, n / 2, true, twiddles, tableCount);
        }
    }
}

void RealDftOfFirstHalf(int n, double* data, int* ip, double* w)
{
    if (n < 8) {
        for (int i = n / 2; i < n; ++i)
            data[i] = 0;
        RealDft(n, 1, data, ip, w);
        return;
    }
    EnsureTables(n, ip, w);
    ComplexFft(data, n / 2, false, w, 2 * ip[0], true);
    RealSplit(data, n, false, w + ip[0], 4 * ip[1] / n);
    const double d0 = data[0], d1 = data[1];
    data[0] = d0 + d1;
    data[1] = d0 - d1;
}

void RealDftOfProduct(int n, double* out, const double* spectrum, const double* filter, int* ip,
                      double* w)
{
    if (n < 8) {
        for (int i = 0; i < n; ++i)
            out[i] = spectrum[i];
        MultiplySpectra(out, filter, n);
        RealDft(n, -1, out, ip, w);
        return;
    }
    EnsureTables(n, ip, w);
    MultiplyUnsplit(out, spectrum, filter, n, w + ip[0], 4 * ip[1] / n);
    ComplexFft(out, n / 2, true, w, 2 * ip[0]);
}

}  // namespace ssrc
