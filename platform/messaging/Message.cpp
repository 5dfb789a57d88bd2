#include "platform/messaging/Message.h"

#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/ThreadQueue.h"
#include "platform/messaging/WindowHooks.h"
#include "platform/messaging/internal/SentMessage.h"

#include <atomic>

namespace win {

namespace {

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    return msg;
}

bool InRange(UINT message, UINT min, UINT max)
{
    return (min == 0 && max == 0) || (message >= min && message <= max);
}

// Finds the next message without blocking, in Windows' order: messages sent
// from other threads are handled first, then posted messages, quit, input,
// paint (for windows with an invalid area), timers.
bool NextMessage(internal::ThreadQueue& queue, MSG* msg, HWND hwnd, UINT min, UINT max, bool remove)
{
    queue.DispatchSent();
    if (queue.TakePosted(msg, hwnd, min, max, remove))
        return true;
    if (!hwnd && queue.TakeQuit(msg, remove))
        return true;
    const auto& layer = internal::WindowLayer();
    if (layer.nextInput && layer.nextInput(queue, msg, hwnd, min, max, remove))
        return true;
    if (layer.nextToPaint && InRange(WM_PAINT, min, max)) {
        if (HWND dirty = layer.nextToPaint(hwnd)) {
            *msg = MakeMsg(dirty, WM_PAINT, 0, 0);
            return true;
        }
    }
    if (!InRange(WM_TIMER, min, max))
        return false;
    return queue.TakeDueTimer(msg, hwnd, remove);
}

std::atomic<UINT_PTR> g_nextTimerId{0x7FFF0000};

}  // namespace

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!hwnd)
        return PostThreadMessage(GetCurrentThreadId(), message, wParam, lParam);
    DWORD thread = internal::OwnerThreadOf(hwnd);
    auto queue = thread ? internal::QueueOf(thread) : nullptr;
    return queue && queue->Post(MakeMsg(hwnd, message, wParam, lParam)) ? 1 : 0;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD thread = internal::OwnerThreadOf(hwnd);
    if (!thread)
        return 0;
    if (thread == GetCurrentThreadId())
        return internal::DeliverToWindow(hwnd, message, wParam, lParam);

    auto target = internal::QueueOf(thread);
    if (!target)
        return 0;
    auto self = internal::CurrentQueue();
    internal::SentMessage sent;
    sent.hwnd = hwnd;
    sent.message = message;
    sent.wParam = wParam;
    sent.lParam = lParam;
    sent.sender = self;
    if (!target->Send(&sent))
        return 0;
    for (;;) {
        auto seen = self->Generation();
        if (sent.done.load(std::memory_order_acquire))
            return sent.result;
        if (self->DispatchSent())
            continue;
        // The answer usually comes within a wake-up of the receiver; waiting
        // for it awake saves a second wake-up on this side.
        self->WaitChange(seen, std::nullopt, std::chrono::microseconds(200));
    }
}

BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto queue = internal::QueueOf(threadId);
    return queue && queue->Post(MakeMsg(nullptr, message, wParam, lParam)) ? 1 : 0;
}

void PostQuitMessage(int exitCode) { internal::CurrentQueue()->PostQuit(exitCode); }

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    if (!msg || (hwnd && !internal::OwnerThreadOf(hwnd)))
        return -1;
    auto queue = internal::CurrentQueue();
    for (;;) {
        auto seen = queue->Generation();
        if (NextMessage(*queue, msg, hwnd, filterMin, filterMax, true))
            return msg->message == WM_QUIT ? 0 : 1;
        queue->WaitChange(seen, queue->NextTimerDue());
    }
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (!msg)
        return 0;
    auto queue = internal::CurrentQueue();
    return NextMessage(*queue, msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0) ? 1 : 0;
}

BOOL WaitMessage()
{
    auto queue = internal::CurrentQueue();
    auto seen = queue->Generation();
    MSG msg;
    if (NextMessage(*queue, &msg, nullptr, 0, 0, false))
        return 1;
    queue->WaitChange(seen, queue->NextTimerDue());
    return 1;
}

BOOL TranslateMessage(const MSG* msg)
{
    auto translate = internal::WindowLayer().translate;
    return translate ? translate(msg) : 0;
}

LRESULT DispatchMessage(const MSG* msg)
{
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    return internal::DeliverToWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    std::shared_ptr<internal::ThreadQueue> queue;
    if (hwnd) {
        DWORD thread = internal::OwnerThreadOf(hwnd);
        if (thread != GetCurrentThreadId())
            return 0;
    } else {
        id = g_nextTimerId.fetch_add(1);
    }
    queue = internal::CurrentQueue();
    internal::Timer timer;
    timer.hwnd = hwnd;
    timer.id = id;
    timer.elapse = elapse < 10 ? 10 : elapse;
    timer.proc = proc;
    timer.due = internal::Clock::now() + std::chrono::milliseconds(timer.elapse);
    queue->SetTimer(timer);
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    return internal::CurrentQueue()->KillTimer(hwnd, id) ? 1 : 0;
}

}  // namespace win
