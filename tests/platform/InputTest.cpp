// Pointer and keyboard routing: hit-testing, set-cursor, client and
// non-client messages, double clicks, capture, focus and keys. (Leave
// tracking and the wheel are checked through the skinned button and list.)
#include "WindowTesting.h"

#include "platform/messaging/Thread.h"
#include "platform/window/Focus.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override { Recorder::Instance().Clear(); }
    void TearDown() override { ReleaseCapture(); }
    Recorder& rec = Recorder::Instance();
    const std::vector<UINT> kMouse = {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                      WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK,
                                      WM_NCMOUSEMOVE};
};

}  // namespace

TEST_F(InputTest, AClickIsHitTestSetCursorDownUp)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {10, 10, 210, 110});
    HWND child = MakeChild(top, L"Recorder", WS_VISIBLE, {50, 20, 150, 80}, 1);
    rec.Clear();
    Press(child, 5, 6);
    Release(child, 5, 6);
    EXPECT_EQ(rec.Of(child, kMouse), (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN,
                                                         WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONUP}));
    // The pointer position is in the child's client coordinates.
    for (const auto& h : rec.All())
        if (h.hwnd == child && h.message == WM_LBUTTONDOWN) {
            EXPECT_EQ(GET_X_LPARAM(h.lParam), 5);
            EXPECT_EQ(GET_Y_LPARAM(h.lParam), 6);
            EXPECT_EQ(h.wParam & MK_LBUTTON, MK_LBUTTON);
        }
    // The parent was asked about the cursor on the child's behalf.
    EXPECT_FALSE(rec.Of(top, {WM_SETCURSOR}).empty());
    EXPECT_EQ(GetActiveWindow(), top);
    DestroyWindow(top);
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyle)
{
    HWND plain = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {10, 10, 110, 110});
    HWND dbl = MakeTop(L"RecorderDbl", WS_POPUP | WS_VISIBLE, {200, 10, 300, 110});
    rec.Clear();
    Click(plain, 5, 5);
    Click(plain, 5, 5);
    Click(dbl, 5, 5);
    Click(dbl, 5, 5);
    Click(dbl, 5, 5);  // a third click starts a new pair
    std::vector<UINT> buttons = {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK};
    EXPECT_EQ(rec.Of(plain, buttons), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    EXPECT_EQ(rec.Of(dbl, buttons), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
    // Too far apart is not a double click.
    rec.Clear();
    Click(dbl, 40, 40);
    Click(dbl, 60, 60);
    EXPECT_EQ(rec.Of(dbl, buttons), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    DestroyWindow(plain);
    DestroyWindow(dbl);
}

TEST_F(InputTest, CaptionAndFrameGetNonClientMessagesWithTheHitCode)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {10, 10, 310, 210});
    rec.Clear();
    RECT r;
    GetWindowRect(top, &r);
    InjectPointer(nullptr, PointerEvent::Move, 0, {r.left + 60, r.top + 10}, 0);
    InjectPointer(nullptr, PointerEvent::Down, 1, {r.left + 60, r.top + 10}, 0);
    InjectPointer(nullptr, PointerEvent::Up, 1, {r.left + 60, r.top + 10}, 0);
    Pump();
    std::vector<UINT> nc = {WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_LBUTTONDOWN};
    EXPECT_EQ(rec.Of(top, nc), (std::vector<UINT>{WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP}));
    for (const auto& h : rec.All())
        if (h.hwnd == top && h.message == WM_NCLBUTTONDOWN) {
            EXPECT_EQ(static_cast<LRESULT>(h.wParam), HTCAPTION);
            EXPECT_EQ(GET_X_LPARAM(h.lParam), r.left + 60);  // screen coordinates
        }

    // The close button: press and release on it sends SC_CLOSE.
    rec.Clear();
    POINT close{r.right - 10, r.top + 10};
    InjectPointer(nullptr, PointerEvent::Move, 0, close, 0);
    InjectPointer(nullptr, PointerEvent::Down, 1, close, 0);
    InjectPointer(nullptr, PointerEvent::Up, 1, close, 0);
    Pump();
    EXPECT_FALSE(IsWindow(top));
    bool sawClose = false;
    for (const auto& h : rec.All())
        sawClose |= h.message == WM_SYSCOMMAND && (h.wParam & 0xFFF0) == SC_CLOSE;
    EXPECT_TRUE(sawClose);
}

TEST_F(InputTest, CaptureKeepsMouseMessagesOnTheCapturingWindow)
{
    HWND a = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {10, 10, 110, 110});
    HWND b = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {200, 10, 300, 110});
    SetCapture(a);
    EXPECT_EQ(GetCapture(), a);
    rec.Clear();
    Click(b, 10, 10);
    EXPECT_TRUE(rec.Of(b, kMouse).empty());
    auto heard = rec.Of(a, kMouse);
    EXPECT_EQ(heard, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));  // no hit test
    for (const auto& h : rec.All()) {
        if (h.hwnd == a && h.message == WM_LBUTTONUP) {
            EXPECT_EQ(GET_X_LPARAM(h.lParam), 200);  // outside its client area
        }
    }
    ReleaseCapture();
    EXPECT_EQ(rec.Of(a, {WM_CAPTURECHANGED}).size(), 1u);
    rec.Clear();
    Click(b, 10, 10);
    EXPECT_FALSE(rec.Of(b, {WM_LBUTTONDOWN}).empty());
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(InputTest, DisabledControlsGetNoInputTheirParentDoes)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {10, 10, 210, 110});
    HWND child = MakeChild(top, L"Recorder", WS_VISIBLE | WS_DISABLED, {10, 10, 60, 60}, 1);
    rec.Clear();
    Click(child, 5, 5);
    Key('A');
    EXPECT_TRUE(rec.Of(child, kMouse).empty());
    EXPECT_TRUE(rec.Of(child, {WM_KEYDOWN}).empty());
    EXPECT_FALSE(rec.Of(top, {WM_LBUTTONDOWN}).empty());

    // A disabled top-level window (the owner of a modal dialog) takes none.
    EnableWindow(top, 0);
    rec.Clear();
    Click(top, 100, 80);
    EXPECT_TRUE(rec.Of(top, {WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
    DestroyWindow(top);
}

TEST_F(InputTest, KeysGoToTheFocusWindowAndTranslateToCharacters)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {10, 10, 210, 110});
    HWND a = MakeChild(top, L"Recorder", WS_VISIBLE, {10, 10, 60, 60}, 1);
    HWND b = MakeChild(top, L"Recorder", WS_VISIBLE, {70, 10, 120, 60}, 2);
    SetFocus(a);
    rec.Clear();
    SetFocus(b);
    EXPECT_EQ(rec.Of(a, {WM_KILLFOCUS, WM_SETFOCUS}), (std::vector<UINT>{WM_KILLFOCUS}));
    EXPECT_EQ(rec.Of(b, {WM_KILLFOCUS, WM_SETFOCUS}), (std::vector<UINT>{WM_SETFOCUS}));
    rec.Clear();
    Type(L"hi");
    EXPECT_EQ(rec.Of(b, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
              (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    std::wstring typed;
    for (const auto& h : rec.All())
        if (h.hwnd == b && h.message == WM_CHAR)
            typed += static_cast<wchar_t>(h.wParam);
    EXPECT_EQ(typed, L"hi");
    EXPECT_TRUE(rec.Of(a, {WM_KEYDOWN}).empty());
    DestroyWindow(top);
}

TEST_F(InputTest, ActivationMovesBetweenTopLevelWindows)
{
    HWND a = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {10, 10, 110, 110});
    HWND b = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {200, 10, 300, 110});
    EXPECT_EQ(GetActiveWindow(), b);
    rec.Clear();
    Click(a, 5, 5);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(rec.Of(b, {WM_NCACTIVATE, WM_ACTIVATE}), (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE}));
    for (const auto& h : rec.All()) {
        if (h.hwnd == a && h.message == WM_ACTIVATE) {
            EXPECT_EQ(LOWORD(h.wParam), WA_CLICKACTIVE);
        }
        if (h.hwnd == b && h.message == WM_ACTIVATE) {
            EXPECT_EQ(LOWORD(h.wParam), WA_INACTIVE);
        }
    }
    DestroyWindow(a);
    EXPECT_EQ(GetActiveWindow(), b);
    DestroyWindow(b);
}
