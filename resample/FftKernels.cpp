#include "resample/FftKernels.h"

#include <atomic>
#include <cmath>
#include <numbers>

namespace ssrc {

#if defined(__x86_64__)
namespace avx2 {
void Passes(double* data, int count, bool backward, const double* table, int stride, bool upperZero);
void RealPass(double* data, int n, bool backward, const double* cosines, int stride);
void Multiply(double* data, const double* filter, int n);
void MultiplyUnsplit(double* out, const double* a, const double* f, int n, const double* c, int stride);
}  // namespace avx2
#endif

namespace generic {

#include "resample/FftKernel.inc"

void Passes(double* data, int count, bool backward, const double* table, int stride, bool upperZero)
{
    Transform<OneLane>(data, count, backward, table, stride, upperZero);
}

void RealPass(double* data, int n, bool backward, const double* cosines, int stride)
{
    if (backward)
        RealStep<true, OneLane>(data, n, cosines, stride);
    else
        RealStep<false, OneLane>(data, n, cosines, stride);
}

void Multiply(double* data, const double* filter, int n)
{
    MultiplyPacked<OneLane>(data, filter, n);
}

void MultiplyUnsplit(double* out, const double* a, const double* f, int n, const double* c, int stride)
{
    MultiplyThenUnsplit<OneLane>(out, a, f, n, c, stride);
}

}  // namespace generic

namespace {

struct Kernels {
    void (*passes)(double*, int, bool, const double*, int, bool);
    void (*realPass)(double*, int, bool, const double*, int);
    void (*multiply)(double*, const double*, int);
    void (*multiplyUnsplit)(double*, const double*, const double*, int, const double*, int);
};

constexpr Kernels kPortable{generic::Passes, generic::RealPass, generic::Multiply,
                            generic::MultiplyUnsplit};

const Kernels* Best()
{
#if defined(__x86_64__)
    static constexpr Kernels kAvx2{avx2::Passes, avx2::RealPass, avx2::Multiply,
                                   avx2::MultiplyUnsplit};
    __builtin_cpu_init();  // static initialisers may run before the runtime's own
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return &kAvx2;
#endif
    return &kPortable;
}

std::atomic<const Kernels*> g_kernels{Best()};

const Kernels& Current()
{
    return *g_kernels.load(std::memory_order_relaxed);
}

}  // namespace

void UsePortableFft(bool portable)
{
    g_kernels = portable ? &kPortable : Best();
}

void BuildTwiddles(double* table, int count)
{
    for (int j = 0; j < count / 4; ++j) {
        double angle = 2 * std::numbers::pi * j / count;
        table[2 * j] = std::cos(angle);
        table[2 * j + 1] = std::sin(angle);
    }
}

void ComplexFft(double* data, int count, bool backward, const double* table, int tableCount,
                bool upperZero)
{
    Current().passes(data, count, backward, table, tableCount / count, upperZero && !backward);
}

void RealSplit(double* data, int n, bool backward, const double* cosines, int stride)
{
    Current().realPass(data, n, backward, cosines, stride);
}

void MultiplySpectra(double* data, const double* filter, int n)
{
    Current().multiply(data, filter, n);
}

void MultiplyUnsplit(double* out, const double* a, const double* filter, int n, const double* cosines,
                     int stride)
{
    Current().multiplyUnsplit(out, a, filter, n, cosines, stride);
}

}  // namespace ssrc
