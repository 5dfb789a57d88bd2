#include "app/StartupSteps.h"

#include <atomic>
#include <cstdio>
#include <ctime>

namespace startup_steps {

namespace {

std::atomic<bool> g_enabled{false};

}  // namespace

void Enable() { g_enabled = true; }

void Note(const char* step)
{
    if (!g_enabled)
        return;
    timespec now{}, used{}, ours{};
    clock_gettime(CLOCK_REALTIME, &now);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ours);
    std::printf("step %s %lld.%09ld %.1f %.1f\n", step, static_cast<long long>(now.tv_sec), now.tv_nsec,
                used.tv_sec * 1e3 + used.tv_nsec / 1e6, ours.tv_sec * 1e3 + ours.tv_nsec / 1e6);
    std::fflush(stdout);
}

}  // namespace startup_steps
