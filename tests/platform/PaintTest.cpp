// Painting: invalid areas turn into WM_PAINT after posted messages;
// BeginPaint erases and validates; children paint over their parent; a
// window region clips painting and hit-testing. (The frame's WM_NCPAINT is
// checked through the skinned frame's pixels.)
#include "WindowTesting.h"

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"
#include "platform/window/Paint.h"
#include "tests/support/GdiProbes.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;

namespace {

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override { Recorder::Instance().Clear(); }
    Recorder& rec = Recorder::Instance();
};

// Paints the client area in one colour.
std::function<LRESULT(WPARAM, LPARAM)> FillWith(HWND hwnd, COLORREF color)
{
    return [hwnd, color](WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    };
}

}  // namespace

TEST_F(PaintTest, PaintComesAfterPostedMessagesAndOnlyOncePerInvalidation)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    Pump();
    rec.Clear();
    InvalidateRect(top, nullptr, 1);
    InvalidateRect(top, nullptr, 0);  // merges with the first
    PostMessage(top, WM_USER, 0, 0);
    Pump();
    EXPECT_EQ(rec.Of(top, {WM_USER, WM_PAINT, WM_ERASEBKGND}),
              (std::vector<UINT>{WM_USER, WM_PAINT, WM_ERASEBKGND}));
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));  // validated

    // An invalid area of a hidden window asks for nothing.
    ShowWindow(top, SW_HIDE);
    InvalidateRect(top, nullptr, 1);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    DestroyWindow(top);
}

TEST_F(PaintTest, ChildrenPaintOverTheirParentAfterItRepaints)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND child = MakeChild(top, L"Recorder", WS_VISIBLE, {20, 20, 60, 60}, 1);
    rec.On(top, WM_PAINT, FillWith(top, RGB(255, 0, 0)));
    rec.On(child, WM_PAINT, FillWith(child, RGB(0, 0, 255)));
    Pump();
    EXPECT_EQ(PixelAt(top, 5, 5), 0xFF0000u);
    EXPECT_EQ(PixelAt(top, 30, 30), 0x0000FFu);

    // Repainting only the parent brings the child back over it.
    rec.Clear();
    InvalidateRect(top, nullptr, 1);
    Pump();
    EXPECT_EQ(rec.Of(child, {WM_PAINT}).size(), 1u);
    EXPECT_EQ(PixelAt(top, 30, 30), 0x0000FFu);
    // Repainting only the child leaves the parent alone.
    rec.Clear();
    InvalidateRect(child, nullptr, 1);
    Pump();
    EXPECT_TRUE(rec.Of(top, {WM_PAINT}).empty());
    DestroyWindow(top);
}

TEST_F(PaintTest, WindowRegionClipsPaintingAndHitTesting)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {300, 300, 400, 400});
    HWND child = MakeChild(top, L"Recorder", WS_VISIBLE, {10, 10, 90, 90}, 1);
    rec.On(top, WM_PAINT, FillWith(top, RGB(0, 255, 0)));
    rec.On(child, WM_PAINT, FillWith(child, RGB(0, 0, 255)));
    // The child is a frame: a 10-pixel hole in its middle.
    HRGN shape = CreateRectRgn(0, 0, 80, 80);
    HRGN hole = CreateRectRgn(35, 35, 45, 45);
    EXPECT_EQ(CombineRgn(shape, shape, hole, RGN_DIFF), COMPLEXREGION);
    DeleteObject(hole);
    SetWindowRgn(child, shape, 1);
    Pump();
    EXPECT_EQ(PixelAt(top, 15, 15), 0x0000FFu);
    EXPECT_EQ(PixelAt(top, 50, 50), 0x00FF00u);  // through the hole

    rec.Clear();
    Click(top, 50, 50);
    EXPECT_FALSE(rec.Of(top, {WM_LBUTTONDOWN}).empty());
    EXPECT_TRUE(rec.Of(child, {WM_LBUTTONDOWN}).empty());
    Click(top, 15, 15);
    EXPECT_FALSE(rec.Of(child, {WM_LBUTTONDOWN}).empty());

    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(child, copy), COMPLEXREGION);
    EXPECT_FALSE(testing_support::RegionHas(copy, 40, 40));
    DeleteObject(copy);
    DestroyWindow(top);
}
