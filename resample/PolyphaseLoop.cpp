#include "resample/PolyphaseLoop.h"

#include <atomic>

namespace ssrc {

namespace generic {

#include "resample/PolyphaseKernel.inc"

}  // namespace generic

#if defined(__x86_64__)
namespace avx2 {
int PolyphaseKernel(const double* coefficients, int taps, const int* order, const int* advance,
                    int length, const double* history, long long* t, long long tLimit,
                    int maxOutputs, int* phase, double* out, int outStride);
}  // namespace avx2
#endif

namespace {

using Kernel = decltype(&generic::PolyphaseKernel);

Kernel Best()
{
#if defined(__x86_64__)
    __builtin_cpu_init();  // static initialisers may run before the runtime's own
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return avx2::PolyphaseKernel;
#endif
    return generic::PolyphaseKernel;
}

std::atomic<Kernel> g_kernel{Best()};

}  // namespace

int RunPolyphase(const PolyphaseFilter& filter, const PolyphaseSchedule& schedule,
                 const double* history, std::int64_t* t, std::int64_t tLimit, int maxOutputs,
                 int* phase, double* out, int outStride)
{
    long long at = *t;
    const Kernel kernel = g_kernel.load(std::memory_order_relaxed);
    int n = kernel(filter.coefficients.data(), filter.taps, schedule.order, schedule.advance,
                   schedule.length, history, &at, tLimit, maxOutputs, phase, out, outStride);
    *t = at;
    return n;
}

void UsePortablePolyphase(bool portable)
{
    g_kernel = portable ? generic::PolyphaseKernel : Best();
}

}  // namespace ssrc
