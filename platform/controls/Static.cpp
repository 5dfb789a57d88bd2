// Static text and static icons: the "Static" class.
#include "platform/controls/Controls.h"
#include "platform/controls/internal/Theme.h"
#include "platform/core/Rect.h"
#include "platform/dialogs/Dialog.h"
#include "platform/graphics/CairoDc.h"
#include "platform/graphics/Icon.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"

namespace win::internal {

namespace {

struct StaticState : ControlState {
    HICON icon = nullptr;
};

constexpr WORD STN_CLICKED = 0;

DWORD Kind(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)) & SS_TYPEMASK; }

void Paint(HWND hwnd, StaticState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillParentBackground(hwnd, dc, WM_CTLCOLORSTATIC, r);
    DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    if (Kind(hwnd) == SS_ICON) {
        if (state.icon) {
            SIZE size{32, 32};
            GetIconSize(state.icon, &size);
            DrawIconEx(dc, 0, 0, state.icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
        }
    } else {
        UINT format = DT_WORDBREAK;
        switch (Kind(hwnd)) {
        case SS_CENTER: format |= DT_CENTER; break;
        case SS_RIGHT: format |= DT_RIGHT; break;
        default: break;
        }
        if (style & SS_NOPREFIX)
            format |= DT_NOPREFIX;
        if (style & SS_CENTERIMAGE)
            format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
        DrawLabel(dc, state.font, GetWindowText(hwnd), r, format,
                  IsWindowEnabled(hwnd) ? theme::kText : theme::kDisabledText);
    }
    EndPaint(hwnd, &ps);
}

HICON SetIcon(HWND hwnd, StaticState& state, HICON icon)
{
    HICON old = state.icon;
    state.icon = icon;
    InvalidateRect(hwnd, nullptr, 1);
    return old;
}

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        if (auto window = FindWindow(hwnd)) {
            auto state = std::make_unique<StaticState>();
            if ((window->style & SS_TYPEMASK) == SS_ICON)
                state->icon = LoadIcon(nullptr, IDI_APPLICATION);
            window->control = std::move(state);
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    auto* state = ControlOf<StaticState>(hwnd);
    if (!state)
        return DefWindowProc(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, *state, message, wParam, lParam, &result))
        return result;
    DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    switch (message) {
    case WM_NCHITTEST:
        // Text is not a target unless it asks for clicks.
        return (style & SS_NOTIFY) ? DefWindowProc(hwnd, message, wParam, lParam) : HTTRANSPARENT;
    case WM_LBUTTONDOWN:
        if (style & SS_NOTIFY)
            NotifyParent(hwnd, STN_CLICKED);
        return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd, *state); return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, 1); return 0;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, 1);
        return r;
    }
    case STM_SETICON: return reinterpret_cast<LRESULT>(SetIcon(hwnd, *state, reinterpret_cast<HICON>(wParam)));
    case STM_GETICON: return reinterpret_cast<LRESULT>(state->icon);
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC StaticWindowProc() { return StaticProc; }

}  // namespace win::internal
