// The standard controls, driven as a person and a program drive them.
#include "WindowTesting.h"

#include "platform/backend/Backend.h"
#include "platform/controls/Controls.h"
#include "platform/dialogs/Dialog.h"
#include "platform/window/Focus.h"

#include <gtest/gtest.h>

using namespace win;
using namespace testing_windows;

namespace {

struct Notice {
    int id;
    WORD code;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Recorder::Instance().Clear();
        parent = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {100, 100, 500, 400});
        Recorder::Instance().On(parent, WM_COMMAND, [this](WPARAM wParam, LPARAM) -> LRESULT {
            notices.push_back({LOWORD(wParam), HIWORD(wParam)});
            return 0;
        });
        Recorder::Instance().On(parent, WM_NOTIFY, [this](WPARAM, LPARAM lParam) -> LRESULT {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            notices.push_back({static_cast<int>(header->idFrom), static_cast<WORD>(header->code)});
            return refuseTabChange && header->code == TCN_SELCHANGING;
        });
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND Make(LPCWSTR cls, LPCWSTR text, DWORD style, RECT r, int id)
    {
        return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                              nullptr, nullptr);
    }
    int Count(int id, WORD code) const
    {
        return static_cast<int>(std::count_if(notices.begin(), notices.end(),
                                              [&](const Notice& n) { return n.id == id && n.code == code; }));
    }

    HWND parent = nullptr;
    std::vector<Notice> notices;
    bool refuseTabChange = false;
};

}  // namespace

TEST_F(ControlsTest, CheckBoxesToggleAndNotify)
{
    HWND check = Make(WC_BUTTON, L"Check", BS_AUTOCHECKBOX, {10, 10, 110, 30}, 1);
    Click(check, 5, 5);
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    Click(check, 5, 5);
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Count(1, BN_CLICKED), 2);

    // A press that leaves the button before the release is no click.
    notices.clear();
    MoveTo(check, 5, 5);
    Press(check, 5, 5);
    MoveTo(parent, 300, 250);
    Release(parent, 300, 250);
    EXPECT_EQ(Count(1, BN_CLICKED), 0);
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // The space bar clicks the focused button; a disabled one takes nothing.
    SetFocus(check);
    Key(VK_SPACE);
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EnableWindow(check, 0);
    Click(check, 5, 5);
    EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ControlsTest, GroupBoxLetsClicksThroughToWhatItHolds)
{
    HWND group = Make(WC_BUTTON, L"Group", BS_GROUPBOX, {5, 5, 200, 150}, 9);
    HWND inside = Make(WC_BUTTON, L"Inside", BS_AUTOCHECKBOX, {20, 30, 150, 50}, 10);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), group);  // on top in z-order
    Click(inside, 5, 5);
    EXPECT_EQ(SendMessage(inside, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ControlsTest, EditBoxTakesTypingAndEditingKeys)
{
    HWND edit = Make(WC_EDIT, L"", WS_BORDER | ES_AUTOHSCROLL, {10, 10, 210, 32}, 5);
    Click(edit, 5, 5);
    EXPECT_EQ(GetFocus(), edit);
    Type(L"C:/Musik");
    EXPECT_EQ(GetWindowText(edit), L"C:/Musik");
    Key(VK_LEFT);
    InjectKey(nullptr, true, VK_BACK, 8, 0);
    Pump();
    EXPECT_EQ(GetWindowText(edit), L"C:/Musk");
    Key(VK_END);
    Key(VK_HOME, MOD_SHIFT_KEY);  // shift extends the selection
    DWORD start = 0, end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 7u);
    Type(L"D:/Music");  // replaces the selection
    EXPECT_EQ(GetWindowText(edit), L"D:/Music");
    EXPECT_GT(Count(5, EN_CHANGE), 5);
}

TEST_F(ControlsTest, ComboBoxListSelectionAndTypedText)
{
    HWND combo = Make(WC_COMBOBOX, L"", CBS_DROPDOWN | WS_VSCROLL, {10, 10, 110, 200}, 6);
    RECT r;
    GetWindowRect(combo, &r);
    EXPECT_LT(r.bottom - r.top, 40);  // the closed field, not the template's list height
    for (LPCWSTR s : {L"32", L"64", L"128", L"320"})
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"12")), 2);
    EXPECT_EQ(GetWindowText(combo), L"128");
    EXPECT_EQ(SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"999")), CB_ERR);
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);  // unchanged
    EXPECT_EQ(SendMessage(combo, CB_SETCURSEL, 3, 0), 3);
    EXPECT_EQ(GetWindowText(combo), L"320");
    EXPECT_EQ(Count(6, CBN_SELCHANGE), 0);  // the program's changes are not reported

    // The person types into its field.
    Click(combo, 10, 8);
    SendMessage(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, static_cast<WORD>(-1)));
    Type(L"999");
    EXPECT_EQ(GetWindowText(combo), L"999");
    EXPECT_GE(Count(6, CBN_EDITCHANGE), 3);

    // ... and picks from the list: it drops down under the field.
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    EXPECT_TRUE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
    HWND list = GetCapture();
    ASSERT_TRUE(list);
    RECT listRect;
    GetWindowRect(list, &listRect);
    EXPECT_EQ(listRect.top, r.bottom);
    int itemHeight = (listRect.bottom - listRect.top - 2) / 4;
    Click(list, 5, itemHeight + itemHeight / 2);  // the second entry
    EXPECT_FALSE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetWindowText(combo), L"64");
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Count(6, CBN_SELCHANGE), 1);
    EXPECT_EQ(Count(6, CBN_CLOSEUP), 1);

    // Down arrow in the field selects the next entry; a click elsewhere
    // closes an open list without a choice.
    Key(VK_DOWN);
    EXPECT_EQ(GetWindowText(combo), L"128");
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    Click(parent, 350, 250);
    EXPECT_FALSE(SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetWindowText(combo), L"128");

    SendMessage(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(GetWindowText(combo), L"");
    EnableWindow(combo, 0);
    EXPECT_FALSE(IsWindowEnabled(GetWindow(combo, GW_CHILD)));
}

TEST_F(ControlsTest, ProgressBarKeepsItsPositionInRange)
{
    HWND bar = Make(PROGRESS_CLASS, L"", 0, {10, 10, 210, 25}, 7);
    SendMessage(bar, PBM_SETRANGE32, 1000, 5000);
    EXPECT_EQ(SendMessage(bar, PBM_SETPOS, 3000, 0), 1000);  // the old position, clamped to the range
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 3000);
    SendMessage(bar, PBM_SETPOS, 9000, 0);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 5000);
    // A range given backwards (a row whose end is not after its start) is
    // kept and draws without trouble.
    SendMessage(bar, PBM_SETRANGE32, 800, 200);
    SendMessage(bar, PBM_SETPOS, 500, 0);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 500);
    SendMessage(bar, PBM_SETRANGE32, 0, 0);
    Pump();
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(ControlsTest, TabControlSelectsAndAsksItsParent)
{
    HWND tab = Make(WC_TABCONTROL, L"", 0, {10, 10, 300, 200}, 8);
    TCITEM item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(L"Audio Setup");
    EXPECT_EQ(SendMessage(tab, TCM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    item.pszText = const_cast<LPWSTR>(L"Burn CD Setup");
    EXPECT_EQ(SendMessage(tab, TCM_INSERTITEM, 1, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 0);
    RECT second;
    SendMessage(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    Click(tab, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Count(8, static_cast<WORD>(TCN_SELCHANGING)), 1);
    EXPECT_EQ(Count(8, static_cast<WORD>(TCN_SELCHANGE)), 1);
    // The program's selection says nothing; a refusal keeps the tab.
    EXPECT_EQ(SendMessage(tab, TCM_SETCURSEL, 0, 0), 1);
    EXPECT_EQ(Count(8, static_cast<WORD>(TCN_SELCHANGE)), 1);
    refuseTabChange = true;
    Click(tab, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 0);

    RECT display{0, 0, 290, 190};
    SendMessage(tab, TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&display));
    EXPECT_GT(display.top, second.bottom - 1);  // below the tabs
    EXPECT_GT(display.left, 0);
    SendMessage(tab, TCM_ADJUSTRECT, 1, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(display.top, 0);
    EXPECT_EQ(display.right, 290);
}

TEST_F(ControlsTest, EditBoxSelectsWithThePointerAndCutsAndPastes)
{
    HWND edit = Make(WC_EDIT, L"Output Directory", WS_BORDER, {10, 10, 310, 32}, 5);
    HWND other = Make(WC_EDIT, L"", WS_BORDER, {10, 40, 310, 62}, 6);
    // A drag from the far left to the far right selects everything.
    MoveTo(edit, 1, 5);
    Press(edit, 1, 5);
    MoveTo(edit, 290, 5);
    Release(edit, 290, 5);
    DWORD start = 0, end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 16u);
    EXPECT_EQ(GetCapture(), nullptr);
    InjectKey(nullptr, true, 'X', 0x18, MOD_CONTROL_KEY);  // cut
    Pump();
    EXPECT_EQ(GetWindowText(edit), L"");
    SetFocus(other);
    Type(L"123");
    SetFocus(edit);
    InjectKey(nullptr, true, 'V', 0x16, MOD_CONTROL_KEY);
    Pump();
    EXPECT_EQ(GetWindowText(edit), L"Output Directory");
    // A double click selects the whole text.
    Click(edit, 20, 5);
    Press(edit, 20, 5);
    Release(edit, 20, 5);
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end - start, 16u);
}

TEST_F(ControlsTest, StaticTextIsTransparentToThePointer)
{
    HWND text = Make(WC_STATIC, L"Output Directory:", SS_LEFT, {10, 10, 210, 30}, 7);
    Recorder::Instance().Clear();
    Click(text, 5, 5);
    EXPECT_FALSE(Recorder::Instance().Of(parent, {WM_LBUTTONDOWN}).empty());
    EXPECT_EQ(SendMessage(text, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

// A narrow combo box with long entries: its field shows the start of the
// text (the part that tells one entry from another), and its list is wide
// enough for the longest entry.
TEST_F(ControlsTest, NarrowComboBoxShowsTheStartOfItsTextAndAWideEnoughList)
{
    auto fieldPixels = [&](HWND combo) {
        PumpPendingMessages();
        RECT r;
        GetWindowRect(combo, &r);
        std::vector<DWORD> pixels;
        for (int x = 4; x < 40; ++x)
            for (int y = 2; y < r.bottom - r.top - 2; ++y)
                pixels.push_back(PixelAt(parent, r.left - 100 + x, r.top - 100 + y));
        return pixels;
    };
    HWND shortOne = Make(WC_COMBOBOX, L"", CBS_DROPDOWN | WS_VSCROLL, {10, 10, 70, 200}, 7);
    HWND longOne = Make(WC_COMBOBOX, L"", CBS_DROPDOWN | WS_VSCROLL, {10, 60, 70, 250}, 8);
    SendMessage(shortOne, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"0 High"));
    for (LPCWSTR s : {L"0 Highest Quality", L"1", L"9 Lowest Quality"})
        SendMessage(longOne, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessage(shortOne, CB_SETCURSEL, 0, 0);
    SendMessage(longOne, CB_SETCURSEL, 0, 0);
    // Same start, same pixels: "0 High" shows where "0 Highest Quality" starts.
    auto start = fieldPixels(shortOne);
    EXPECT_EQ(fieldPixels(longOne), start);

    // With the focus and the caret at its end, the field scrolls to it.
    SetFocus(GetWindow(longOne, GW_CHILD));
    SendMessage(longOne, CB_SETEDITSEL, 0, MAKELPARAM(17, 17));
    EXPECT_NE(fieldPixels(longOne), start);
    // Without it again, the start.
    SetFocus(parent);
    EXPECT_EQ(fieldPixels(longOne), start);

    SendMessage(longOne, CB_SHOWDROPDOWN, 1, 0);
    HWND list = GetCapture();
    ASSERT_TRUE(list);
    RECT listRect;
    GetWindowRect(list, &listRect);
    EXPECT_GT(listRect.right - listRect.left, 100);  // the field is 60 wide
    SendMessage(longOne, CB_SHOWDROPDOWN, 0, 0);
    SendMessage(shortOne, CB_SHOWDROPDOWN, 1, 0);
    GetWindowRect(GetCapture(), &listRect);
    EXPECT_EQ(listRect.right - listRect.left, 60);  // never narrower than the field
    SendMessage(shortOne, CB_SHOWDROPDOWN, 0, 0);
}
