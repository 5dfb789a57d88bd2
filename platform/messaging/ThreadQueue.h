// One message queue per thread: posted messages, messages sent from other
// threads, the quit flag and the thread's timers. Created on a thread's first
// use of the message functions (CreateThread creates it before the thread
// procedure runs) and shut down when the thread ends, which completes every
// send still waiting on it so no sender hangs on a dead thread. The window
// layer and the display back-ends feed input to a queue and wait on it.
#pragma once

#include "platform/core/Types.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace win::internal {

using Clock = std::chrono::steady_clock;

// A message sent across threads; only the message core looks inside.
struct SentMessage;

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    Clock::time_point due;
};

// A pointer or key event as a back-end reports it, before the window layer
// turns it into messages on the owner thread.
struct RawInput {
    enum class Kind { PointerMove, PointerDown, PointerUp, PointerLeave, PointerWheel, KeyDown, KeyUp };
    Kind kind = Kind::PointerMove;
    HWND top = nullptr;
    POINT screen;
    int button = 0;
    UINT virtualKey = 0;
    wchar_t character = 0;
    UINT modifiers = 0;
    DWORD time = 0;
};

// A back-end that runs its own event loop on a thread (a toolkit main loop)
// replaces how that thread blocks and how other threads wake it.
struct WaitHooks {
    std::function<void(std::optional<Clock::time_point> deadline)> block;
    std::function<void()> wake;
};

class ThreadQueue : public std::enable_shared_from_this<ThreadQueue> {
public:
    explicit ThreadQueue(DWORD threadId) : threadId_(threadId) { }

    DWORD ThreadId() const { return threadId_; }

    // Any thread. False when the queue's thread has ended.
    bool Post(const MSG& msg);
    bool Send(SentMessage* sent);
    bool PostInput(const RawInput& input);
    void Wake();

    // Owner thread only.
    std::uint64_t Generation() const { return generation_.load(std::memory_order_acquire); }
    bool DispatchSent();
    bool TakePosted(MSG* out, HWND filter, UINT min, UINT max, bool remove);
    bool TakeInput(RawInput* out);
    void PostQuit(int code);
    bool TakeQuit(MSG* out, bool remove);
    bool TakeDueTimer(MSG* out, HWND filter, bool remove);
    std::optional<Clock::time_point> NextTimerDue() const;
    void SetTimer(const Timer& timer);
    bool KillTimer(HWND hwnd, UINT_PTR id);
    void KillTimersOf(HWND hwnd);
    // Blocks until the generation moves past `seen` or the deadline passes,
    // after spinning for up to `spin`.
    void WaitChange(std::uint64_t seen, std::optional<Clock::time_point> deadline,
                    std::chrono::microseconds spin = std::chrono::microseconds(50));
    void SetWaitHooks(WaitHooks hooks);
    void Shutdown();

private:
    struct Posted {
        MSG msg;
        std::uint64_t order = 0;
    };

    static bool Matches(const MSG& msg, HWND filter, UINT min, UINT max);
    void BumpLocked();
    std::vector<MSG> TakePostedBefore(std::uint64_t order);

    const DWORD threadId_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<std::uint64_t> generation_{0};
    std::uint64_t nextOrder_ = 0;
    std::deque<Posted> posted_;
    std::deque<SentMessage*> sent_;
    std::deque<RawInput> input_;
    std::vector<Timer> timers_;
    bool quit_ = false;
    int quitCode_ = 0;
    bool closed_ = false;
    WaitHooks hooks_;
};

// The calling thread's queue, created on first use.
std::shared_ptr<ThreadQueue> CurrentQueue();
// The queue of a live thread, or null.
std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId);

}  // namespace win::internal
