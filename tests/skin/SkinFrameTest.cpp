// The skinned frame: size, client area, shape, hit-testing, the caption
// buttons and the window states.
#include "SkinTesting.h"
#include "WindowTesting.h"

#include "skin/SkinFrame.h"
#include "skin/SkinManager.h"

#include "platform/graphics/Gdi.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/dialogs/Menu.h"
#include "platform/graphics/Region.h"
#include "platform/window/SystemMetrics.h"
#include "tests/support/GdiProbes.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;
using namespace skintest;

namespace {

class SkinFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless().Reset();
        manager.SetSkinDirectory(Wide(Folder()));
        ASSERT_EQ(manager.LoadSkin(WriteTestSkin()), 1);
        top = MakeTop(L"Recorder", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, {100, 100, 350, 250});
        ASSERT_EQ(manager.ApplySkin(top, L"main"), 1);
        frame = dynamic_cast<SkinFrame*>(manager.Find(L"main"));
        ShowWindow(top, SW_SHOW);
        Pump();
    }
    void TearDown() override
    {
        if (IsWindow(top))
            DestroyWindow(top);
    }
    POINT At(int x, int y) const
    {
        RECT r;
        GetWindowRect(top, &r);
        return {r.left + x, r.top + y};
    }
    void Pointer(PointerEvent event, int x, int y, int button = 1)
    {
        InjectPointer(nullptr, event, button, At(x, y), 0);
        Pump();
    }
    SkinManager manager;
    HWND top = nullptr;
    SkinFrame* frame = nullptr;
};

}  // namespace

TEST_F(SkinFrameTest, TheWindowTakesTheSkinsSizeShapeAndClientArea)
{
    RECT r, client;
    GetWindowRect(top, &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    GetClientRect(top, &client);
    EXPECT_EQ(client.bottom, 300 - kCaption);
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    EXPECT_EQ(origin.y - r.top, kCaption);
    // The caption buttons are gone from the style; the frame draws its own.
    EXPECT_EQ(GetWindowLong(top, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX), 0);

    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(top, shape), ERROR_REGION);
    EXPECT_FALSE(testing_support::RegionHas(shape, 0, 0));  // pure blue in the corner piece
    EXPECT_FALSE(testing_support::RegionHas(shape, 9, 7));
    EXPECT_TRUE(testing_support::RegionHas(shape, 0, 8));   // blue 238 stays
    EXPECT_TRUE(testing_support::RegionHas(shape, 200, 150));
    DeleteObject(shape);

    // The caption band and the backdrop are drawn from their pieces.
    EXPECT_EQ(PixelAt(top, 15, 20), Coordinates(15, 50) & 0xFFFFFF);  // Top tiled from x = 10
    EXPECT_EQ(PixelAt(top, 5, kCaption + 0), Coordinates(50, 60) & 0xFFFFFF);
    EXPECT_EQ(PixelAt(top, 20, 40), Coordinates(60, 200) & 0xFFFFFF);  // the extra piece
    EXPECT_EQ(PixelAt(top, 39, 40), Coordinates(69, 200) & 0xFFFFFF);  // repeated across 25
    EXPECT_EQ(PixelAt(top, 372, 6), Coordinates(2, 132) & 0xFFFFFF);    // close, normal
}

TEST_F(SkinFrameTest, HitTestFollowsTheAnchorsAndSkipsTheTopRows)
{
    EXPECT_EQ(frame->CaptionButtonRect(SkinFrame::CloseButton).left, 370);
    EXPECT_EQ(frame->HitTest(At(370, 4)), HTCLOSE);
    EXPECT_EQ(frame->HitTest(At(394, 23)), HTCLOSE);
    EXPECT_EQ(frame->HitTest(At(395, 10)), HTCAPTION);
    EXPECT_EQ(frame->HitTest(At(310, 10)), HTMINBUTTON);
    // No maximise box: its anchor is plain caption.
    EXPECT_EQ(frame->HitTest(At(340, 10)), HTCAPTION);
    EXPECT_EQ(frame->HitTest(At(2, 8)), HTSYSMENU);
    EXPECT_EQ(frame->HitTest(At(200, 3)), HTCLIENT);
    EXPECT_EQ(frame->HitTest(At(200, 5)), HTCAPTION);
    EXPECT_EQ(frame->HitTest(At(200, kCaption)), HTCLIENT);
}

TEST_F(SkinFrameTest, CloseActsOnReleaseOverItThroughTheWindowsCloseHandling)
{
    auto& rec = Recorder::Instance();
    Pointer(PointerEvent::Move, 375, 10);
    EXPECT_EQ(PixelAt(top, 372, 6), Coordinates(27, 132) & 0xFFFFFF);  // hover face
    Pointer(PointerEvent::Down, 375, 10);
    EXPECT_EQ(PixelAt(top, 372, 6), Coordinates(52, 132) & 0xFFFFFF);  // down face
    Pointer(PointerEvent::Up, 200, 10);  // released elsewhere on the caption
    EXPECT_TRUE(IsWindow(top));

    rec.Clear();
    Pointer(PointerEvent::Move, 200, 10);
    Pointer(PointerEvent::Down, 200, 10);
    Pointer(PointerEvent::Up, 375, 10);
    auto heard = rec.Of(top, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY});
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard[0], WM_SYSCOMMAND);
    EXPECT_EQ(heard[1], WM_CLOSE);
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(SkinFrameTest, MaximiseRestoreAndMinimise)
{
    RECT before, now, work;
    GetWindowRect(top, &before);
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    SendMessage(top, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(frame->WindowState(), SkinFrame::Maximised);
    GetWindowRect(top, &now);
    EXPECT_EQ(now.left, work.left);
    EXPECT_EQ(now.right, work.right);
    SendMessage(top, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(frame->WindowState(), SkinFrame::Normal);
    GetWindowRect(top, &now);
    EXPECT_EQ(now.left, before.left);
    EXPECT_EQ(now.bottom, before.bottom);

    Pointer(PointerEvent::Move, 310, 10);
    Pointer(PointerEvent::Down, 310, 10);
    Pointer(PointerEvent::Up, 310, 10);
    EXPECT_EQ(frame->WindowState(), SkinFrame::Minimised);
    EXPECT_TRUE(IsIconic(top));
    // Restore brings it back to where it was.
    SendMessage(top, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(top));
    EXPECT_EQ(frame->WindowState(), SkinFrame::Normal);

    // Without a sizing border a caption double-click does nothing.
    Pointer(PointerEvent::Down, 200, 10);
    Pointer(PointerEvent::Up, 200, 10);
    Pointer(PointerEvent::Down, 200, 10);
    Pointer(PointerEvent::Up, 200, 10);
    EXPECT_EQ(frame->WindowState(), SkinFrame::Normal);
}

TEST_F(SkinFrameTest, SystemMenuCommandsAndDialogCommands)
{
    // A right click on the caption shows the system menu; the choice comes
    // back as a command.
    Headless().PushMenuChoice(static_cast<UINT>(SC_CLOSE));
    Pointer(PointerEvent::Down, 200, 10, 2);
    ASSERT_EQ(Headless().Menus().size(), 1u);
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(SkinFrameTest, CommandsThatAreNotTheSystemMenusReachTheWindow)
{
    auto& rec = Recorder::Instance();
    rec.Clear();
    SendMessage(top, WM_COMMAND, 2, 0);  // Escape in a dialog: IDCANCEL without a control
    auto heard = rec.Of(top, {WM_COMMAND, WM_SYSCOMMAND});
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], WM_COMMAND);
    // The first item of the system menu is not handled by the frame.
    HMENU menu = GetSystemMenu(top, 0);
    UINT first = GetMenuItemID(menu, 0);
    rec.Clear();
    SendMessage(top, WM_COMMAND, first, 0);
    EXPECT_EQ(rec.Of(top, {WM_SYSCOMMAND}).size(), 0u);
}

TEST(SkinFrameWithoutImage, StillTakesTheWindowOverWithoutACaption)
{
    std::string ini = Folder() + "frame-noimage.ini";
    WriteText(ini, "[frame]\nname=main\nimage=missing.png\nframesize=0,0,300,200\nTop=0,0,10,30\n");
    SkinManager manager;
    manager.SetSkinDirectory(Wide(Folder()));
    ASSERT_EQ(manager.LoadSkin(Wide(ini)), 1);
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_CAPTION | WS_SYSMENU, {10, 10, 110, 110});
    ASSERT_EQ(manager.ApplySkin(top, L"main"), 1);
    ShowWindow(top, SW_SHOW);
    Pump();
    RECT r, client;
    GetWindowRect(top, &r);
    GetClientRect(top, &client);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(GetWindowLong(top, GWL_STYLE) & WS_SYSMENU, 0);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(top, shape), ERROR_REGION);
    DeleteObject(shape);
    DestroyWindow(top);
}
