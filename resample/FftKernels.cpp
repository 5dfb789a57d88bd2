#include "resample/FftKernels.h"

#include <atomic>
#include <cmath>
#include <numbers>

namespace ssrc {

#if defined(__x86_64__)
namespace avx2 {
void Passes(double* data, int count, bool backward, const FftTables& tables, bool upperZero);
void RealPass(double* data, int n, bool backward, const double* cosines, int stride);
void Multiply(double* data, const double* filter, int n);
void MultiplyUnsplit(double* out, const double* a, const double* f, int n, const double* c, int stride);
}  // namespace avx2
namespace avx512 {
void Passes(double* data, int count, bool backward, const FftTables& tables, bool upperZero);
}  // namespace avx512
#endif

namespace generic {

#include "resample/FftKernel.inc"
#include "resample/FftProductKernel.inc"

void Passes(double* data, int count, bool backward, const FftTables& tables, bool upperZero)
{
    Transform<OneLane>(data, count, backward, tables, upperZero);
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
    void (*passes)(double*, int, bool, const FftTables&, bool);
    void (*realPass)(double*, int, bool, const double*, int);
    void (*multiply)(double*, const double*, int);
    void (*multiplyUnsplit)(double*, const double*, const double*, int, const double*, int);
};

constexpr Kernels kPortable{generic::Passes, generic::RealPass, generic::Multiply,
                            generic::MultiplyUnsplit};

#if defined(__x86_64__)
constexpr Kernels kAvx2{avx2::Passes, avx2::RealPass, avx2::Multiply, avx2::MultiplyUnsplit};
constexpr Kernels kAvx512{avx512::Passes, avx2::RealPass, avx2::Multiply, avx2::MultiplyUnsplit};
#endif

// The widest kernels the processor runs, up to `lanes` complex numbers a
// vector.
const Kernels* Widest(int lanes)
{
#if defined(__x86_64__)
    __builtin_cpu_init();  // static initialisers may run before the runtime's own
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (lanes >= 4 && avx2 && __builtin_cpu_supports("avx512f"))
        return &kAvx512;
    if (lanes >= 2 && avx2)
        return &kAvx2;
#else
    (void)lanes;
#endif
    return &kPortable;
}

const Kernels* Best()
{
    return Widest(4);
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

int UseFftLanes(int lanes)
{
    const Kernels* k = Widest(lanes);
    g_kernels = k;
#if defined(__x86_64__)
    if (k == &kAvx512)
        return 4;
    if (k == &kAvx2)
        return 2;
#endif
    return 1;
}

namespace {

int CosineOffset(int built)
{
    return built >= 16 ? TwiddleOffset(built) : 0;
}

}  // namespace

FftTables BuildFftTables(double* w, int built)
{
    for (int c = 8; c <= built / 2; c *= 2) {
        double* table = w + TwiddleOffset(c);
        for (int j = 0; j < c / 4; ++j) {
            const double angle = 2 * std::numbers::pi * j / c;
            table[2 * j] = std::cos(angle);
            table[2 * j + 1] = std::sin(angle);
        }
    }
    double* cosines = w + CosineOffset(built);
    for (int j = 0; j <= built / 2; ++j)
        cosines[j] = std::cos(std::numbers::pi * j / built);
    return FftTablesAt(w, built);
}

FftTables FftTablesAt(const double* w, int built)
{
    return FftTables{w, w + CosineOffset(built), built};
}

void ComplexFft(double* data, int count, bool backward, const FftTables& tables, bool upperZero)
{
    Current().passes(data, count, backward, tables, upperZero && !backward);
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
