#include "resample/FftKernels.h"

#include <atomic>
#include <cmath>
#include <numbers>

namespace ssrc {

#if defined(__x86_64__)
namespace avx2 {
void Passes(double* data, int count, bool backward, const FftTables& tables, bool upperZero);
void Forward(double* data, int n, const FftTables& tables, bool upperZero);
void Backward(double* out, const double* in, const double* filter, int n, const FftTables& tables);
void RealPass(double* data, int n, bool backward, const double* cosines, int stride);
void Multiply(double* data, const double* filter, int n);
void MultiplyUnsplit(double* out, const double* a, const double* f, int n, const double* c, int stride);
}  // namespace avx2
#endif

namespace generic {

#include "resample/FftKernel.inc"
#include "resample/FftScrambled.inc"

void Passes(double* data, int count, bool backward, const FftTables& tables, bool upperZero)
{
    Transform<OneLane>(data, count, backward, tables, upperZero);
}

void Forward(double* data, int n, const FftTables& tables, bool upperZero)
{
    ForwardScrambled<OneLane>(data, n, tables, upperZero);
}

void Backward(double* out, const double* in, const double* filter, int n, const FftTables& tables)
{
    BackwardScrambled<OneLane>(out, in, filter, n, tables);
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
    void (*forward)(double*, int, const FftTables&, bool);
    void (*backward)(double*, const double*, const double*, int, const FftTables&);
    void (*realPass)(double*, int, bool, const double*, int);
    void (*multiply)(double*, const double*, int);
    void (*multiplyUnsplit)(double*, const double*, const double*, int, const double*, int);
};

constexpr Kernels kPortable{generic::Passes, generic::Forward, generic::Backward,
                            generic::RealPass, generic::Multiply,
                            generic::MultiplyUnsplit};

const Kernels* Best()
{
#if defined(__x86_64__)
    static constexpr Kernels kAvx2{avx2::Passes, avx2::Forward, avx2::Backward,
                                   avx2::RealPass, avx2::Multiply,
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

void ForwardInOrder(double* data, int n, const FftTables& tables, bool upperZero)
{
    Current().forward(data, n, tables, upperZero);
}

void BackwardFromOrder(double* out, const double* in, const double* filter, int n, const FftTables& tables)
{
    Current().backward(out, in, filter, n, tables);
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
