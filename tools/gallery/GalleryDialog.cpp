#include "GalleryDialog.h"

#include "platform/controls/Controls.h"
#include "platform/core/MessageBox.h"
#include "platform/graphics/Icon.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Window.h"

#include <cstdio>

using namespace win;

namespace gallery {

namespace {

bool g_report = false;


DialogTemplate PageTemplate()
{
    DialogTemplate page;
    page.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
    page.cx = 136;
    page.cy = 30;
    page.items.push_back(DialogItem(WC_STATIC, L"A page inside the tab control.", -1, WS_VISIBLE | SS_LEFT, 4, 4, 128, 8));
    page.items.push_back(DialogItem(WC_BUTTON, L"On the page", 1201, WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP, 4, 16, 100, 10));
    return page;
}

INT_PTR PageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? 1 : 0;
}

void PlacePage(HWND dialog)
{
    HWND tab = GetDlgItem(dialog, kTab);
    DialogTemplate page = PageTemplate();
    HWND pageWindow = CreateDialogIndirectParam(nullptr, &page, tab, PageProc, 0);
    RECT area;
    GetClientRect(tab, &area);
    SendMessage(tab, TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&area));
    MoveWindow(pageWindow, area.left, area.top, area.right - area.left, area.bottom - area.top, 1);
}

void Initialise(HWND dialog)
{
    CheckDlgButton(dialog, kCheckedBox, BST_CHECKED);
    CheckDlgButton(dialog, kDisabledCheck, BST_CHECKED);
    CheckRadioButton(dialog, kRadioOne, kRadioTwo, kRadioOne);
    SendDlgItemMessage(dialog, kProgress, PBM_SETRANGE32, 0, 100);
    SendDlgItemMessage(dialog, kProgress, PBM_SETPOS, 40, 0);
    SendDlgItemMessage(dialog, kCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"128"));
    SendDlgItemMessage(dialog, kDisabledCombo, CB_SETCURSEL, 2, 0);
    HWND tab = GetDlgItem(dialog, kTab);
    for (LPCWSTR name : {L"Audio Setup", L"Second", L"Third"}) {
        TCITEM item;
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(name);
        SendMessage(tab, TCM_INSERTITEM, static_cast<WPARAM>(SendMessage(tab, TCM_GETITEMCOUNT, 0, 0)),
                    reinterpret_cast<LPARAM>(&item));
    }
    PlacePage(dialog);
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    SendMessage(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (g_report)
        PostMessage(dialog, WM_APP, 0, 0);
}

void PrintRect(const char* what, int id, HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    std::printf("%s %d %ld %ld %ld %ld\n", what, id, static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
}

BOOL PrintControl(HWND hwnd, LPARAM)
{
    PrintRect("control", GetDlgCtrlID(hwnd), hwnd);
    return 1;
}

void Describe(HWND dialog)
{
    PrintRect("window", 0, dialog);
    EnumChildWindows(dialog, PrintControl, 0);
    std::printf("ready\n");
    std::fflush(stdout);
}

// A worker asks a question while the dialog goes on, as the converter asks
// before overwriting a file; the answer comes back as a posted message.
constexpr UINT kAnswer = WM_APP + 1;

DWORD AskFromWorker(void* parameter)
{
    HWND dialog = static_cast<HWND>(parameter);
    int answer = MessageBox(dialog, L"This file already exists. Overwrite it?", L"Kolvex gallery question",
                            MB_YESNO | MB_ICONQUESTION);
    PostMessage(dialog, kAnswer, static_cast<WPARAM>(answer), 0);
    return 0;
}

void Report(HWND dialog, WPARAM wParam)
{
    int id = LOWORD(wParam);
    UINT checked = IsDlgButtonChecked(dialog, id);
    std::printf("command %d %d checked=%u\n", id, HIWORD(wParam), checked);
    std::fflush(stdout);
}

}  // namespace

void SetReporting(bool report) { g_report = report; }

DialogTemplate Template()
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | WS_VISIBLE;
    t.cx = 320;
    t.cy = 214;
    t.title = L"Kolvex gallery";
    auto& items = t.items;
    items.push_back(DialogItem(WC_BUTTON, L"Buttons", -1, WS_VISIBLE | BS_GROUPBOX, 7, 5, 150, 40));
    items.push_back(DialogItem(WC_BUTTON, L"&Push", kPush, WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 14, 20, 50, 15));
    items.push_back(DialogItem(WC_BUTTON, L"Disabled", kDisabledPush, WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 70, 20, 50, 15));
    items.push_back(DialogItem(WC_BUTTON, L"Check boxes", -1, WS_VISIBLE | BS_GROUPBOX | WS_GROUP, 7, 50, 150, 56));
    items.push_back(DialogItem(WC_BUTTON, L"Check box", kCheckBox, WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 14, 63, 130, 11));
    items.push_back(DialogItem(WC_BUTTON, L"Checked", kCheckedBox, WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP, 14, 76, 130, 11));
    items.push_back(DialogItem(WC_BUTTON, L"Disabled and checked", kDisabledCheck, WS_VISIBLE | BS_AUTOCHECKBOX | WS_DISABLED, 14, 89, 130, 11));
    items.push_back(DialogItem(WC_BUTTON, L"Radio buttons", -1, WS_VISIBLE | BS_GROUPBOX | WS_GROUP, 7, 111, 150, 56));
    items.push_back(DialogItem(WC_BUTTON, L"Radio one", kRadioOne, WS_VISIBLE | BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 14, 124, 130, 11));
    items.push_back(DialogItem(WC_BUTTON, L"Radio two", kRadioTwo, WS_VISIBLE | BS_AUTORADIOBUTTON, 14, 137, 130, 11));
    items.push_back(DialogItem(WC_BUTTON, L"Disabled", kDisabledRadio, WS_VISIBLE | BS_AUTORADIOBUTTON | WS_DISABLED, 14, 150, 130, 11));

    items.push_back(DialogItem(WC_STATIC, L"Edit boxes:", -1, WS_VISIBLE | SS_LEFT | WS_GROUP, 165, 7, 120, 8));
    items.push_back(DialogItem(WC_EDIT, L"Editable text", kEdit, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 165, 17, 148, 14));
    items.push_back(DialogItem(WC_EDIT, L"Disabled", kDisabledEdit, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | WS_DISABLED, 165, 35, 148, 14));
    items.push_back(DialogItem(WC_STATIC, L"Drop-down boxes:", -1, WS_VISIBLE | SS_LEFT, 165, 55, 120, 8));
    auto rates = DialogItem(WC_COMBOBOX, L"", kCombo, WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 165, 65, 70, 120);
    rates.initStrings = {L"32", L"40", L"48", L"56", L"64", L"80", L"96", L"112", L"128", L"160", L"192", L"224", L"256", L"320"};
    items.push_back(rates);
    auto quality = DialogItem(WC_COMBOBOX, L"", kDisabledCombo, WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL | WS_DISABLED, 243, 65, 70, 100);
    quality.initStrings = {L"0 Highest Quality", L"1", L"2"};
    items.push_back(quality);
    items.push_back(DialogItem(WC_STATIC, L"Progress at 40 %:", -1, WS_VISIBLE | SS_LEFT, 165, 86, 120, 8));
    items.push_back(DialogItem(PROGRESS_CLASS, L"", kProgress, WS_VISIBLE, 165, 96, 148, 9));
    items.push_back(DialogItem(WC_TABCONTROL, L"", kTab, WS_VISIBLE | WS_TABSTOP, 165, 111, 148, 56));
    items.push_back(DialogItem(WC_STATIC, L"", kIcon, WS_VISIBLE | SS_ICON, 7, 178, 20, 20));
    items.push_back(DialogItem(WC_STATIC, L"Static text beside a static icon.", -1, WS_VISIBLE | SS_LEFT, 32, 183, 125, 8));
    items.push_back(DialogItem(WC_BUTTON, L"OK", IDOK, WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 203, 192, 52, 15));
    items.push_back(DialogItem(WC_BUTTON, L"Cancel", IDCANCEL, WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 261, 192, 52, 15));
    return t;
}

INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: Initialise(dialog); return 1;
    case WM_APP: Describe(dialog); return 1;
    case kAnswer:
        std::printf("answer %d\n", static_cast<int>(wParam));
        std::fflush(stdout);
        return 1;
    case WM_COMMAND:
        if (g_report && HIWORD(wParam) == BN_CLICKED)
            Report(dialog, wParam);
        if (LOWORD(wParam) == kPush)
            CloseHandle(CreateThread(nullptr, 0, AskFromWorker, dialog, 0, nullptr));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return 1;
    }
    return 0;
}

}  // namespace gallery
