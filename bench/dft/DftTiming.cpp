#include "DftTiming.h"

#include "resample/RealDft.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include <time.h>

#if KOLVEX_BENCH_FFTW
#include <fftw3.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Processor time of this thread: on a machine shared with other work it
// counts only the time the transform ran, not the time it waited.
double CpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

struct Times {
    double wall = -1;
    double cpu = -1;
};

// Wall and processor milliseconds per transform of `repetitions` pairs.
template <class Pair>
Times TimePairs(int repetitions, Pair pair)
{
    const double cpu = CpuMilliseconds();
    const auto start = Clock::now();
    for (int r = 0; r < repetitions; ++r)
        pair();
    return Times{Milliseconds(Clock::now() - start) / (2.0 * repetitions),
                 (CpuMilliseconds() - cpu) / (2.0 * repetitions)};
}

class Ours {
public:
    explicit Ours(int n) : n_(n), data_(n), ip_(static_cast<int>(std::sqrt(double(n))) + 2, 0), w_(n / 2)
    {
        for (int i = 0; i < n; ++i)
            data_[i] = std::sin(i * 0.37);
        ssrc::RealDft(n_, 1, data_.data(), ip_.data(), w_.data());  // builds the tables
    }
    Times Time(int repetitions)
    {
        return TimePairs(repetitions, [this] {
            ssrc::RealDft(n_, 1, data_.data(), ip_.data(), w_.data());
            ssrc::RealDft(n_, -1, data_.data(), ip_.data(), w_.data());
        });
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
    Times Time(int repetitions)
    {
        return TimePairs(repetitions, [this] {
            fftw_execute(forward_);
            fftw_execute(backward_);
        });
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
    Times o, f;
    Ours ours(n);
#if KOLVEX_BENCH_FFTW
    Fftw fftw(n);
#endif
    auto keepBest = [](Times& best, Times t) {
        best.wall = best.wall < 0 ? t.wall : std::min(best.wall, t.wall);
        best.cpu = best.cpu < 0 ? t.cpu : std::min(best.cpu, t.cpu);
    };
    for (int r = 0; r < rounds; ++r) {
        keepBest(o, ours.Time(repetitions));
#if KOLVEX_BENCH_FFTW
        keepBest(f, fftw.Time(repetitions));
#endif
    }
    return DftTiming{o.wall, f.wall, o.cpu, f.cpu};
}
