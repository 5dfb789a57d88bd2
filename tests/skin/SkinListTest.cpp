// The multimedia list through the manager's list operations, its rows, and
// its scroll bar.
#include "SkinTesting.h"
#include "WindowTesting.h"

#include "skin/SkinManager.h"
#include "skin/SkinMultimediaList.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/dialogs/Dialog.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/controls/ScrollInfo.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;
using namespace skintest;

namespace {

constexpr int kRow = 20;   // row height of the test skin
constexpr int kPage = 200;

class SkinListTest : public ::testing::Test {
protected:
    void SetUp() override { Make(WriteTestSkin()); }
    void Make(const std::wstring& skin)
    {
        manager = std::make_unique<SkinManager>();
        manager->SetSkinDirectory(Wide(Folder()));
        ASSERT_EQ(manager->LoadSkin(skin), 1);
        top = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {50, 50, 450, 350});
        control = CreateWindowEx(0, L"MiniWnd", L"MMList", 0x50010000, 0, 0, 10, 10, top,
                                 reinterpret_cast<HMENU>(1006), nullptr, nullptr);
        ASSERT_EQ(manager->ApplySkin(top, L"main"), 1);
        list = dynamic_cast<SkinMultimediaList*>(manager->Find(L"mmlist"));
        ASSERT_NE(list, nullptr);
        SendMessage(control, WM_GETDLGCODE, 0, 0);
        Pump();
    }
    void TearDown() override
    {
        if (IsWindow(top))
            DestroyWindow(top);
    }
    void Add(int count)
    {
        for (int i = 0; i < count; ++i)
            manager->ListAddItem(L"mmlist", L"row " + std::to_wstring(i), static_cast<UINT>(i));
    }
    int TopOf(UINT key)
    {
        RECT r;
        GetWindowRect(list->RowWindow(key), &r);
        POINT pt{r.left, r.top};
        ScreenToClient(control, &pt);
        return pt.y;
    }
    std::unique_ptr<SkinManager> manager;
    HWND top = nullptr, control = nullptr;
    SkinMultimediaList* list = nullptr;
};

}  // namespace

TEST_F(SkinListTest, TheControlTakesTheSkinsPlaceAndRowsStackUnderEachOther)
{
    RECT r;
    GetWindowRect(control, &r);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, kPage);
    Add(3);
    EXPECT_EQ(TopOf(0), 0);
    EXPECT_EQ(TopOf(2), 2 * kRow);
    GetWindowRect(list->RowWindow(1), &r);
    EXPECT_EQ(r.right - r.left, 300 - 12);  // beside the scroll bar
    EXPECT_EQ(manager->ListAddItem(L"nolist", L"x", 9), 0);
    EXPECT_EQ(manager->ListFindFirstChecked(L"nolist"), -1);
}

TEST_F(SkinListTest, PostedClicksToggleRowsAfterTheCallReturns)
{
    Add(3);
    EXPECT_EQ(manager->ListSetItemState(L"mmlist", 3, 1), 1);
    EXPECT_EQ(manager->ListFindFirstChecked(L"mmlist"), -1);
    Pump();
    EXPECT_EQ(manager->ListFindFirstChecked(L"mmlist"), 1);
    manager->ListSetItemState(L"mmlist", 3, 1);
    manager->ListSetItemState(L"mmlist", 3, 1);
    Pump();
    EXPECT_EQ(manager->ListFindFirstChecked(L"mmlist"), 1);
    EXPECT_EQ(manager->ListSetItemState(L"mmlist", 2, 1), 1);  // no effect
    EXPECT_EQ(manager->ListSetItemState(L"mmlist", 3, 99), 0);
    Pump();
    EXPECT_EQ(manager->ListFindFirstChecked(L"mmlist"), 1);

    // A click on the row's text toggles it too, and shows the down face.
    Click(list->RowWindow(2), 30, 5);
    EXPECT_EQ(manager->ListFindNextChecked(L"mmlist", 1), 2);
    EXPECT_EQ(PixelAt(top, 10 + 250, 10 + 2 * kRow + 10), 0x607080u);
    Click(list->RowWindow(2), 250, 5);
    EXPECT_EQ(manager->ListFindNextChecked(L"mmlist", 1), -1);
}

TEST_F(SkinListTest, FindingCheckedRowsInKeyOrderAndAfterRemoval)
{
    Add(3);
    for (UINT k = 0; k < 3; ++k)
        manager->ListSetItemState(L"mmlist", 3, k);
    Pump();
    EXPECT_EQ(manager->ListRemoveItem(L"mmlist", 1), 1);
    EXPECT_EQ(manager->ListRemoveItem(L"mmlist", 1), 0);
    EXPECT_EQ(manager->ListFindFirstChecked(L"mmlist"), 0);
    EXPECT_EQ(manager->ListFindNextChecked(L"mmlist", 0), 2);
    EXPECT_EQ(manager->ListFindNextChecked(L"mmlist", 2), -1);
    Pump();
    EXPECT_EQ(TopOf(2), kRow);  // the rows close up, once for many removals

    manager->ListAddItem(L"mmlist", L"five", 5);
    manager->ListAddItem(L"mmlist", L"three hundred", 300);
    manager->ListSetItemState(L"mmlist", 3, 300);
    manager->ListSetItemState(L"mmlist", 3, 5);
    manager->ListSetItemState(L"mmlist", 3, 0);
    manager->ListSetItemState(L"mmlist", 3, 2);
    Pump();
    EXPECT_EQ(manager->ListFindFirstChecked(L"mmlist"), 5);
    EXPECT_EQ(manager->ListFindNextChecked(L"mmlist", 5), 300);
}

TEST_F(SkinListTest, AReusedKeyLeavesTheOldRowShownButOutOfReach)
{
    Add(1);
    HWND old = list->RowWindow(0);
    manager->ListAddItem(L"mmlist", L"again", 0);
    EXPECT_NE(list->RowWindow(0), old);
    EXPECT_TRUE(IsWindow(old));
    EXPECT_TRUE(IsWindowVisible(old));
    EXPECT_EQ(manager->ListSetItemInfo(L"mmlist", L"00:01:02", 0), 1);
    EXPECT_EQ(manager->ListRemoveItem(L"mmlist", 0), 1);
    EXPECT_TRUE(IsWindow(old));
    EXPECT_EQ(manager->ListRemoveItem(L"mmlist", 0), 0);
    EXPECT_EQ(manager->ListSetItemInfo(L"mmlist", L"x", 0), 0);
}

TEST_F(SkinListTest, DraggingTheThumbToTheBottomShowsTheLastPageFlush)
{
    Add(30);
    HWND bar = list->ScrollBarWindow();
    ASSERT_NE(bar, nullptr);
    RECT r;
    GetClientRect(bar, &r);
    EXPECT_EQ(r.bottom, kPage - 4);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    // 30 rows of 20 over a page of 200: the thumb is a third of the track.
    MoveTo(bar, 6, 5);
    Press(bar, 6, 5);
    MoveTo(bar, 6, 5 + 40);
    MoveTo(bar, 6, 5 + 1000);
    Release(bar, 6, 5 + 1000);
    Pump();
    EXPECT_EQ(list->ScrollPosition(), 30 * kRow - kPage);
    EXPECT_EQ(TopOf(29) + kRow, kPage);
    // Back to the top.
    RECT thumb;
    GetClientRect(bar, &thumb);
    MoveTo(bar, 6, thumb.bottom - 3);
    Press(bar, 6, thumb.bottom - 3);
    MoveTo(bar, 6, -500);
    Release(bar, 6, -500);
    EXPECT_EQ(list->ScrollPosition(), 0);
    EXPECT_EQ(TopOf(0), 0);
}

TEST_F(SkinListTest, TheWheelScrollsThreeRowsANotchAndTheThumbFollows)
{
    Add(30);
    HWND row = list->RowWindow(1);
    InjectPointer(nullptr, PointerEvent::Wheel, -WHEEL_DELTA, ScreenOf(row, 30, 5), 0);
    Pump();
    EXPECT_EQ(list->ScrollPosition(), 3 * kRow);
    EXPECT_EQ(TopOf(3), 0);
    InjectPointer(nullptr, PointerEvent::Wheel, -20 * WHEEL_DELTA, ScreenOf(control, 30, 5), 0);
    Pump();
    EXPECT_EQ(list->ScrollPosition(), 30 * kRow - kPage);
    // Removing rows keeps the view on rows, never past the last one.
    for (UINT k = 0; k < 20; ++k)
        manager->ListRemoveItem(L"mmlist", k);
    EXPECT_EQ(list->ScrollPosition(), 0);
    EXPECT_EQ(TopOf(20), 0);
}

TEST(SkinListWithoutImage, KeepsItsPlaceButLaysNoRowsOut)
{
    std::string ini = Folder() + "noimage.ini";
    WriteText(ini,
              "[frame]\nname=main\n"
              "[list]\ntype=mmlist\nname=mmlist\nimage=missing.png\nattribute=main\nframesize=5,5,100,80\n");
    SkinManager manager;
    manager.SetSkinDirectory(Wide(Folder()));
    ASSERT_EQ(manager.LoadSkin(Wide(ini)), 1);
    HWND top = MakeTop(L"Recorder", WS_POPUP, {0, 0, 200, 200});
    HWND control = CreateWindowEx(0, L"MiniWnd", L"MMList", 0x50010000, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
    ASSERT_EQ(manager.ApplySkin(top, L"main"), 1);
    SendMessage(control, WM_GETDLGCODE, 0, 0);
    RECT r;
    GetWindowRect(control, &r);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(manager.ListAddItem(L"mmlist", L"x", 1), 1);
    manager.ListSetItemState(L"mmlist", 3, 1);
    Pump();
    EXPECT_EQ(manager.ListFindFirstChecked(L"mmlist"), 1);
    DestroyWindow(top);
}

TEST_F(SkinListTest, AFailedRowSaysWhyBesideThePointerAndOnlyThere)
{
    Add(3);
    Headless().Reset();
    EXPECT_EQ(manager->ListSetItemReason(L"mmlist", L"the disk is full", 1), 1);
    EXPECT_EQ(manager->ListSetItemReason(L"mmlist", L"x", 99), 0);
    EXPECT_EQ(Headless().Tip(), L"");  // the pointer is elsewhere

    MoveTo(list->RowWindow(1), 250, 5);
    Pump();
    EXPECT_EQ(Headless().Tip(), L"the disk is full");
    // Over the row's name, still the row.
    MoveTo(list->RowWindow(1), 30, 5);
    Pump();
    EXPECT_EQ(Headless().Tip(), L"the disk is full");
    // A row that did not fail has nothing to say.
    MoveTo(list->RowWindow(2), 250, 5);
    Pump();
    EXPECT_EQ(Headless().Tip(), L"");
    MoveTo(list->RowWindow(1), 250, 5);
    Pump();
    EXPECT_EQ(Headless().Tip(), L"the disk is full");
    // Converted again, successfully: the reason goes at once.
    manager->ListSetItemReason(L"mmlist", L"", 1);
    EXPECT_EQ(Headless().Tip(), L"");
    manager->ListSetItemReason(L"mmlist", L"the disk is full", 1);
    // Away from the list.
    MoveTo(top, 5, 290);
    Pump();
    EXPECT_EQ(Headless().Tip(), L"");
}

TEST_F(SkinListTest, TheKeyboardMovesAVisibleCursorRowAndSpaceTicksIt)
{
    Add(30);
    auto rowPixel = [&](UINT key) {
        RECT r;
        GetWindowRect(list->RowWindow(key), &r);
        return PixelAt(top, r.left - 50 + 2, r.top - 50 + kRow / 2);
    };
    DWORD plain = rowPixel(1);
    EXPECT_EQ(rowPixel(0), plain);  // no marks without the focus
    SetFocus(control);
    Pump();
    EXPECT_NE(rowPixel(0), plain);  // the list's ring down the rows' sides
    EXPECT_EQ(list->CursorKey(), 0);

    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(list->CursorKey(), 2);
    Key(VK_UP);
    EXPECT_EQ(list->CursorKey(), 1);
    Key(VK_UP);
    Key(VK_UP);  // stays on the first
    EXPECT_EQ(list->CursorKey(), 0);

    // A page is ten rows: Page Down moves nine and keeps the cursor in view.
    Key(VK_NEXT);
    EXPECT_EQ(list->CursorKey(), 9);
    EXPECT_EQ(list->ScrollPosition(), 0);
    Key(VK_NEXT);
    EXPECT_EQ(list->CursorKey(), 18);
    EXPECT_EQ(TopOf(18) + kRow, kPage);
    Key(VK_END);
    EXPECT_EQ(list->CursorKey(), 29);
    EXPECT_EQ(list->ScrollPosition(), 30 * kRow - kPage);
    Key(VK_HOME);
    EXPECT_EQ(list->CursorKey(), 0);
    EXPECT_EQ(list->ScrollPosition(), 0);
    Key(VK_PRIOR);
    EXPECT_EQ(list->CursorKey(), 0);

    // Space ticks the cursor row, and again unticks it.
    Key(VK_DOWN);
    Key(VK_SPACE);
    EXPECT_EQ(manager->ListFindFirstChecked(L"mmlist"), 1);
    Key(VK_SPACE);
    EXPECT_EQ(manager->ListFindFirstChecked(L"mmlist"), -1);

    // The cursor row is ringed; the others are not.
    RECT r;
    GetWindowRect(list->RowWindow(1), &r);
    DWORD ringed = PixelAt(top, r.left - 50 + 30, r.top - 50 + 2);
    GetWindowRect(list->RowWindow(2), &r);
    EXPECT_NE(ringed, PixelAt(top, r.left - 50 + 30, r.top - 50 + 2));

    // Its row removed, the cursor goes to the next one.
    manager->ListRemoveItem(L"mmlist", 1);
    EXPECT_EQ(list->CursorKey(), 2);
    SetFocus(top);
    Pump();
    EXPECT_EQ(rowPixel(3), plain);
}

TEST_F(SkinListTest, ANameCutByItsColumnShowsWholeInTheTip)
{
    std::wstring longName = L"Symphony No. 9 in D minor, Op. 125 (Choral): IV. Presto - Allegro assai";
    manager->ListAddItem(L"mmlist", L"Short", 0);
    manager->ListAddItem(L"mmlist", longName, 1);
    Headless().Reset();
    MoveTo(list->RowWindow(0), 30, 5);
    EXPECT_EQ(Headless().Tip(), L"");
    MoveTo(list->RowWindow(1), 30, 5);
    EXPECT_EQ(Headless().Tip(), longName);
    manager->ListSetItemReason(L"mmlist", L"the disk is full", 1);
    EXPECT_EQ(Headless().Tip(), longName + L"\nthe disk is full");
    manager->ListSetItemReason(L"mmlist", L"the disk is full", 0);
    MoveTo(list->RowWindow(0), 30, 5);
    EXPECT_EQ(Headless().Tip(), L"the disk is full");
}
