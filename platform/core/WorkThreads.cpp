#include "platform/core/WorkThreads.h"

#include <sched.h>

#include <atomic>
#include <thread>

namespace win {

namespace {
std::atomic<int> g_rowThreads{0};  // 0: not set, follow CoreCount()
}

int CoreCount() {
  // The affinity mask, not the machine's count: a container or taskset may
  // give us fewer cores than the hardware has.
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    int n = CPU_COUNT(&set);
    if (n > 0) return n;
  }
  unsigned n = std::thread::hardware_concurrency();
  return n > 0 ? static_cast<int>(n) : 1;
}

int RowThreads() {
  int n = g_rowThreads.load(std::memory_order_relaxed);
  return n > 0 ? n : CoreCount();
}

void SetRowThreads(int threads) {
  g_rowThreads.store(threads < 1 ? 1 : threads, std::memory_order_relaxed);
}

}  // namespace win
