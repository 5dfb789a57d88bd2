// Threads are handed out as handles that callers wait on or close, never
// join; yet a thread is only gone once joined: after its handle is signalled
// it may still be destroying its thread-local objects. The reaper joins each
// thread once it has ended, and at process exit joins every thread that is
// on its way out, so no thread is half-way through its exit while the process
// tears down (the leak checker, stopping every thread at exit, trips on one).
#pragma once

#include <thread>

namespace win::internal {

// Takes a new thread over from its creator; joins threads that have ended.
void AdoptThread(std::thread thread);
// The thread's own last step, once nothing it does may be waited for.
void ThreadEnding();
// Joins every thread that has ended; threads still running are left alone.
void ReapEndedThreads();

}  // namespace win::internal
