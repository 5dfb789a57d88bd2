// The window tree: the order of messages on create, show, size and
// destroy, the tree walks, styles. (Geometry through WM_NCCALCSIZE is
// checked through the skinned frame.)
#include "WindowTesting.h"

#include "platform/messaging/Thread.h"
#include "platform/window/Focus.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { Recorder::Instance().Clear(); }
    Recorder& rec = Recorder::Instance();
};

// Only the messages whose order the tests pin down.
const std::vector<UINT> kLifeMessages = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                                         WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
                                         WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS,
                                         WM_DESTROY, WM_NCDESTROY};

}  // namespace

TEST_F(WindowTest, CreateShowSizeDestroyArriveInWindowsOrder)
{
    HWND top = MakeTop(L"Recorder", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, {100, 100, 400, 300});
    ASSERT_TRUE(top);
    EXPECT_EQ(rec.Of(top, kLifeMessages),
              (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));

    rec.Clear();
    ShowWindow(top, SW_SHOW);
    EXPECT_EQ(rec.Of(top, kLifeMessages),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE,
                                 WM_ACTIVATE, WM_SETFOCUS}));
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(GetFocus(), top);

    rec.Clear();
    SetWindowPos(top, nullptr, 0, 0, 500, 260, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(rec.Of(top, kLifeMessages),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}));
    // A move alone moves the client area but does not resize it.
    rec.Clear();
    MoveWindow(top, 120, 90, 500, 260, 1);
    EXPECT_EQ(rec.Of(top, kLifeMessages), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));

    HWND child = MakeChild(top, L"Recorder", WS_VISIBLE, {10, 10, 60, 40}, 7);
    rec.Clear();
    DestroyWindow(top);
    auto parentHeard = rec.Of(top, kLifeMessages);
    ASSERT_GE(parentHeard.size(), 2u);
    EXPECT_EQ(parentHeard[parentHeard.size() - 2], WM_DESTROY);
    EXPECT_EQ(parentHeard.back(), WM_NCDESTROY);
    EXPECT_EQ(rec.Of(child, kLifeMessages).back(), WM_NCDESTROY);
    EXPECT_FALSE(IsWindow(child));
    // The child is torn down after its parent's WM_DESTROY and before the
    // parent's WM_NCDESTROY.
    std::vector<std::pair<HWND, UINT>> order;
    for (const auto& h : rec.All())
        if (h.message == WM_DESTROY || h.message == WM_NCDESTROY)
            order.emplace_back(h.hwnd, h.message);
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{
                         {top, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}}));
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

namespace {
BOOL Collect(HWND hwnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<int>*>(lParam)->push_back(GetDlgCtrlID(hwnd));
    return 1;
}
BOOL StopAtThree(HWND hwnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<int>*>(lParam)->push_back(GetDlgCtrlID(hwnd));
    return GetDlgCtrlID(hwnd) != 3;
}
}  // namespace

TEST_F(WindowTest, EnumChildWindowsWalksDescendantsDepthFirstInZOrder)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP, {0, 0, 300, 300});
    HWND a = MakeChild(top, L"Recorder", WS_VISIBLE, {0, 0, 100, 100}, 1);
    MakeChild(a, L"Recorder", WS_VISIBLE, {0, 0, 10, 10}, 2);
    MakeChild(a, L"Recorder", WS_VISIBLE, {0, 0, 10, 10}, 3);
    MakeChild(top, L"Recorder", 0, {0, 0, 10, 10}, 4);  // hidden ones count too
    std::vector<int> ids;
    EnumChildWindows(top, Collect, reinterpret_cast<LPARAM>(&ids));
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4}));
    ids.clear();
    EnumChildWindows(top, StopAtThree, reinterpret_cast<LPARAM>(&ids));
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));

    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(top, 4)), 4);
    EXPECT_EQ(GetDlgItem(top, 2), nullptr);  // only direct children
    EXPECT_EQ(GetParent(GetDlgItem(a, 3)), a);
    EXPECT_TRUE(IsChild(top, GetDlgItem(a, 3)));
    WCHAR name[32];
    EXPECT_EQ(GetClassName(a, name, 32), 8);
    EXPECT_EQ(std::wstring(name), L"Recorder");
    DestroyWindow(top);
}

TEST_F(WindowTest, ShowAndEnableChangeStateOnlyOnce)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP, {0, 0, 100, 100});
    HWND child = MakeChild(top, L"Recorder", 0, {0, 0, 10, 10}, 1);
    EXPECT_FALSE(ShowWindow(child, SW_SHOW));
    EXPECT_TRUE(ShowWindow(child, SW_SHOW));
    EXPECT_FALSE(IsWindowVisible(child));  // its parent is still hidden
    ShowWindow(top, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(rec.Of(child, {WM_SHOWWINDOW}).size(), 1u);

    EXPECT_FALSE(EnableWindow(child, 0));
    EXPECT_TRUE(EnableWindow(child, 0));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLong(child, GWL_STYLE)) & WS_DISABLED, WS_DISABLED);
    EXPECT_TRUE(EnableWindow(child, 1));
    EXPECT_EQ(rec.Of(child, {WM_ENABLE}).size(), 2u);
    // A disabled window cannot take the focus.
    EnableWindow(child, 0);
    EXPECT_EQ(SetFocus(child), nullptr);
    EXPECT_NE(GetFocus(), child);
    DestroyWindow(top);
}

namespace {
LRESULT g_innerResult = 0;
WNDPROC g_inner = nullptr;
LRESULT Outer(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        return 0;  // swallowed: the text stays
    return CallWindowProc(g_inner, hwnd, message, wParam, lParam);
}
}  // namespace

TEST_F(WindowTest, ReplacedProcedureSeesMessagesFirstAndChainsOn)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP, {0, 0, 100, 100}, L"before");
    g_inner = reinterpret_cast<WNDPROC>(SetWindowLongPtr(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Outer)));
    EXPECT_EQ(g_inner, Recorder::Proc);
    SetWindowText(top, L"after");
    EXPECT_EQ(GetWindowText(top), L"before");
    EXPECT_FALSE(rec.Of(top, {WM_GETTEXT}).empty());  // reached the old procedure
    SetWindowLongPtr(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_inner));
    SetWindowText(top, L"after");
    EXPECT_EQ(GetWindowText(top), L"after");
    DestroyWindow(top);
    (void)g_innerResult;
}

TEST_F(WindowTest, WindowsOfAnEndingThreadAreDestroyed)
{
    static HWND made = nullptr;
    HANDLE thread = CreateThread(nullptr, 0, [](void*) -> DWORD {
        made = MakeTop(L"Recorder", WS_POPUP, {0, 0, 10, 10});
        return 0;
    }, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    ASSERT_NE(made, nullptr);
    EXPECT_FALSE(IsWindow(made));
    EXPECT_EQ(rec.Of(made, {WM_NCDESTROY}).size(), 1u);
}
