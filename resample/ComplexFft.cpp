#include "resample/ComplexFft.h"

#include <atomic>
#include <cmath>
#include <numbers>

namespace ssrc {

#if defined(__x86_64__)
namespace avx2 {
void ComplexFftPasses(double* data, int count, bool backward, const double* table, int stride);
}
#endif

namespace generic {

#include "resample/FftKernel.inc"

void ComplexFftPasses(double* data, int count, bool backward, const double* table, int stride)
{
    Transform<OneLane>(data, count, backward, table, stride);
}

}  // namespace generic

namespace {

using Passes = void (*)(double*, int, bool, const double*, int);

Passes ChoosePasses()
{
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return avx2::ComplexFftPasses;
#endif
    return generic::ComplexFftPasses;
}

std::atomic<Passes> g_passes{ChoosePasses()};

}  // namespace

void UsePortableFft(bool portable)
{
    g_passes = portable ? generic::ComplexFftPasses : ChoosePasses();
}

void BuildTwiddles(double* table, int count)
{
    for (int j = 0; j < count / 4; ++j) {
        double angle = 2 * std::numbers::pi * j / count;
        table[2 * j] = std::cos(angle);
        table[2 * j + 1] = std::sin(angle);
    }
}

void ComplexFft(double* data, int count, bool backward, const double* table, int tableCount)
{
    g_passes.load(std::memory_order_relaxed)(data, count, backward, table, tableCount / count);
}

}  // namespace ssrc
