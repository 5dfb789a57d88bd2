// The entries of combo boxes and tab controls: texts come back whole or cut
// to the caller's buffer, and inserting or removing entries keeps the
// current one current.
#include "WindowTesting.h"

#include "platform/controls/Controls.h"

#include <gtest/gtest.h>

#include <string>

using namespace win;
using namespace testing_windows;

namespace {

std::wstring TabText(HWND tab, WPARAM index, int capacity)
{
    wchar_t text[32] = L"untouched";
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = capacity;
    return SendMessage(tab, TCM_GETITEM, index, reinterpret_cast<LPARAM>(&item)) ? text : L"(none)";
}

}  // namespace

TEST(ControlItems, ComboBoxAndTabKeepTheirCurrentEntryAndCopyTexts)
{
    Recorder::Instance().Clear();
    HWND parent = MakeTop(L"Recorder", WS_POPUP | WS_VISIBLE, {100, 100, 500, 400});

    HWND combo = MakeChild(parent, WC_COMBOBOX, CBS_DROPDOWNLIST, {10, 10, 200, 150}, 7);
    for (LPCWSTR text : {L"128 kbps", L"192 kbps", L"320 kbps"})
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    SendMessage(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"64 kbps"));
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 1);
    wchar_t text[32] = {};
    EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 8);
    EXPECT_EQ(std::wstring(text), L"192 kbps");
    EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(text)), CB_ERR);
    EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 1, 0), 2);
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), CB_ERR);  // the current one went
    EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 2, 0), CB_ERR);

    HWND tab = MakeChild(parent, WC_TABCONTROL, 0, {10, 10, 200, 150}, 8);
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    for (LPCWSTR title : {L"Audio Setup", L"Burn CD Setup"}) {
        item.pszText = const_cast<LPWSTR>(title);
        item.lParam = 40 + static_cast<LPARAM>(SendMessage(tab, TCM_GETITEMCOUNT, 0, 0));
        SendMessage(tab, TCM_INSERTITEM, 9, reinterpret_cast<LPARAM>(&item));
    }
    SendMessage(tab, TCM_SETCURSEL, 1, 0);
    item.pszText = const_cast<LPWSTR>(L"Tags");
    EXPECT_EQ(SendMessage(tab, TCM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(TabText(tab, 2, 32), L"Burn CD Setup");
    EXPECT_EQ(TabText(tab, 2, 5), L"Burn");  // cut to the buffer, with its NUL
    EXPECT_EQ(TabText(tab, 3, 32), L"(none)");
    TCITEM param{};
    param.mask = TCIF_PARAM;
    SendMessage(tab, TCM_GETITEM, 1, reinterpret_cast<LPARAM>(&param));
    EXPECT_EQ(param.lParam, 40);
    EXPECT_EQ(SendMessage(tab, TCM_DELETEITEM, 0, 0), 1);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessage(tab, TCM_DELETEITEM, 1, 0), 1);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), -1);

    DestroyWindow(parent);
}
