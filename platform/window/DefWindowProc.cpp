#include "platform/window/DefWindowProc.h"

#include "platform/backend/Backend.h"
#include "platform/core/Strings.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/GdiObject.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/internal/WindowTable.h"

namespace win {

namespace internal {
void SendSizeAndMoveAfterChange(HWND hwnd, const WINDOWPOS& pos);
bool TrackCaptionButton(HWND hwnd, UINT message);
}  // namespace internal

namespace {

using internal::WindowData;

LRESULT EraseBackground(HWND hwnd, const WindowData& window, HDC dc)
{
    HBRUSH brush = window.cls->wc.hbrBackground;
    COLORREF color;
    if (!brush || !internal::BrushColor(brush, &color))
        return 0;
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    return 1;
}

LRESULT ChooseCursor(HWND hwnd, const WindowData& window, WPARAM wParam, LPARAM lParam)
{
    // The parent may decide for its children.
    if (window.IsChild() && SendMessage(window.parent, WM_SETCURSOR, wParam, lParam))
        return 1;
    LRESULT hit = static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam)));
    if (hit == HTCLIENT && window.cls->wc.hCursor) {
        SetCursor(window.cls->wc.hCursor);
        return 1;
    }
    if (reinterpret_cast<HWND>(wParam) == hwnd)
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return 0;
}

LRESULT SetText(HWND hwnd, WindowData& window, LPARAM lParam)
{
    window.text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
    if (!window.IsChild()) {
        if ((window.style & WS_CAPTION) == WS_CAPTION)
            internal::DefNcPaint(hwnd);
        CurrentBackend().WindowTextChanged(hwnd);
    }
    return 1;
}

LRESULT SetIcon(HWND hwnd, WindowData& window, WPARAM kind, LPARAM icon)
{
    int slot = kind == ICON_SMALL ? 0 : 1;
    HICON old = window.icons[slot];
    window.icons[slot] = reinterpret_cast<HICON>(icon);
    if (!window.IsChild())
        internal::DefNcPaint(hwnd);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT ControlColor(HDC dc, UINT message)
{
    bool edit = message == WM_CTLCOLOREDIT;
    SetTextColor(dc, GetSysColor(edit ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(edit ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(edit ? COLOR_WINDOW : COLOR_BTNFACE));
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto window = internal::FindWindow(hwnd);
    if (!window)
        return 0;
    switch (message) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if (cs && cs->lpszName)
            window->text = cs->lpszName;
        return 1;
    }
    case WM_NCCALCSIZE: return internal::DefNcCalcSize(hwnd, wParam, lParam);
    case WM_NCHITTEST: return internal::DefNcHitTest(hwnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: internal::DefNcPaint(hwnd); return 0;
    case WM_NCACTIVATE:
        window->ncActive = wParam != 0;
        internal::DefNcPaint(hwnd);
        return 1;
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSELEAVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONUP: return internal::DefNcMouse(hwnd, message, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: internal::TrackCaptionButton(hwnd, message); return 0;
    case WM_CAPTURECHANGED:
        if (window->pressedHit && reinterpret_cast<HWND>(lParam) != hwnd) {
            window->pressedHit = 0;
            window->hotHit = 0;
            internal::DefNcPaint(hwnd);
        }
        return 0;
    case WM_ERASEBKGND: return EraseBackground(hwnd, *window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETCURSOR: return ChooseCursor(hwnd, *window, wParam, lParam);
    case WM_MOUSEACTIVATE:
        if (window->IsChild()) {
            LRESULT answer = SendMessage(window->parent, WM_MOUSEACTIVATE, wParam, lParam);
            if (answer)
                return answer;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            SetFocus(hwnd);
        return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_MOUSEWHEEL:
        // A control that does not scroll lets its parent have the turn.
        return window->IsChild() ? SendMessage(window->parent, message, wParam, lParam) : 0;
    case WM_SETTEXT: return SetText(hwnd, *window, lParam);
    case WM_GETTEXT:
        if (!lParam || wParam == 0)
            return 0;
        return CopyToBuffer(window->text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
    case WM_SYSCOMMAND: return internal::DefSysCommand(hwnd, wParam, lParam);
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4)
            PostMessage(internal::TopLevelOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
        else if (wParam == VK_SPACE)
            PostMessage(internal::TopLevelOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
        return 0;
    case WM_WINDOWPOSCHANGED:
        if (lParam)
            internal::SendSizeAndMoveAfterChange(hwnd, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return 0;
    case WM_SETICON: return SetIcon(hwnd, *window, wParam, lParam);
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(window->icons[wParam == ICON_SMALL ? 0 : 1]);
    case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(window->cls->wc.hIcon);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: return ControlColor(reinterpret_cast<HDC>(wParam), message);
    case WM_CONTEXTMENU:
        if (window->IsChild())
            SendMessage(window->parent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    }
    return 0;
}

}  // namespace win
