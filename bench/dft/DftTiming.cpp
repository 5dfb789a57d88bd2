#include "DftTiming.h"

#include "resample/RealDft.h"

#include <algorithm>
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

class Ours {
public:
    explicit Ours(int n) : n_(n), data_(n), ip_(static_cast<int>(std::sqrt(double(n))) + 2, 0), w_(n / 2)
    {
        for (int i = 0; i < n; ++i)
            data_[i] = std::sin(i * 0.37);
        ssrc::RealDft(n_, 1, data_.data(), ip_.data(), w_.data());  // builds the tables
    }
    double Time(int repetitions)
    {
        auto start = Clock::now();
        for (int r = 0; r < repetitions; ++r) {
            ssrc::RealDft(n_, 1, data_.data(), ip_.data(), w_.data());
            ssrc::RealDft(n_, -1, data_.data(), ip_.data(), w_.data());
        }
        return Milliseconds(Clock::now() - start) / (2.0 * repetitions);
    }

private:
    int n_;
    std::vector<double> data_;
    std::vector<int> ip_;
    std::vector<double> w_;
};

#if KOLVEX_BENCH_FFTW
// FFTW's real-to-complex and complex-to-real pair, planned by measuring;
// only the executions are timed.
class Fftw {
public:
    explicit Fftw(int n) : n_(n), real_(fftw_alloc_real(n)), spectrum_(fftw_alloc_complex(n / 2 + 1))
    {
        forward_ = fftw_plan_dft_r2c_1d(n, real_, spectrum_, FFTW_MEASURE);
        backward_ = fftw_plan_dft_c2r_1d(n, spectrum_, real_, FFTW_MEASURE);
        for (int i = 0; i < n; ++i)
            real_[i] = std::sin(i * 0.37);
    }
    ~Fftw()
    {
        fftw_destroy_plan(forward_);
        fftw_destroy_plan(backward_);
        fftw_free(spectrum_);
        fftw_free(real_);
    }
    double Time(int repetitions)
    {
        auto start = Clock::now();
        for (int r = 0; r < repetitions; ++r) {
            fftw_execute(forward_);
            fftw_execute(backward_);
        }
        return Milliseconds(Clock::now() - start) / (2.0 * repetitions);
    }

private:
    int n_;
    double* real_;
    fftw_complex* spectrum_;
    fftw_plan forward_;
    fftw_plan backward_;
};
#endif

}  // namespace

DftTiming TimeDft(int n, int repetitions, int rounds)
{
    DftTiming best;
    Ours ours(n);
    double o = 1e30;
#if KOLVEX_BENCH_FFTW
    Fftw fftw(n);
    double f = 1e30;
#endif
    for (int r = 0; r < rounds; ++r) {
        o = std::min(o, ours.Time(repetitions));
#if KOLVEX_BENCH_FFTW
        f = std::min(f, fftw.Time(repetitions));
#endif
    }
    best.ours = o;
#if KOLVEX_BENCH_FFTW
    best.fftw = f;
#endif
    return best;
}
