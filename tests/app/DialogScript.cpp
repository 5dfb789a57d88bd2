#include "tests/app/DialogScript.h"

#include "platform/backend/Backend.h"
#include "platform/controls/Controls.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"

#include <chrono>
#include <deque>
#include <thread>
#include <utility>

using namespace win;

namespace testing_app {

namespace {

struct Pending {
    std::wstring title;
    Step step;
};
std::deque<Pending> g_pending;
UINT_PTR g_timer = 0;

void OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_pending.empty())
        return;
    HWND dialog = FindShown(g_pending.front().title);
    if (!dialog)
        return;
    Step step = std::move(g_pending.front().step);
    g_pending.pop_front();
    if (g_pending.empty()) {
        KillTimer(nullptr, g_timer);
        g_timer = 0;
    }
    step(dialog);
}

}  // namespace

HWND FindShown(const std::wstring& title)
{
    struct Search {
        const std::wstring* title;
        HWND found = nullptr;
    } search{&title};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (IsWindowVisible(hwnd) && GetWindowText(hwnd) == *s->title) {
                s->found = hwnd;
                return 0;
            }
            return 1;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void WhenShown(const std::wstring& title, Step step)
{
    g_pending.push_back({title, std::move(step)});
    if (!g_timer)
        g_timer = SetTimer(nullptr, 0, 1, OnTimer);
}

void Press(HWND dialog, int id)
{
    SendMessage(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void Pump() { PumpPendingMessages(); }

bool PumpUntil(const std::function<bool()>& done, double seconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        PumpPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace testing_app
