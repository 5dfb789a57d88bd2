// Push buttons (plain and default), check boxes, radio buttons and group
// boxes: the "Button" class.
#include "platform/controls/Controls.h"
#include "platform/controls/internal/Theme.h"
#include "platform/core/Rect.h"
#include "platform/dialogs/Dialog.h"
#include "platform/graphics/CairoDc.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"

namespace win::internal {

namespace {

struct ButtonState : ControlState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;   // drawn pressed
    bool captured = false; // the left button went down on it
    bool hot = false;
    bool focused = false;
};

DWORD Kind(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK; }
bool IsPush(DWORD kind) { return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON; }
bool IsRadio(DWORD kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }
bool IsCheck(DWORD kind)
{
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

ButtonState* StateOf(HWND hwnd) { return ControlOf<ButtonState>(hwnd); }

// The automatic radio buttons of the same group: from the WS_GROUP one
// before this button up to the next WS_GROUP one.
void UncheckGroupSiblings(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    std::vector<HWND> siblings;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        siblings.push_back(h);
    auto at = std::find(siblings.begin(), siblings.end(), hwnd);
    if (at == siblings.end())
        return;
    std::size_t start = static_cast<std::size_t>(at - siblings.begin());
    while (start > 0 && !(GetWindowLong(siblings[start], GWL_STYLE) & WS_GROUP))
        --start;
    for (std::size_t i = start; i < siblings.size(); ++i) {
        HWND h = siblings[i];
        if (i > start && (GetWindowLong(h, GWL_STYLE) & WS_GROUP))
            break;
        WCHAR cls[16];
        GetClassName(h, cls, 16);
        if (h != hwnd && std::wstring(cls) == WC_BUTTON && Kind(h) == BS_AUTORADIOBUTTON)
            SendMessage(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void Click(HWND hwnd)
{
    DWORD kind = Kind(hwnd);
    auto* state = StateOf(hwnd);
    if (state && kind == BS_AUTOCHECKBOX)
        SendMessage(hwnd, BM_SETCHECK, state->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    else if (state && kind == BS_AUTO3STATE)
        SendMessage(hwnd, BM_SETCHECK, (state->check + 1) % 3, 0);
    else if (kind == BS_AUTORADIOBUTTON) {
        SendMessage(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        UncheckGroupSiblings(hwnd);
    }
    NotifyParent(hwnd, BN_CLICKED);
}

void SetPushed(HWND hwnd, ButtonState& state, bool pushed)
{
    if (state.pushed == pushed)
        return;
    state.pushed = pushed;
    InvalidateRect(hwnd, nullptr, 0);
}

void DrawPushButton(HDC dc, cairo_t* cr, const RECT& r, const ButtonState& state, bool enabled,
                    bool isDefault)
{
    double w = RectWidth(r), h = RectHeight(r);
    COLORREF face = theme::kFace, border = theme::kBorder;
    if (!enabled) {
        face = theme::kFaceDisabled;
        border = theme::kBorderDisabled;
    } else if (isDefault) {
        face = state.pushed ? theme::kAccentPressed : state.hot ? theme::kAccentHot : theme::kAccent;
        border = face;
    } else if (state.pushed) {
        face = theme::kFacePressed;
    } else if (state.hot) {
        face = theme::kFaceHot;
        border = RGB(175, 175, 175);
    }
    FillRounded(cr, 0, 0, w, h, 4, face);
    StrokeRounded(cr, 0, 0, w, h, 4, border);
    if (state.focused && enabled) {
        if (isDefault)
            StrokeRounded(cr, 1, 1, w - 2, h - 2, 3, RGB(255, 255, 255));
        else
            StrokeRounded(cr, 0, 0, w, h, 4, theme::kAccent);
    }
    (void)dc;
}

void DrawCheckMark(cairo_t* cr, double x, double y, double size)
{
    cairo_save(cr);
    SetSourceColor(cr, RGB(255, 255, 255));
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, x + size * 0.22, y + size * 0.52);
    cairo_line_to(cr, x + size * 0.42, y + size * 0.72);
    cairo_line_to(cr, x + size * 0.78, y + size * 0.30);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void DrawMark(cairo_t* cr, DWORD kind, double x, double y, double size, UINT check, bool enabled,
              const ButtonState& state)
{
    COLORREF fill = check == BST_UNCHECKED ? theme::kField : theme::kAccent;
    COLORREF border = check == BST_UNCHECKED ? theme::kBorderStrong : theme::kAccent;
    if (!enabled) {
        fill = check == BST_UNCHECKED ? theme::kFaceDisabled : RGB(190, 190, 190);
        border = check == BST_UNCHECKED ? theme::kBorderDisabled : RGB(190, 190, 190);
    } else if (state.pushed) {
        fill = check == BST_UNCHECKED ? theme::kFacePressed : theme::kAccentPressed;
    } else if (state.hot && check == BST_UNCHECKED) {
        fill = theme::kFaceHot;
        border = RGB(90, 90, 90);
    }
    if (IsRadio(kind)) {
        cairo_save(cr);
        cairo_arc(cr, x + size / 2, y + size / 2, size / 2, 0, 2 * M_PI);
        SetSourceColor(cr, fill);
        cairo_fill_preserve(cr);
        cairo_new_path(cr);
        cairo_arc(cr, x + size / 2, y + size / 2, size / 2 - 0.5, 0, 2 * M_PI);
        SetSourceColor(cr, border);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        if (check != BST_UNCHECKED) {
            cairo_arc(cr, x + size / 2, y + size / 2, size * 0.22, 0, 2 * M_PI);
            SetSourceColor(cr, RGB(255, 255, 255));
            cairo_fill(cr);
        }
        cairo_restore(cr);
        return;
    }
    FillRounded(cr, x, y, size, size, 3, fill);
    StrokeRounded(cr, x, y, size, size, 3, border);
    if (check == BST_CHECKED)
        DrawCheckMark(cr, x, y, size);
    else if (check == BST_INDETERMINATE)
        FillRounded(cr, x + size * 0.25, y + size * 0.45, size * 0.5, size * 0.12, 1, RGB(255, 255, 255));
}

void DrawGroupBox(HWND hwnd, HDC dc, cairo_t* cr, const RECT& r, const ButtonState& state, bool enabled)
{
    std::wstring text = GetWindowText(hwnd);
    int textHeight = TextHeight(state.font);
    double top = textHeight / 2.0;
    StrokeRounded(cr, 0, top, RectWidth(r), RectHeight(r) - top, 4, theme::kLine);
    if (text.empty())
        return;
    RECT label{8, 0, RectWidth(r) - 8, textHeight};
    RECT measure = label;
    HGDIOBJ old = SelectObject(dc, state.font);
    DrawText(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    // The label interrupts the frame line.
    RECT gap{label.left - 3, 0, std::min(label.right, measure.right + 3), textHeight};
    FillParentBackground(hwnd, dc, WM_CTLCOLORSTATIC, gap);
    DrawLabel(dc, state.font, text, label, DT_SINGLELINE | DT_LEFT | DT_TOP,
              enabled ? theme::kText : theme::kDisabledText);
}

void Paint(HWND hwnd, ButtonState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    cairo_t* cr = CairoOf(dc);
    RECT r;
    GetClientRect(hwnd, &r);
    DWORD kind = Kind(hwnd);
    bool enabled = IsWindowEnabled(hwnd);
    std::wstring text = GetWindowText(hwnd);
    if (kind == BS_GROUPBOX) {
        DrawGroupBox(hwnd, dc, cr, r, state, enabled);
    } else if (IsPush(kind)) {
        FillParentBackground(hwnd, dc, WM_CTLCOLORBTN, r);
        bool isDefault = kind == BS_DEFPUSHBUTTON;
        DrawPushButton(dc, cr, r, state, enabled, isDefault);
        COLORREF color = !enabled ? theme::kDisabledText : isDefault ? RGB(255, 255, 255) : theme::kText;
        DrawLabel(dc, state.font, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, color);
    } else {
        FillParentBackground(hwnd, dc, WM_CTLCOLORSTATIC, r);
        double size = 14;
        double y = std::floor((RectHeight(r) - size) / 2);
        DrawMark(cr, kind, 0, y, size, state.check, enabled, state);
        RECT label{static_cast<LONG>(size) + 6, 0, r.right, r.bottom};
        DrawLabel(dc, state.font, text, label, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
                  enabled ? theme::kText : theme::kDisabledText);
        if (state.focused && enabled) {
            RECT extent = label;
            HGDIOBJ old = SelectObject(dc, state.font);
            DrawText(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
            SelectObject(dc, old);
            int h = RectHeight(extent);
            int top = (RectHeight(r) - h) / 2;
            cairo_save(cr);
            SetSourceColor(cr, theme::kAccent);
            cairo_set_line_width(cr, 1);
            cairo_move_to(cr, label.left, top + h + 0.5);
            cairo_line_to(cr, std::min<LONG>(extent.right, r.right), top + h + 0.5);
            cairo_stroke(cr);
            cairo_restore(cr);
        }
    }
    EndPaint(hwnd, &ps);
}

LRESULT DialogCode(HWND hwnd)
{
    DWORD kind = Kind(hwnd);
    if (kind == BS_DEFPUSHBUTTON)
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (kind == BS_PUSHBUTTON)
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    if (IsRadio(kind))
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    if (kind == BS_GROUPBOX)
        return DLGC_STATIC;
    return DLGC_BUTTON;
}

void TrackHover(HWND hwnd, ButtonState& state)
{
    if (state.hot)
        return;
    state.hot = true;
    TRACKMOUSEEVENT track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = hwnd;
    TrackMouseEvent(&track);
    InvalidateRect(hwnd, nullptr, 0);
}

bool PointerInside(HWND hwnd, LPARAM lParam)
{
    RECT r;
    GetClientRect(hwnd, &r);
    return PtInRect(&r, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ButtonState* state = nullptr;
    LRESULT result = 0;
    if (HandleCommonControlMessage(hwnd, message, wParam, lParam, state, result))
        return result;
    DWORD kind = Kind(hwnd);
    switch (message) {
    case WM_NCHITTEST:
        // A group box lets the pointer through to the controls inside it.
        return kind == BS_GROUPBOX ? HTTRANSPARENT : DefWindowProc(hwnd, message, wParam, lParam);
    case WM_GETDLGCODE: return DialogCode(hwnd);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd, *state); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (kind == BS_GROUPBOX)
            return 0;
        SetFocus(hwnd);
        SetCapture(hwnd);
        state->captured = true;
        SetPushed(hwnd, *state, true);
        return 0;
    case WM_MOUSEMOVE:
        TrackHover(hwnd, *state);
        if (state->captured)
            SetPushed(hwnd, *state, PointerInside(hwnd, lParam));
        return 0;
    case WM_MOUSELEAVE:
        state->hot = false;
        InvalidateRect(hwnd, nullptr, 0);
        return 0;
    case WM_LBUTTONUP:
        if (!state->captured)
            return 0;
        state->captured = false;
        ReleaseCapture();
        SetPushed(hwnd, *state, false);
        if (PointerInside(hwnd, lParam))
            Click(hwnd);
        return 0;
    case WM_CAPTURECHANGED:
        state->captured = false;
        SetPushed(hwnd, *state, false);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
            SetPushed(hwnd, *state, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && state->pushed) {
            SetPushed(hwnd, *state, false);
            Click(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state->focused = message == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, 0);
        return 0;
    case WM_ENABLE:
    case WM_CANCELMODE:
        if (state->captured)
            ReleaseCapture();
        state->pushed = false;
        state->hot = false;
        InvalidateRect(hwnd, nullptr, 0);
        return 0;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, 1);
        return r;
    }
    case BM_GETCHECK: return IsCheck(kind) || IsRadio(kind) ? state->check : BST_UNCHECKED;
    case BM_SETCHECK: {
        UINT check = static_cast<UINT>(wParam) & 3;
        if ((IsCheck(kind) || IsRadio(kind)) && check != state->check) {
            if (check == BST_INDETERMINATE && kind != BS_3STATE && kind != BS_AUTO3STATE)
                check = BST_CHECKED;
            state->check = check;
            InvalidateRect(hwnd, nullptr, 0);
        }
        return 0;
    }
    case BM_GETSTATE:
        return state->check | (state->pushed ? BST_PUSHED : 0) | (state->focused ? BST_FOCUS : 0);
    case BM_SETSTATE: SetPushed(hwnd, *state, wParam != 0); return 0;
    case BM_SETSTYLE: {
        DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
        SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>((style & ~0xFFFFu) | (wParam & 0xFFFF)));
        if (lParam)
            InvalidateRect(hwnd, nullptr, 1);
        return 0;
    }
    case BM_CLICK:
        if (IsWindowEnabled(hwnd) && kind != BS_GROUPBOX)
            Click(hwnd);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC ButtonWindowProc() { return ButtonProc; }

}  // namespace win::internal
