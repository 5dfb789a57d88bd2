// bench_realdft [rounds]: RealDft against FFTW3 (measured plans, execution
// only) at the lengths the resampler's filters use, 131072 first.
#include "DftTiming.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    for (int n : {131072, 65536, 262144}) {
        // Some 50 ms of work per round and side.
        const int repetitions = std::max(4, (1 << 23) / n);
        const DftTiming t = TimeDft(n, repetitions, rounds);
        if (t.fftw <= 0) {
            std::fprintf(stderr, "bench_realdft: built without FFTW3 (tools/setup installs libfftw3-dev)\n");
            return 2;
        }
        std::printf("RealDft n=%d: ours %.3f ms   FFTW3 %.3f ms   ours/FFTW3 %.2f   (processor time: %.3f / %.3f = %.2f)\n",
                    n, t.ours, t.fftw, t.ours / t.fftw, t.oursCpu, t.fftwCpu, t.oursCpu / t.fftwCpu);
    }
    return 0;
}
