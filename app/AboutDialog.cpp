#include "platform/dialogs/Dialog.h"
#include "app/AboutDialog.h"

#include "app/ProgramIcon.h"

#include "platform/controls/Controls.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"

using namespace win;

namespace about_box {

namespace {

INT_PTR Proc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemText(box, kNameLine, kProgramTitle);
        if (lParam)
            SendDlgItemMessage(box, kIcon, STM_SETICON, static_cast<WPARAM>(lParam), 0);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(box, LOWORD(wParam));
            return 1;
        }
        return 0;
    }
    return 0;
}

}  // namespace

DialogTemplate Template()
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    t.cx = 235;
    t.cy = 55;
    t.title = L"About Kolvex";
    t.items.push_back(DialogItem(WC_STATIC, L"", kIcon, WS_VISIBLE | SS_ICON, 11, 17, 20, 20));
    t.items.push_back(DialogItem(WC_STATIC, L"", kNameLine, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 40, 10, 185, 8));
    t.items.push_back(DialogItem(WC_STATIC, L"APE files and CUE albums to MP3 and WAVE", kSecondLine, WS_VISIBLE | SS_LEFT, 40, 25,
                           185, 8));
    t.items.push_back(DialogItem(WC_BUTTON, L"OK", IDOK, WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 178, 34, 50, 14));
    return t;
}

void Show(HWND owner, HICON icon)
{
    DialogTemplate t = Template();
    DialogBoxIndirectParam(nullptr, &t, owner, Proc, reinterpret_cast<LPARAM>(icon));
}

}  // namespace about_box
