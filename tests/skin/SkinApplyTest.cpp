// Applying a skin to a window: which controls are taken over, and the
// labels the manager makes for static texts.
#include "SkinTesting.h"
#include "WindowTesting.h"

#include "skin/SkinButton.h"
#include "skin/SkinManager.h"
#include "skin/SkinText.h"

#include "platform/controls/Controls.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"
#include "tests/support/GdiProbes.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;
using namespace skintest;

namespace {

HWND Control(HWND parent, LPCWSTR cls, LPCWSTR text, DWORD style, int id)
{
    return CreateWindowEx(0, cls, text, style, 10, 10 + id * 5, 60, 20, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

}  // namespace

TEST(SkinApplyTest, OnlyPlainVisibleEnabledControlsAreTakenOver)
{
    SkinManager manager;
    manager.SetSkinDirectory(Wide(Folder()));
    ASSERT_EQ(manager.LoadSkin(WriteTestSkin()), 1);
    EXPECT_EQ(manager.ApplySkin(nullptr, L"main"), 0);
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_CAPTION | WS_SYSMENU, {0, 0, 400, 300});
    EXPECT_EQ(manager.ApplySkin(top, L"nothing"), 0);

    HWND panel = Control(top, L"Recorder", L"panel", WS_CHILD | WS_VISIBLE, 1);
    HWND go = Control(panel, L"Button", L"Go", 0x50010001, 2);       // default push button, nested
    HWND stop = Control(top, L"Button", L"Stop", 0x58010000, 3);     // disabled
    Control(top, L"Button", L"Other", 0x50010000, 4);                // another frame's
    HWND check = Control(top, L"Button", L"Go", 0x50010003, 5);      // a check box
    HWND label = Control(top, L"Static", L"Status", 0x50020000, 6);
    HWND hiddenLabel = Control(top, L"Static", L"Hidden", 0x40020000, 7);
    ASSERT_EQ(manager.ApplySkin(top, L"main"), 1);

    auto* goElement = dynamic_cast<SkinButton*>(manager.Find(L"Go"));
    ASSERT_NE(goElement, nullptr);
    EXPECT_EQ(goElement->HookedWindow(), go);
    EXPECT_FALSE(manager.Find(L"Stop")->IsHooked());
    EXPECT_FALSE(manager.Find(L"Other")->IsHooked());
    (void)check;
    // The button's window takes the shape of its face: the blue columns go.
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(go, shape), ERROR_REGION);
    EXPECT_FALSE(testing_support::RegionHas(shape, 1, 5));
    EXPECT_TRUE(testing_support::RegionHas(shape, 2, 5));
    DeleteObject(shape);
    // Enabling the disabled button later does not skin it.
    EnableWindow(stop, 1);
    EXPECT_FALSE(manager.Find(L"Stop")->IsHooked());

    auto* text = dynamic_cast<SkinText*>(manager.Find(L"Status"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->HookedWindow(), label);
    EXPECT_EQ(text->OwnerName(), L"main");
    EXPECT_EQ(manager.Find(L"Hidden"), nullptr);
    (void)hiddenLabel;
    DestroyWindow(top);
    EXPECT_FALSE(goElement->IsHooked());
}

TEST(SkinApplyTest, ALabelSetsItsOwnTextAndKeepsTheControls)
{
    SkinManager manager;
    manager.SetSkinDirectory(Wide(Folder()));
    manager.LoadSkin(WriteTestSkin());
    HWND top = MakeTop(L"Recorder", WS_POPUP | WS_CAPTION, {0, 0, 400, 300});
    HWND go = Control(top, L"Button", L"Go", 0x50010000, 2);
    HWND label = Control(top, L"Static", L"Go", 0x50020080, 3);
    auto* button = manager.Find(L"Go");
    ASSERT_EQ(manager.ApplySkin(top, L"main"), 1);
    // The label took the name over; the button keeps its element.
    EXPECT_NE(manager.Find(L"Go"), button);
    EXPECT_EQ(button->HookedWindow(), go);

    SetWindowText(label, L"....");
    EXPECT_EQ(GetWindowText(label), L"Go");
    auto* text = dynamic_cast<SkinText*>(manager.Find(L"Go"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text(), L"....");
    DestroyWindow(top);
}
