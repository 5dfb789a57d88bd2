#include "resample/RealDft.h"

#include "resample/ComplexFft.h"

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

// Splits the transform of the packed complex sequence into the spectrum of
// the real one (forward) or joins it back (backward). Bins k and m - k
// depend on each other, so they are handled in pairs.
template <bool Backward>
void RealStep(double* a, int n, const double* c, int cstride)
{
    const int m = n / 2;  // complex points
    const int half = m / 2;
    for (int k = 1; k < half; ++k) {
        double wkr = 0.5 - c[(half - k) * cstride];  // 0.5 - sin/2
        double wki = c[k * cstride];                 // cos/2
        double* p = a + 2 * k;
        double* q = a + 2 * (m - k);
        double xr = p[0] - q[0];
        double xi = p[1] + q[1];
        double yr, yi;
        if (Backward) {
            yr = wkr * xr + wki * xi;
            yi = wkr * xi - wki * xr;
        } else {
            yr = wkr * xr - wki * xi;
            yi = wkr * xi + wki * xr;
        }
        p[0] -= yr;
        p[1] -= yi;
        q[0] += yr;
        q[1] -= yi;
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
                RealStep<false>(data, n, cosines, cstride);
        }
        double d0 = data[0], d1 = data[1];
        data[0] = d0 + d1;
        data[1] = d0 - d1;
    } else {
        data[1] = 0.5 * (data[0] - data[1]);
        data[0] -= data[1];
        if (n >= 4) {
            if (n > 4)
                RealStep<true>(data, n, cosines, cstride);
            ComplexFft(data, n / 2, true, twiddles, tableCount);
        }
    }
}

}  // namespace ssrc
