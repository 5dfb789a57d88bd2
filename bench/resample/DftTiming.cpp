#include "DftTiming.h"

#include "resample/RealDft.h"

#include <chrono>
#include <cmath>
#include <vector>

#if KOLVEX_BENCH_FFTW
#include <fftw3.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

double TimeRealDft(int n, int repetitions)
{
    std::vector<double> data(n);
    for (int i = 0; i < n; ++i)
        data[i] = std::sin(i * 0.37);
    std::vector<int> ip(static_cast<int>(std::sqrt(double(n))) + 2, 0);
    std::vector<double> w(n / 2);
    ssrc::RealDft(n, 1, data.data(), ip.data(), w.data());  // builds the tables
    auto start = Clock::now();
    for (int r = 0; r < repetitions; ++r) {
        ssrc::RealDft(n, 1, data.data(), ip.data(), w.data());
        ssrc::RealDft(n, -1, data.data(), ip.data(), w.data());
    }
    return Milliseconds(Clock::now() - start) / (2.0 * repetitions);
}

double TimeFftw(int n, int repetitions)
{
#if KOLVEX_BENCH_FFTW
    double* real = fftw_alloc_real(n);
    fftw_complex* spectrum = fftw_alloc_complex(n / 2 + 1);
    fftw_plan forward = fftw_plan_dft_r2c_1d(n, real, spectrum, FFTW_MEASURE);
    fftw_plan backward = fftw_plan_dft_c2r_1d(n, spectrum, real, FFTW_MEASURE);
    for (int i = 0; i < n; ++i)
        real[i] = std::sin(i * 0.37);
    auto start = Clock::now();
    for (int r = 0; r < repetitions; ++r) {
        fftw_execute(forward);
        fftw_execute(backward);
    }
    double ms = Milliseconds(Clock::now() - start) / (2.0 * repetitions);
    fftw_destroy_plan(forward);
    fftw_destroy_plan(backward);
    fftw_free(spectrum);
    fftw_free(real);
    return ms;
#else
    (void)n;
    (void)repetitions;
    return -1;
#endif
}
