#include "resample/RealDft.h"

#include "resample/FftKernels.h"

namespace ssrc {

namespace {

// ip[0]: n / 4 for the largest n the tables in w were built for (they
// serve every shorter transform too); ip[1] the same, kept for callers
// that looked at it.
FftTables EnsureTables(int n, int* ip, double* w)
{
    if (n > 4 * ip[0]) {
        ip[0] = n / 4;
        ip[1] = n / 4;
        return BuildFftTables(w, n / 2);
    }
    return FftTablesAt(w, 2 * ip[0]);
}

}  // namespace

void RealDft(int n, int direction, double* data, int* ip, double* w)
{
    if (n < 2)
        return;
    // Two points are their own two bins.
    const FftTables tables = n >= 4 ? EnsureTables(n, ip, w) : FftTables{};
    const int cstride = n >= 4 ? tables.built / (n / 2) : 1;

    if (direction >= 0) {
        if (n >= 4) {
            ComplexFft(data, n / 2, false, tables);
            if (n > 4)
                RealSplit(data, n, false, tables.cosines, cstride);
        }
        double d0 = data[0], d1 = data[1];
        data[0] = d0 + d1;
        data[1] = d0 - d1;
    } else {
        data[1] = 0.5 * (data[0] - data[1]);
        data[0] -= data[1];
        if (n >= 4) {
            if (n > 4)
                RealSplit(data, n, true, tables.cosines, cstride);
            ComplexFft(data, n / 2, true, tables);
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
    const FftTables tables = EnsureTables(n, ip, w);
    ComplexFft(data, n / 2, false, tables, true);
    RealSplit(data, n, false, tables.cosines, tables.built / (n / 2));
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
    const FftTables tables = EnsureTables(n, ip, w);
    MultiplyUnsplit(out, spectrum, filter, n, tables.cosines, tables.built / (n / 2));
    ComplexFft(out, n / 2, true, tables);
}

}  // namespace ssrc
