// Hook chains on one window, and the window's last message.
#include "WindowTesting.h"

#include "skin/CSubclassWnd.h"

#include <gtest/gtest.h>

#include <string>

using namespace win;
using namespace testing_windows;

namespace {

// Notes every message it sees into a shared log, answers WM_USER itself
// when asked to, and passes everything else on.
class Hook : public CSubclassWnd {
public:
    Hook(std::string name, std::string* log, bool answer) : name_(std::move(name)), log_(log), answer_(answer) { }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER) {
            *log_ += name_;
            if (answer_)
                return 7;
        }
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::string name_;
    std::string* log_;
    bool answer_;
};

}  // namespace

TEST(SubclassTest, NewerHooksSeeMessagesFirstAndDefaultReachesTheOlder)
{
    HWND w = MakeTop(L"Recorder", WS_POPUP, {0, 0, 50, 50});
    auto original = GetWindowLongPtr(w, GWLP_WNDPROC);
    std::string log;
    Hook older("a", &log, false), newer("b", &log, false);
    ASSERT_TRUE(older.HookWindow(w));
    ASSERT_TRUE(newer.HookWindow(w));
    Recorder::Instance().Clear();
    SendMessage(w, WM_USER, 0, 0);
    EXPECT_EQ(log, "ba");
    EXPECT_EQ(Recorder::Instance().Of(w, {WM_USER}).size(), 1u);  // the original procedure last

    // Unhooking the older keeps the newer working.
    older.HookWindow(nullptr);
    log.clear();
    SendMessage(w, WM_USER, 0, 0);
    EXPECT_EQ(log, "b");
    newer.HookWindow(nullptr);
    EXPECT_EQ(GetWindowLongPtr(w, GWLP_WNDPROC), original);
    DestroyWindow(w);
}

TEST(SubclassTest, UnhookingTheNewerPassesTheWindowToTheOlder)
{
    HWND w = MakeTop(L"Recorder", WS_POPUP, {0, 0, 50, 50});
    std::string log;
    Hook older("a", &log, true), newer("b", &log, false);
    older.HookWindow(w);
    newer.HookWindow(w);
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 7);
    newer.HookWindow(nullptr);
    log.clear();
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 7);
    EXPECT_EQ(log, "a");
    {
        Hook gone("c", &log, false);
        gone.HookWindow(w);
    }  // an object that goes lets go of its window
    log.clear();
    SendMessage(w, WM_USER, 0, 0);
    EXPECT_EQ(log, "a");
    DestroyWindow(w);
}

TEST(SubclassTest, TheLastMessageRestoresTheOriginalProcedureBeforeItRuns)
{
    HWND w = MakeTop(L"Recorder", WS_POPUP, {0, 0, 50, 50});
    auto original = GetWindowLongPtr(w, GWLP_WNDPROC);
    std::string log;
    Hook a("a", &log, false), b("b", &log, false);
    a.HookWindow(w);
    b.HookWindow(w);
    LONG_PTR seen = 0;
    Recorder::Instance().On(w, WM_NCDESTROY, [&](WPARAM, LPARAM) -> LRESULT {
        seen = GetWindowLongPtr(w, GWLP_WNDPROC);
        return 0;
    });
    DestroyWindow(w);
    EXPECT_EQ(seen, original);
    EXPECT_FALSE(a.IsHooked());
    EXPECT_FALSE(b.IsHooked());
    EXPECT_FALSE(a.HookWindow(w));  // a stale handle is refused
}
