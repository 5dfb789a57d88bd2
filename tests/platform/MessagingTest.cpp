#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/ThreadQueue.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace win;

namespace {

constexpr UINT WM_PING = WM_USER + 1;
constexpr UINT WM_ECHO = WM_USER + 2;

// Polls until `ready` holds or five seconds have passed; whether it held.
template <class Ready>
bool WaitUntil(Ready&& ready)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Records what a window procedure saw; shared by the tests' windows.
struct Log {
    std::mutex mutex;
    std::vector<std::pair<HWND, UINT>> seen;
    void Add(HWND h, UINT m)
    {
        std::lock_guard lock(mutex);
        seen.emplace_back(h, m);
    }
    std::vector<UINT> MessagesOf(HWND h)
    {
        std::lock_guard lock(mutex);
        std::vector<UINT> out;
        for (auto& [w, m] : seen)
            if (w == h)
                out.push_back(m);
        return out;
    }
};
Log g_log;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_log.Add(hwnd, message);
    switch (message) {
    case WM_PING: return static_cast<LRESULT>(wParam * 2);
    case WM_ECHO: {
        // Asks back the window named in lParam on its own thread.
        return SendMessage(reinterpret_cast<HWND>(lParam), WM_PING, wParam + 1, 0) + 1;
    }
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

void RegisterOnce()
{
    static bool done = [] {
        WNDCLASS wc;
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = L"TestRecorder";
        return RegisterClass(&wc) != 0;
    }();
    ASSERT_TRUE(done);
}

HWND MakeWindow()
{
    RegisterOnce();
    return CreateWindowEx(0, L"TestRecorder", L"title", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

// Runs `body` on a thread that owns a window and pumps until WM_QUIT.
struct WindowThread {
    HANDLE handle = nullptr;
    DWORD id = 0;
    std::atomic<HWND> window{nullptr};

    static DWORD Run(void* p)
    {
        auto* self = static_cast<WindowThread*>(p);
        self->window = MakeWindow();
        MSG msg;
        while (GetMessage(&msg, nullptr, 0, 0) > 0)
            DispatchMessage(&msg);
        DestroyWindow(self->window);
        return 7;
    }
    void Start()
    {
        handle = CreateThread(nullptr, 0, Run, this, 0, &id);
        ASSERT_TRUE(WaitUntil([&] { return window.load() != nullptr; }));
    }
    void Stop()
    {
        PostThreadMessage(id, WM_QUIT, 0, 0);
    }
};

}  // namespace

TEST(Messaging, PostedMessagesArriveInOrderThenQuit)
{
    HWND w = MakeWindow();
    ASSERT_TRUE(w);
    for (WPARAM i = 0; i < 5; ++i)
        PostMessage(w, WM_PING, i, 0);
    PostThreadMessage(GetCurrentThreadId(), WM_ECHO, 99, 0);
    PostQuitMessage(3);

    MSG msg;
    for (WPARAM i = 0; i < 5; ++i) {
        ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
        EXPECT_EQ(msg.hwnd, w);
        EXPECT_EQ(msg.message, WM_PING);
        EXPECT_EQ(msg.wParam, i);
    }
    ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 99u);
    EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(w);
}

TEST(Messaging, CrossThreadSendWaitsForTheOwnersAnswer)
{
    WindowThread other;
    other.Start();
    EXPECT_EQ(SendMessage(other.window, WM_PING, 21, 0), 42);

    // The other thread asks us back while we wait for it: we must answer.
    HWND mine = MakeWindow();
    EXPECT_EQ(SendMessage(other.window, WM_ECHO, 10, reinterpret_cast<LPARAM>(mine)), 23);
    auto seenHere = g_log.MessagesOf(mine);
    EXPECT_NE(std::find(seenHere.begin(), seenHere.end(), WM_PING), seenHere.end());

    other.Stop();
    EXPECT_EQ(WaitForSingleObject(other.handle, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(other.handle));
    DestroyWindow(mine);
}

namespace {
struct SendBack {
    HWND target;
    LRESULT answer = 0;
};
DWORD SendToWaiter(void* p)
{
    auto* s = static_cast<SendBack*>(p);
    s->answer = SendMessage(s->target, WM_PING, 50, 0);
    return 0;
}
}  // namespace

TEST(Messaging, WaitingForAThreadKeepsHandlingItsSends)
{
    // A worker that sends to the thread joining it must not deadlock.
    HWND mine = MakeWindow();
    SendBack s{mine};
    HANDLE worker = CreateThread(nullptr, 0, SendToWaiter, &s, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(s.answer, 100);
    CloseHandle(worker);
    DestroyWindow(mine);
}

namespace {
DWORD EndWhenReleased(void* p)
{
    auto* released = static_cast<std::atomic<bool>*>(p);
    WaitUntil([&] { return released->load(); });
    return 0;
}

// A thread with a window that never reads its queue: it ends as soon as a
// message is sent to it, leaving the send unanswered.
struct Unanswering {
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> sentTo{false};
};
DWORD EndOnceSentTo(void* p)
{
    auto* self = static_cast<Unanswering*>(p);
    HWND window = MakeWindow();
    auto queue = internal::CurrentQueue();
    std::uint64_t seen = queue->Generation();
    self->window.store(window);
    queue->WaitChange(seen, internal::Clock::now() + std::chrono::seconds(5));
    self->sentTo.store(queue->Generation() != seen);
    return 0;
}
}  // namespace

TEST(Messaging, WaitTimesOutAndSendToAnEndedThreadReturns)
{
    std::atomic<bool> released{false};
    HANDLE t = CreateThread(nullptr, 0, EndWhenReleased, &released, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(t, 10), WAIT_TIMEOUT);
    released = true;
    EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    CloseHandle(t);
    EXPECT_EQ(WaitForSingleObject(t, 0), WAIT_FAILED);  // closed handle

    Unanswering target;
    HANDLE quitter = CreateThread(nullptr, 0, EndOnceSentTo, &target, 0, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return target.window.load() != nullptr; }));
    // The send is pending when the thread ends; it must come back with 0.
    EXPECT_EQ(SendMessage(target.window, WM_PING, 5, 0), 0);
    WaitForSingleObject(quitter, INFINITE);
    CloseHandle(quitter);
    EXPECT_TRUE(target.sentTo.load()) << "the thread ended before the send reached it";
    EXPECT_FALSE(PostMessage(target.window, WM_PING, 1, 0));
}

TEST(Messaging, StaleWindowHandlesAreRefused)
{
    HWND first = MakeWindow();
    ASSERT_TRUE(IsWindow(first));
    ASSERT_TRUE(DestroyWindow(first));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(SendMessage(first, WM_PING, 1, 0), 0);
    EXPECT_FALSE(PostMessage(first, WM_PING, 1, 0));
    EXPECT_FALSE(DestroyWindow(first));

    HWND second = MakeWindow();  // may reuse the slot, never the handle
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(SendMessage(second, WM_PING, 4, 0), 8);
    DestroyWindow(second);
}

TEST(Messaging, TimersFireUntilKilled)
{
    HWND w = MakeWindow();
    ASSERT_EQ(SetTimer(w, 5, 20, nullptr), 5u);
    int ticks = 0;
    MSG msg;
    DWORD start = GetTickCount();
    while (ticks < 3 && GetMessage(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == w && msg.wParam == 5)
            ++ticks;
        DispatchMessage(&msg);
    }
    EXPECT_EQ(ticks, 3);
    EXPECT_GE(GetTickCount() - start, 50u);
    EXPECT_TRUE(KillTimer(w, 5));
    EXPECT_FALSE(KillTimer(w, 5));
    // A later timer fires after the killed one would have, twice over.
    ASSERT_EQ(SetTimer(w, 6, 50, nullptr), 6u);
    std::vector<UINT_PTR> fired;
    while (GetMessage(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == w)
            fired.push_back(msg.wParam);
        if (!fired.empty() && fired.back() == 6)
            break;
    }
    EXPECT_EQ(fired, std::vector<UINT_PTR>{6});
    EXPECT_TRUE(KillTimer(w, 6));
    DestroyWindow(w);
}

namespace {
struct PostThenSend {
    HWND target;
};
DWORD PostThenSendProc(void* p)
{
    HWND target = static_cast<PostThenSend*>(p)->target;
    for (WPARAM i = 0; i < 50; ++i) {
        PostMessage(target, WM_USER + 10, i, 0);
        SendMessage(target, WM_USER + 11, i, 0);
    }
    PostMessage(target, WM_CLOSE, 0, 0);
    return 0;
}
std::vector<std::pair<UINT, WPARAM>> g_order;
LRESULT OrderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 10 || message == WM_USER + 11)
        g_order.emplace_back(message, wParam);
    return DefWindowProc(hwnd, message, wParam, lParam);
}
}  // namespace

TEST(Messaging, WhatAThreadPostsReachesTheWindowBeforeWhatItSendsNext)
{
    WNDCLASS wc;
    wc.lpfnWndProc = OrderProc;
    wc.lpszClassName = L"TestOrder";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, L"TestOrder", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    PostThenSend p{w};
    HANDLE t = CreateThread(nullptr, 0, PostThenSendProc, &p, 0, nullptr);
    MSG msg;
    while (IsWindow(w) && GetMessage(&msg, nullptr, 0, 0) > 0)
        DispatchMessage(&msg);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    ASSERT_EQ(g_order.size(), 100u);
    for (WPARAM i = 0; i < 50; ++i) {
        EXPECT_EQ(g_order[2 * i], std::make_pair(WM_USER + 10, i));
        EXPECT_EQ(g_order[2 * i + 1], std::make_pair(WM_USER + 11, i));
    }
}

namespace {
constexpr UINT WM_JOIN_SENDER = WM_USER + 20;
constexpr UINT WM_FROM_SENDER = WM_USER + 21;
std::atomic<HANDLE> g_sender{nullptr};
std::atomic<int> g_answered{0};
DWORD g_joined = WAIT_FAILED;

LRESULT JoinProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_JOIN_SENDER: g_joined = WaitForSingleObject(g_sender.load(), 5000); return 0;
    case WM_FROM_SENDER: ++g_answered; return 1;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

DWORD PostJoinThenSend(void* p)
{
    HWND w = static_cast<HWND>(p);
    WaitUntil([] { return g_sender.load() != nullptr; });
    // The first message asks the window to wait for this thread, which then
    // sends; the wait is what must answer the send.
    PostMessage(w, WM_JOIN_SENDER, 0, 0);
    SendMessage(w, WM_FROM_SENDER, 0, 0);
    return 0;
}
}  // namespace

TEST(Messaging, AnEarlierPostThatWaitsForTheSenderStillAnswersItsSend)
{
    // A close (posted) arriving while a worker sends progress: the close
    // waits for the worker, and the worker for its answer.
    WNDCLASS wc;
    wc.lpfnWndProc = JoinProc;
    wc.lpszClassName = L"TestJoin";
    RegisterClass(&wc);
    HWND w = CreateWindowEx(0, L"TestJoin", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    HANDLE t = CreateThread(nullptr, 0, PostJoinThenSend, w, 0, nullptr);
    g_sender = t;
    // Only sent messages are served here, so the post is delivered by the
    // send it came before, as in the window's own loop under load.
    while (g_answered.load() == 0 && WaitForSingleObject(t, 0) == WAIT_TIMEOUT)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(g_joined, WAIT_OBJECT_0);
    EXPECT_EQ(g_answered.load(), 1);
    EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
    CloseHandle(t);
    DestroyWindow(w);
}
