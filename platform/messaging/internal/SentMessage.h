// How a message sent across threads waits for its answer. Only the message
// core includes this.
#pragma once

#include "platform/messaging/ThreadQueue.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace win::internal {

// Spins briefly while `ready` is false; a cross-thread SendMessage answered
// within microseconds then costs no sleep and wake-up on either side.
template <class Ready>
bool SpinBriefly(Ready&& ready, std::chrono::microseconds limit = std::chrono::microseconds(50))
{
    auto until = Clock::now() + limit;
    do {
        for (int i = 0; i < 64; ++i) {
            if (ready())
                return true;
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        }
        // Let a thread that shares this core (perhaps the one we wait for)
        // run meanwhile.
        std::this_thread::yield();
    } while (Clock::now() < until);
    return ready();
}

// A message sent across threads; it lives on the sender's stack until done.
struct SentMessage {
    std::uint64_t order = 0;  // set by the receiving queue
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    std::atomic<bool> done{false};
    std::shared_ptr<ThreadQueue> sender;
};

}  // namespace win::internal
