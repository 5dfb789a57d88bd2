#include "platform/dialogs/Dialog.h"
#include "app/SetupDialog.h"

#include "settings/ConversionSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "platform/controls/Controls.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"

using namespace win;

DialogTemplate SetupDialog::Template()
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    t.cx = 273;
    t.cy = 289;
    t.title = L"Setup";
    // The one-tab header is no stop of its own: Tab goes through its page's
    // controls, then Apply and Cancel.
    t.items.push_back(DialogItem(WC_TABCONTROL, L"", kTab, WS_VISIBLE, 7, 7, 259, 252));
    t.items.back().exStyle = WS_EX_CONTROLPARENT;
    t.items.push_back(DialogItem(WC_BUTTON, L"Apply", IDOK, WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 155, 266, 50, 14));
    t.items.push_back(DialogItem(WC_BUTTON, L"Cancel", IDCANCEL, WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 216, 266, 50, 14));
    return t;
}

INT_PTR SetupDialog::DoModal(HWND owner)
{
    DialogTemplate t = Template();
    return DialogBoxIndirectParam(nullptr, &t, owner, Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR SetupDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<SetupDialog*>(GetWindowLongPtr(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtr(dialog, DWLP_USER, lParam);
        reinterpret_cast<SetupDialog*>(lParam)->OnInitDialog(dialog);
        return 1;
    case WM_COMMAND:
        if (self && LOWORD(wParam) == IDOK) {
            self->OnApply();
            return 1;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return 1;
        }
        return 0;
    case WM_NOTIFY:
        if (self && reinterpret_cast<const NMHDR*>(lParam)->idFrom == kTab &&
            reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE)
            self->OnTabChanged();
        return 0;
    }
    return 0;
}

void SetupDialog::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    HWND tab = GetDlgItem(dialog, kTab);
    TCITEM item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(L"Audio Setup");
    SendMessage(tab, TCM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    page_.Create(tab);
    PlacePage();
    ShowWindow(page_.Window(), SW_SHOW);
    SendMessage(tab, TCM_SETCURSEL, 0, 0);

    // The dialog shows what the file holds now, not what this run started with.
    bool read = SettingsFile::Read(SettingsPath(), g_settings) != 0;
    page_.Load(read ? &g_settings : nullptr);
}

void SetupDialog::PlacePage()
{
    RECT area;
    GetClientRect(GetDlgItem(dialog_, kTab), &area);
    area.left += 4;
    area.right -= 4;
    area.bottom -= 4;
    area.top += 20;
    MoveWindow(page_.Window(), area.left, area.top, area.right - area.left, area.bottom - area.top, 1);
}

void SetupDialog::OnApply()
{
    page_.Store(g_settings);
    SettingsFile::Write(SettingsPath(), g_settings);  // a failure keeps the values for this run
    EndDialog(dialog_, IDOK);
}

void SetupDialog::OnTabChanged()
{
    int selected = static_cast<int>(SendDlgItemMessage(dialog_, kTab, TCM_GETCURSEL, 0, 0));
    ShowWindow(page_.Window(), selected == 0 ? SW_SHOW : SW_HIDE);
}
