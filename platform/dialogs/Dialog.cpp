#include "platform/dialogs/Dialog.h"

#include "platform/controls/Controls.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Rect.h"
#include "platform/core/Strings.h"
#include "platform/dialogs/internal/DialogFont.h"
#include "platform/dialogs/internal/DialogState.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/TextLayout.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Focus.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

namespace win {

namespace internal {

DialogState::~DialogState()
{
    if (font)
        DeleteObject(font);
}

DialogState* DialogOf(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    return window ? dynamic_cast<DialogState*>(window->dialog.get()) : nullptr;
}

}  // namespace internal

using internal::DialogState;

namespace {

RECT ToPixels(SIZE base, int x, int y, int cx, int cy)
{
    return {MulDiv(x, base.cx, 4), MulDiv(y, base.cy, 8), MulDiv(x + cx, base.cx, 4),
            MulDiv(y + cy, base.cy, 8)};
}

// Messages whose dialog-procedure answer is the result itself rather than
// a handled flag.
bool ReturnsDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG: return true;
    }
    return false;
}

HWND FirstTabStop(HWND dialog) { return GetNextDlgTabItem(dialog, nullptr, 0); }

void RestoreFocus(HWND hwnd, DialogState& state)
{
    HWND target = state.savedFocus;
    if (!target || !IsWindow(target) || !IsChild(hwnd, target) || !IsWindowEnabled(target) ||
        !IsWindowVisible(target))
        target = FirstTabStop(hwnd);
    if (target)
        SetFocus(target);
}

void CreateItems(HWND dialog, const DialogTemplate& tmpl, DialogState& state, HINSTANCE instance)
{
    bool defaultFound = false;
    for (const auto& item : tmpl.items) {
        RECT r = ToPixels(state.baseUnits, item.x, item.y, item.cx, item.cy);
        HWND control = CreateWindowEx(item.exStyle, item.className.c_str(), item.text.c_str(),
                                      item.style | WS_CHILD, r.left, r.top, RectWidth(r), RectHeight(r),
                                      dialog, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(item.id)),
                                      instance, nullptr);
        if (!control)
            continue;
        SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), 0);
        if (CompareNoCase(item.className, WC_COMBOBOX) == 0)
            for (const auto& s : item.initStrings)
                SendMessage(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        if (!defaultFound && CompareNoCase(item.className, WC_BUTTON) == 0 &&
            (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            state.defaultId = item.id;
            defaultFound = true;
        }
    }
}

RECT PlaceDialog(const DialogTemplate& tmpl, HWND owner, SIZE base)
{
    RECT client = ToPixels(base, 0, 0, tmpl.cx, tmpl.cy);
    RECT frame = client;
    AdjustWindowRectEx(&frame, tmpl.style, 0, tmpl.exStyle);
    int width = RectWidth(frame), height = RectHeight(frame);
    if (tmpl.style & WS_CHILD) {
        RECT at = ToPixels(base, tmpl.x, tmpl.y, 0, 0);
        return {at.left, at.top, at.left + width, at.top + height};
    }
    // Top-level dialogs open centred over their owner, or on the screen.
    RECT area;
    if (!owner || !GetWindowRect(owner, &area) || IsIconic(owner))
        SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    int x = area.left + (RectWidth(area) - width) / 2;
    int y = area.top + (RectHeight(area) - height) / 2;
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    return {x, y, x + width, y + height};
}

HWND CreateDialogWindow(HINSTANCE instance, const DialogTemplate* tmpl, HWND owner, DLGPROC proc,
                        LPARAM param, bool modal)
{
    if (!tmpl)
        return nullptr;
    auto state = std::make_unique<DialogState>();
    state->proc = proc;
    state->modal = modal;
    internal::DialogFont dialogFont = internal::MakeDialogFont(tmpl->pointSize);
    state->font = dialogFont.font;
    state->baseUnits = dialogFont.baseUnits;
    if ((tmpl->style & WS_CHILD) && !owner)
        return nullptr;
    RECT r = PlaceDialog(*tmpl, owner, state->baseUnits);
    DWORD exStyle = tmpl->exStyle | ((tmpl->style & DS_CONTROL) ? WS_EX_CONTROLPARENT : 0);
    // The dialog exists, without controls, before its record is attached;
    // nothing but creation messages reach it meanwhile.
    HWND dialog = CreateWindowEx(exStyle, WC_DIALOG, tmpl->title.c_str(), tmpl->style & ~WS_VISIBLE,
                                 r.left, r.top, RectWidth(r), RectHeight(r), owner, nullptr, instance,
                                 nullptr);
    if (!dialog)
        return nullptr;
    DialogState* raw = state.get();
    internal::FindWindow(dialog)->dialog = std::move(state);
    SetWindowLongPtr(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    SendMessage(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(raw->font), 0);
    CreateItems(dialog, *tmpl, *raw, instance);

    HWND first = FirstTabStop(dialog);
    LRESULT focus = SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dialog))
        return nullptr;
    if (focus)
        raw->savedFocus = FirstTabStop(dialog);
    // The dialog manager asks every control what it wants from the
    // keyboard before the dialog is first used.
    auto window = internal::FindWindow(dialog);
    auto children = window->children;
    for (HWND child : children)
        if (IsWindow(child))
            SendMessage(child, WM_GETDLGCODE, 0, 0);
    if ((tmpl->style & WS_VISIBLE) && !raw->ended)
        ShowWindow(dialog, SW_SHOWNORMAL);
    if ((tmpl->style & WS_CHILD) && raw->savedFocus && IsWindowVisible(dialog) &&
        internal::TopLevelOf(dialog) == GetActiveWindow())
        SetFocus(raw->savedFocus);
    return dialog;
}

}  // namespace

DialogItemTemplate DialogItem(LPCWSTR className, LPCWSTR text, int id, DWORD style, int x, int y, int cx, int cy)
{
    DialogItemTemplate item;
    item.className = className;
    item.text = text;
    item.id = id;
    item.style = style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    return item;
}

HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND owner,
                               DLGPROC proc, LPARAM param)
{
    return CreateDialogWindow(instance, dialog, owner, proc, param, false);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND owner,
                               DLGPROC proc, LPARAM param)
{
    if (!dialog)
        return -1;
    if (owner)
        owner = internal::TopLevelOf(owner);
    DialogTemplate hidden = *dialog;
    hidden.style &= ~WS_VISIBLE;
    HWND hwnd = CreateDialogWindow(instance, &hidden, owner, proc, param, true);
    if (!hwnd)
        return -1;
    DialogState* state = internal::DialogOf(hwnd);
    bool disabledOwner = owner && IsWindowEnabled(owner);
    if (disabledOwner)
        EnableWindow(owner, 0);
    if (!state->ended)
        ShowWindow(hwnd, SW_SHOWNORMAL);
    MSG msg;
    while (IsWindow(hwnd) && !state->ended) {
        if (GetMessage(&msg, nullptr, 0, 0) <= 0) {
            // WM_QUIT ends the dialog and goes on to the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessage(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    INT_PTR result = IsWindow(hwnd) ? state->result : IDCANCEL;
    if (disabledOwner && IsWindow(owner)) {
        EnableWindow(owner, 1);
        if (GetActiveWindow() == hwnd)
            SetActiveWindow(owner);
    }
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    DialogState* state = internal::DialogOf(dialog);
    if (!state)
        return 0;
    state->ended = true;
    state->result = result;
    if (state->modal) {
        // Let the owner take over before the dialog disappears.
        if (HWND owner = GetWindow(dialog, GW_OWNER))
            EnableWindow(owner, 1);
        ShowWindow(dialog, SW_HIDE);
        PostMessage(dialog, WM_NULL, 0, 0);
    } else {
        ShowWindow(dialog, SW_HIDE);
    }
    return 1;
}

LRESULT DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogState* state = internal::DialogOf(hwnd);
    if (state && state->proc) {
        SetWindowLongPtr(hwnd, DWLP_MSGRESULT, 0);
        INT_PTR handled = state->proc(hwnd, message, wParam, lParam);
        if (handled)
            return ReturnsDirectly(message) ? handled : GetWindowLongPtr(hwnd, DWLP_MSGRESULT);
        state = internal::DialogOf(hwnd);  // the procedure may have destroyed it
        if (!state)
            return 0;
    }
    switch (message) {
    case WM_INITDIALOG: return 1;
    case WM_CLOSE:
        // Closing a dialog is pressing its Cancel button.
        PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
        return 0;
    case WM_ACTIVATE:
        if (!state)
            break;
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus))
                state->savedFocus = focus;
        } else if (!HIWORD(wParam)) {
            RestoreFocus(hwnd, *state);
        }
        return 0;
    case WM_SETFOCUS:
        if (state)
            RestoreFocus(hwnd, *state);
        return 0;
    case WM_GETFONT: return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case DM_GETDEFID: return state ? MAKELONG(static_cast<WORD>(state->defaultId), DC_HASDEFID) : 0;
    case DM_SETDEFID:
        if (state)
            state->defaultId = static_cast<int>(wParam);
        return 1;
    case WM_NEXTDLGCTL: {
        HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                             : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
        if (target)
            SetFocus(target);
        return 0;
    }
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace win
