// The platform as the skin toolkit uses it: a frame that draws its own
// caption, buttons shaped by a region built from pixels, labels that
// keep their own text, list rows toggled by posted clicks and redrawn at
// once, a scroll bar dragged under capture with a timer. And what a
// display back-end is told while that happens.
#include "WindowTesting.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;

namespace {

// Records what a display back-end would be asked to do.
class RecordingBackend : public HeadlessBackend {
public:
    void WindowPlaced(HWND, const RECT& r) override { placed.push_back(r); }
    void WindowShown(HWND, ShowState s) override { shown.push_back(s); }
    void WindowShapeChanged(HWND) override { ++shapes; }
    void WindowTextChanged(HWND hwnd) override { titles.push_back(GetWindowText(hwnd)); }
    void SurfaceChanged(HWND, const RECT& r) override { drawn.push_back(r); }
    void BeginMoveDrag(HWND hwnd, POINT) override { dragged = hwnd; }

    std::vector<RECT> placed;
    std::vector<ShowState> shown;
    int shapes = 0;
    std::vector<std::wstring> titles;
    std::vector<RECT> drawn;
    HWND dragged = nullptr;
};

class SkinUseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Recorder::Instance().Clear();
        SetBackend(&backend);
    }
    void TearDown() override { SetBackend(nullptr); }
    RecordingBackend backend;
    Recorder& rec = Recorder::Instance();
};

constexpr int kCaption = 40;

LRESULT FillWindow(HWND hwnd, COLORREF color)
{
    HDC dc = GetWindowDC(hwnd);
    RECT r;
    GetWindowRect(hwnd, &r);
    RECT all{0, 0, r.right - r.left, r.bottom - r.top};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
    return 0;
}

// The region of the pixels whose red and green are not both 0: each row's
// runs joined, as the skin makes its button shapes.
HRGN RegionOfPixels(HBITMAP bitmap)
{
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    GetBitmapPixels(bitmap, &pixels, &w, &h);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            auto inside = [&](int i) { return (pixels[static_cast<std::size_t>(y * w + i)] & 0xFFFF00) != 0; };
            if (!inside(x)) {
                ++x;
                continue;
            }
            int start = x;
            while (x < w && inside(x))
                ++x;
            HRGN run = CreateRectRgn(start, y, x, y + 1);
            CombineRgn(region, region, run, RGN_OR);
            DeleteObject(run);
        }
    }
    return region;
}

}  // namespace

TEST_F(SkinUseTest, FrameDrawsItsOwnCaptionAndTheWindowManagerMovesIt)
{
    HWND frame = MakeTop(L"Recorder", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, {100, 100, 500, 400});
    rec.On(frame, WM_NCCALCSIZE, [](WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (wParam)
            reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0].top += kCaption;
        return 0;
    });
    rec.On(frame, WM_NCHITTEST, [frame](WPARAM, LPARAM lParam) -> LRESULT {
        RECT r;
        GetWindowRect(frame, &r);
        return GET_Y_LPARAM(lParam) - r.top < kCaption ? HTCAPTION : HTCLIENT;
    });
    rec.On(frame, WM_NCPAINT, [frame](WPARAM, LPARAM) { return FillWindow(frame, RGB(200, 0, 0)); });
    rec.On(frame, WM_ERASEBKGND, [frame](WPARAM wParam, LPARAM) -> LRESULT {
        RECT r;
        GetClientRect(frame, &r);
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 200));
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
        DeleteObject(brush);
        return 1;
    });
    // The skin takes the caption buttons away and asks for a new frame.
    SetWindowLong(frame, GWL_STYLE, GetWindowLong(frame, GWL_STYLE) & ~(WS_SYSMENU | WS_MINIMIZEBOX));
    SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT client;
    GetClientRect(frame, &client);
    EXPECT_EQ(client.bottom, 300 - kCaption);
    EXPECT_EQ(client.right, 400);
    ShowWindow(frame, SW_SHOW);
    Pump();
    EXPECT_EQ(PixelAt(frame, 200, 10), 0xC80000u);   // caption from WM_NCPAINT
    EXPECT_EQ(PixelAt(frame, 200, 100), 0x0000C8u);  // client from the erase step
    EXPECT_FALSE(backend.drawn.empty());

    // Pressing on the caption hands the move to the window manager.
    RECT r;
    GetWindowRect(frame, &r);
    InjectPointer(nullptr, PointerEvent::Down, 1, {r.left + 50, r.top + 10}, 0);
    Pump();
    EXPECT_EQ(backend.dragged, frame);

    // Minimise and restore, maximise onto the work area and back.
    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(frame));
    ShowWindow(frame, SW_RESTORE);
    EXPECT_FALSE(IsIconic(frame));
    ShowWindow(frame, SW_MAXIMIZE);
    GetWindowRect(frame, &r);
    RECT work = backend.WorkArea();
    EXPECT_EQ(r.right - r.left, work.right - work.left);
    ShowWindow(frame, SW_RESTORE);
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right - r.left, 400);
    ASSERT_GE(backend.shown.size(), 4u);
    EXPECT_EQ(backend.shown[0], ShowState::Normal);
    EXPECT_EQ(backend.shown[1], ShowState::Minimized);
    EXPECT_EQ(backend.shown[2], ShowState::Normal);
    EXPECT_EQ(backend.shown[3], ShowState::Maximized);
    EXPECT_EQ(backend.placed.back().left, 100);

    SetWindowText(frame, L"Verdo Ape to MP3 WAV Converter pro v1.1 ");
    EXPECT_EQ(backend.titles.back(), L"Verdo Ape to MP3 WAV Converter pro v1.1 ");
    DestroyWindow(frame);
}

TEST_F(SkinUseTest, ButtonShapedByItsPixelsTakesClicksOnlyInside)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {0, 0, 200, 100});
    HWND button = MakeChild(top, L"Recorder", WS_VISIBLE, {10, 10, 70, 40}, 1002);
    // A face whose left 20 columns are pure blue (outside) and the rest grey.
    HBITMAP face = CreateARGBBitmap(60, 30);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, face);
    RECT left{0, 0, 20, 30}, right{20, 0, 60, 30};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255)), grey = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &left, blue);
    FillRect(dc, &right, grey);
    DeleteObject(blue);
    DeleteObject(grey);
    DeleteDC(dc);
    SetWindowRgn(button, RegionOfPixels(face), 1);
    DeleteObject(face);
    rec.Clear();
    Click(button, 5, 5);
    EXPECT_TRUE(rec.Of(button, {WM_LBUTTONDOWN}).empty());
    EXPECT_FALSE(rec.Of(top, {WM_LBUTTONDOWN}).empty());
    Click(button, 30, 5);
    EXPECT_FALSE(rec.Of(button, {WM_LBUTTONDOWN}).empty());

    // An all-outside face leaves an empty shape: nothing is hit or shown.
    SetWindowRgn(button, CreateRectRgn(0, 0, 0, 0), 1);
    rec.Clear();
    Click(button, 30, 5);
    EXPECT_TRUE(rec.Of(button, {WM_LBUTTONDOWN}).empty());
    DestroyWindow(top);
}

TEST_F(SkinUseTest, LabelKeepsItsOwnTextAndRepaintsOverItsParent)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {0, 0, 200, 100});
    HWND label = MakeChild(top, L"Recorder", WS_VISIBLE, {10, 10, 110, 30}, 1027);
    std::wstring shown = L"....";
    int painted = 0;
    rec.On(label, WM_SETTEXT, [&](WPARAM, LPARAM lParam) -> LRESULT {
        RECT r{10, 10, 110, 30};
        InvalidateRect(top, &r, 1);
        shown = reinterpret_cast<LPCWSTR>(lParam);
        InvalidateRect(label, nullptr, 1);
        return 0;
    });
    rec.On(label, WM_PAINT, [&](WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT ps;
        BeginPaint(label, &ps);
        ++painted;
        EndPaint(label, &ps);
        return 0;
    });
    rec.On(label, WM_ERASEBKGND, [](WPARAM, LPARAM) -> LRESULT { return 0; });
    Pump();
    painted = 0;
    rec.Clear();
    SetWindowText(label, L"To MP3...");
    Pump();
    EXPECT_EQ(shown, L"To MP3...");
    EXPECT_EQ(GetWindowText(label), L"child");  // the window's own text is unchanged
    EXPECT_EQ(painted, 1);
    // The parent repainted the area first, then the label over it.
    auto order = rec.Of(top, {WM_PAINT});
    EXPECT_EQ(order.size(), 1u);
    std::size_t parentAt = 0, labelAt = 0;
    for (std::size_t i = 0; i < rec.All().size(); ++i) {
        if (rec.All()[i].message != WM_PAINT)
            continue;
        (rec.All()[i].hwnd == top ? parentAt : labelAt) = i;
    }
    EXPECT_LT(parentAt, labelAt);
    DestroyWindow(top);
}

TEST_F(SkinUseTest, RowsToggleOnPostedClicksAndRedrawAtOnce)
{
    HWND list = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {0, 0, 300, 200});
    HWND row = MakeChild(list, L"Recorder", WS_VISIBLE, {0, 0, 280, 20}, 0);
    HWND info = MakeChild(row, L"Recorder", WS_VISIBLE, {200, 0, 280, 20}, 1);
    bool checked = false;
    rec.On(row, WM_LBUTTONDOWN, [&](WPARAM, LPARAM) -> LRESULT {
        checked = !checked;
        return 0;
    });
    Pump();
    PostMessage(row, WM_LBUTTONDOWN, 0, 0);
    EXPECT_FALSE(checked);  // not before the message is handled
    Pump();
    EXPECT_TRUE(checked);
    PostMessage(row, WM_LBUTTONDOWN, 0, 0);
    PostMessage(row, WM_LBUTTONDOWN, 0, 0);
    Pump();
    EXPECT_TRUE(checked);

    rec.Clear();
    RedrawWindow(row, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // Painted before RedrawWindow returned, children included.
    EXPECT_EQ(rec.Of(row, {WM_PAINT}).size(), 1u);
    EXPECT_EQ(rec.Of(info, {WM_PAINT}).size(), 1u);
    EXPECT_TRUE(rec.Of(list, {WM_PAINT}).empty());
    DestroyWindow(list);
}

TEST_F(SkinUseTest, ScrollThumbDragsUnderCaptureAndReportsOnATimer)
{
    HWND list = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {0, 0, 300, 200});
    HWND bar = MakeChild(list, L"Recorder", WS_VISIBLE, {280, 0, 300, 200}, 100);
    int pressY = 0, position = 0;
    rec.On(bar, WM_LBUTTONDOWN, [&](WPARAM, LPARAM lParam) -> LRESULT {
        SetCapture(bar);
        pressY = GET_Y_LPARAM(lParam);
        return 0;
    });
    rec.On(bar, WM_MOUSEMOVE, [&](WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (wParam & MK_LBUTTON) {
            position = GET_Y_LPARAM(lParam) - pressY;
            SetTimer(bar, 100, 10, nullptr);
        }
        return 0;
    });
    rec.On(bar, WM_TIMER, [&](WPARAM, LPARAM) -> LRESULT {
        SendMessage(list, WM_VSCROLL, MAKEWPARAM(5, static_cast<WORD>(position)), reinterpret_cast<LPARAM>(bar));
        return 0;
    });
    rec.On(bar, WM_LBUTTONUP, [&](WPARAM, LPARAM) -> LRESULT {
        ReleaseCapture();
        KillTimer(bar, 100);
        return 0;
    });
    MoveTo(bar, 10, 10);
    Press(bar, 10, 10);
    // Dragged below the window: still the bar's, with the pointer outside.
    MoveTo(list, 150, 260);
    DWORD start = GetTickCount();
    while (rec.Of(list, {WM_VSCROLL}).size() < 2 && GetTickCount() - start < 2000) {
        Sleep(5);
        Pump();
    }
    ASSERT_GE(rec.Of(list, {WM_VSCROLL}).size(), 2u);
    for (const auto& h : rec.All())
        if (h.hwnd == list && h.message == WM_VSCROLL) {
            EXPECT_EQ(LOWORD(h.wParam), 5);
            EXPECT_EQ(HIWORD(h.wParam), 250);
        }
    Release(list, 150, 260);
    EXPECT_EQ(GetCapture(), nullptr);
    rec.Clear();
    Sleep(30);
    Pump();
    EXPECT_TRUE(rec.Of(list, {WM_VSCROLL}).empty());
    DestroyWindow(list);
}

TEST_F(SkinUseTest, TopLevelShapeAndPlacementReachTheBackEnd)
{
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {10, 20, 110, 120});
    int before = backend.shapes;
    SetWindowRgn(top, CreateRectRgn(0, 0, 50, 50), 1);
    EXPECT_EQ(backend.shapes, before + 1);
    MoveWindow(top, 30, 40, 200, 100, 1);
    ASSERT_FALSE(backend.placed.empty());
    EXPECT_EQ(backend.placed.back().left, 30);
    EXPECT_EQ(backend.placed.back().right, 230);
    // The surface follows the new size.
    backend.drawn.clear();
    Pump();
    EXPECT_FALSE(backend.drawn.empty());
    EXPECT_EQ(PixelAt(top, 20, 20), 0xFFFFFFu);
    // Painting outside the shape draws nothing there.
    EXPECT_EQ(PixelAt(top, 150, 20), 0x000000u);
    DestroyWindow(top);
}
