#include "platform/dialogs/DialogManager.h"

#include "platform/controls/Controls.h"
#include "platform/core/MessageBox.h"
#include "platform/dialogs/Dialog.h"
#include "platform/dialogs/internal/DialogState.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace win {

namespace {

bool Usable(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

// The dialog's controls in tab order, looking inside children that hold
// controls of their own (WS_EX_CONTROLPARENT, such as embedded pages).
void CollectControls(HWND parent, std::vector<HWND>* out)
{
    HWND child = GetWindow(parent, GW_CHILD);
    for (; child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLong(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
            if (Usable(child))
                CollectControls(child, out);
            continue;
        }
        out->push_back(child);
    }
}

// A control's top-most ancestor below the dialog that the walk knows.
HWND ControlOf(HWND dialog, HWND hwnd)
{
    while (hwnd && GetParent(hwnd) != dialog && IsChild(dialog, hwnd)) {
        HWND parent = GetParent(hwnd);
        if (GetWindowLong(parent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
            return hwnd;
        hwnd = parent;
    }
    return hwnd;
}

void Click(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (control && !IsWindowEnabled(control))
        return;
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                reinterpret_cast<LPARAM>(control));
}

int DefaultId(HWND dialog)
{
    LRESULT answer = SendMessage(dialog, DM_GETDEFID, 0, 0);
    return HIWORD(static_cast<DWORD_PTR>(answer)) == DC_HASDEFID ? LOWORD(static_cast<DWORD_PTR>(answer))
                                                                 : IDOK;
}

void Dispatch(MSG* msg)
{
    TranslateMessage(msg);
    DispatchMessage(msg);
}

void MoveFocus(HWND target)
{
    if (!target)
        return;
    SetFocus(target);
    if (SendMessage(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessage(target, EM_SETSEL, 0, -1);
}

bool HandleKey(HWND dialog, MSG* msg)
{
    LRESULT code = SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
        return false;
    switch (msg->wParam) {
    case VK_TAB:
        if (code & DLGC_WANTTAB)
            return false;
        MoveFocus(GetNextDlgTabItem(dialog, msg->hwnd, GetKeyState(VK_SHIFT) < 0));
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (code & DLGC_WANTARROWS)
            return false;
        bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
        HWND next = GetNextDlgGroupItem(dialog, msg->hwnd, back);
        if (next && next != msg->hwnd) {
            SetFocus(next);
            if (SendMessage(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
                SendMessage(next, BM_CLICK, 0, 0);
        }
        return true;
    }
    case VK_RETURN:
        if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            if (IsWindowEnabled(msg->hwnd))
                Click(dialog, GetDlgCtrlID(msg->hwnd));
        } else {
            Click(dialog, DefaultId(dialog));
        }
        return true;
    case VK_ESCAPE: Click(dialog, IDCANCEL); return true;
    }
    return false;
}

}  // namespace

BOOL IsDialogMessage(HWND dialog, MSG* msg)
{
    if (!msg || !dialog || !IsWindow(dialog))
        return 0;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))
        return 0;
    switch (msg->message) {
    case WM_KEYDOWN:
        if (!HandleKey(dialog, msg))
            Dispatch(msg);
        return 1;
    case WM_CHAR: {
        LRESULT code = SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        bool navigation = msg->wParam == L'\t' || msg->wParam == L'\r' || msg->wParam == 0x1B;
        if (navigation && !(code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_WANTTAB)))
            return 1;
        Dispatch(msg);
        return 1;
    }
    }
    return 0;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    std::vector<HWND> all;
    CollectControls(dialog, &all);
    std::vector<HWND> stops;
    for (HWND h : all)
        if (Usable(h) && (GetWindowLong(h, GWL_STYLE) & WS_TABSTOP))
            stops.push_back(h);
    if (stops.empty())
        return nullptr;
    // The focus may be inside a control (the edit field of a combo box).
    HWND current = control;
    while (current && std::find(all.begin(), all.end(), current) == all.end())
        current = GetParent(current);
    auto at = std::find(all.begin(), all.end(), current);
    if (at == all.end())
        return previous ? stops.back() : stops.front();
    std::size_t index = static_cast<std::size_t>(at - all.begin());
    for (std::size_t step = 1; step <= all.size(); ++step) {
        std::size_t i = previous ? (index + all.size() - step) % all.size() : (index + step) % all.size();
        HWND h = all[i];
        if (Usable(h) && (GetWindowLong(h, GWL_STYLE) & WS_TABSTOP))
            return h;
    }
    return current;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    HWND current = ControlOf(dialog, control);
    HWND parent = GetParent(current);
    if (!parent)
        return nullptr;
    std::vector<HWND> siblings;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        siblings.push_back(h);
    auto at = std::find(siblings.begin(), siblings.end(), current);
    if (at == siblings.end())
        return nullptr;
    // The group runs from a WS_GROUP control up to the next one.
    std::size_t start = static_cast<std::size_t>(at - siblings.begin());
    while (start > 0 && !(GetWindowLong(siblings[start], GWL_STYLE) & WS_GROUP))
        --start;
    std::size_t end = static_cast<std::size_t>(at - siblings.begin()) + 1;
    while (end < siblings.size() && !(GetWindowLong(siblings[end], GWL_STYLE) & WS_GROUP))
        ++end;
    std::size_t count = end - start;
    std::size_t index = static_cast<std::size_t>(at - siblings.begin()) - start;
    for (std::size_t step = 1; step < count; ++step) {
        std::size_t i = previous ? (index + count - step) % count : (index + step) % count;
        HWND h = siblings[start + i];
        if (Usable(h))
            return h;
    }
    return current;
}

}  // namespace win
