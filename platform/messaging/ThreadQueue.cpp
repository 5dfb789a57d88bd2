#include "platform/messaging/ThreadQueue.h"
#include "platform/messaging/internal/SentMessage.h"

#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/WindowHooks.h"

#include <map>

namespace win::internal {

namespace {

std::mutex g_registryMutex;
std::map<DWORD, std::weak_ptr<ThreadQueue>>& Registry()
{
    static auto* registry = new std::map<DWORD, std::weak_ptr<ThreadQueue>>;
    return *registry;
}

// Owns the calling thread's queue; at thread exit it unregisters it and
// releases anyone still waiting on it.
struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder()
    {
        if (!queue)
            return;
        {
            std::lock_guard lock(g_registryMutex);
            auto it = Registry().find(queue->ThreadId());
            if (it != Registry().end() && it->second.lock() == queue)
                Registry().erase(it);
        }
        queue->Shutdown();
    }
};

thread_local QueueHolder t_holder;

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue()
{
    if (!t_holder.queue) {
        auto queue = std::make_shared<ThreadQueue>(GetCurrentThreadId());
        std::lock_guard lock(g_registryMutex);
        Registry()[queue->ThreadId()] = queue;
        t_holder.queue = std::move(queue);
    }
    return t_holder.queue;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId)
{
    std::lock_guard lock(g_registryMutex);
    auto it = Registry().find(threadId);
    return it == Registry().end() ? nullptr : it->second.lock();
}

void ThreadQueue::BumpLocked()
{
    generation_.fetch_add(1, std::memory_order_acq_rel);
    changed_.notify_all();
}

bool ThreadQueue::Post(const MSG& msg)
{
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            return false;
        posted_.push_back({msg, nextOrder_++});
        BumpLocked();
        wake = hooks_.wake;
    }
    if (wake)
        wake();
    return true;
}

bool ThreadQueue::Send(SentMessage* sent)
{
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            return false;
        sent->order = nextOrder_++;
        sent_.push_back(sent);
        BumpLocked();
        wake = hooks_.wake;
    }
    if (wake)
        wake();
    return true;
}

bool ThreadQueue::PostInput(const RawInput& input)
{
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            return false;
        input_.push_back(input);
        BumpLocked();
        wake = hooks_.wake;
    }
    if (wake)
        wake();
    return true;
}

bool ThreadQueue::TakeInput(RawInput* out)
{
    std::lock_guard lock(mutex_);
    if (input_.empty())
        return false;
    *out = input_.front();
    input_.pop_front();
    return true;
}

void ThreadQueue::Wake()
{
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        BumpLocked();
        wake = hooks_.wake;
    }
    if (wake)
        wake();
}

bool ThreadQueue::DispatchSent()
{
    bool any = false;
    for (;;) {
        SentMessage* sent;
        std::uint64_t order;
        {
            std::lock_guard lock(mutex_);
            if (sent_.empty())
                return any;
            sent = sent_.front();
            order = sent->order;
        }
        any = true;
        // Threads that post and then send expect the window to see both in
        // that order (a row's done, the next row's start, then its
        // progress), so window messages that arrived earlier go first. The
        // sent message stays queued meanwhile: one of those earlier messages
        // may wait for the very thread that sent it (a close waiting for the
        // worker), and that wait must still be able to answer it.
        for (const MSG& earlier : TakePostedBefore(order))
            DeliverToWindow(earlier.hwnd, earlier.message, earlier.wParam, earlier.lParam);
        {
            std::lock_guard lock(mutex_);
            // Answered by a wait inside one of the earlier messages, and its
            // sender may be gone: look again rather than touch it.
            if (sent_.empty() || sent_.front()->order != order)
                continue;
            sent_.pop_front();
        }
        sent->result = DeliverToWindow(sent->hwnd, sent->message, sent->wParam, sent->lParam);
        // The sender may return (and its stack frame vanish) as soon as it
        // sees `done`, so take what we need first.
        auto sender = std::move(sent->sender);
        sent->done.store(true, std::memory_order_release);
        if (sender)
            sender->Wake();
    }
}

std::vector<MSG> ThreadQueue::TakePostedBefore(std::uint64_t order)
{
    std::vector<MSG> earlier;
    std::lock_guard lock(mutex_);
    for (auto it = posted_.begin(); it != posted_.end() && it->order < order;) {
        if (it->msg.hwnd) {
            earlier.push_back(it->msg);
            it = posted_.erase(it);
        } else {
            ++it;
        }
    }
    return earlier;
}

bool ThreadQueue::Matches(const MSG& msg, HWND filter, UINT min, UINT max)
{
    if (filter && msg.hwnd != filter)
        return false;
    if (min == 0 && max == 0)
        return true;
    return msg.message >= min && msg.message <= max;
}

bool ThreadQueue::TakePosted(MSG* out, HWND filter, UINT min, UINT max, bool remove)
{
    std::lock_guard lock(mutex_);
    for (auto it = posted_.begin(); it != posted_.end(); ++it) {
        if (!Matches(it->msg, filter, min, max))
            continue;
        *out = it->msg;
        if (remove)
            posted_.erase(it);
        return true;
    }
    return false;
}

void ThreadQueue::PostQuit(int code)
{
    std::lock_guard lock(mutex_);
    quit_ = true;
    quitCode_ = code;
    BumpLocked();
}

bool ThreadQueue::TakeQuit(MSG* out, bool remove)
{
    std::lock_guard lock(mutex_);
    if (!quit_)
        return false;
    *out = MSG{};
    out->message = WM_QUIT;
    out->wParam = static_cast<WPARAM>(quitCode_);
    if (remove)
        quit_ = false;
    return true;
}

void ThreadQueue::SetTimer(const Timer& timer)
{
    std::lock_guard lock(mutex_);
    for (auto& t : timers_) {
        if (t.hwnd == timer.hwnd && t.id == timer.id) {
            t = timer;
            BumpLocked();
            return;
        }
    }
    timers_.push_back(timer);
    BumpLocked();
}

bool ThreadQueue::KillTimer(HWND hwnd, UINT_PTR id)
{
    std::lock_guard lock(mutex_);
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            timers_.erase(it);
            return true;
        }
    }
    return false;
}

void ThreadQueue::KillTimersOf(HWND hwnd)
{
    std::lock_guard lock(mutex_);
    std::erase_if(timers_, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

bool ThreadQueue::TakeDueTimer(MSG* out, HWND filter, bool remove)
{
    std::lock_guard lock(mutex_);
    auto now = Clock::now();
    for (auto& t : timers_) {
        if (t.due > now || (filter && t.hwnd != filter))
            continue;
        *out = MSG{};
        out->hwnd = t.hwnd;
        out->message = WM_TIMER;
        out->wParam = t.id;
        out->lParam = reinterpret_cast<LPARAM>(t.proc);
        if (remove)
            t.due = now + std::chrono::milliseconds(t.elapse);
        return true;
    }
    return false;
}

std::optional<Clock::time_point> ThreadQueue::NextTimerDue() const
{
    std::lock_guard lock(mutex_);
    std::optional<Clock::time_point> next;
    for (const auto& t : timers_)
        if (!next || t.due < *next)
            next = t.due;
    return next;
}

void ThreadQueue::WaitChange(std::uint64_t seen, std::optional<Clock::time_point> deadline,
                             std::chrono::microseconds spin)
{
    std::function<void(std::optional<Clock::time_point>)> block;
    {
        std::lock_guard lock(mutex_);
        block = hooks_.block;
    }
    if (block) {
        if (Generation() == seen)
            block(deadline);
        return;
    }
    auto moved = [&] { return generation_.load(std::memory_order_acquire) != seen; };
    if (SpinBriefly(moved, spin))
        return;
    std::unique_lock lock(mutex_);
    auto movedLocked = [&] { return generation_.load(std::memory_order_acquire) != seen; };
    if (deadline)
        changed_.wait_until(lock, *deadline, movedLocked);
    else
        changed_.wait(lock, movedLocked);
}

void ThreadQueue::SetWaitHooks(WaitHooks hooks)
{
    std::lock_guard lock(mutex_);
    hooks_ = std::move(hooks);
}

void ThreadQueue::Shutdown()
{
    std::deque<SentMessage*> pending;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        pending.swap(sent_);
        posted_.clear();
        input_.clear();
        timers_.clear();
        hooks_ = {};
    }
    for (SentMessage* sent : pending) {
        auto sender = std::move(sent->sender);
        sent->result = 0;
        sent->done.store(true, std::memory_order_release);
        if (sender)
            sender->Wake();
    }
}

}  // namespace win::internal
