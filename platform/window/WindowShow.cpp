#include "platform/window/WindowShow.h"

#include "platform/window/Window.h"

#include "platform/backend/Backend.h"
#include "platform/core/Rect.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "platform/window/internal/WindowTable.h"

namespace win {

using internal::FindWindow;

namespace {

constexpr UINT kQuietChange = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

void SetStyleBits(HWND hwnd, DWORD set, DWORD clear)
{
    if (auto window = FindWindow(hwnd))
        window->style = (window->style | set) & ~clear;
}

void Minimize(HWND hwnd, bool activate)
{
    auto window = FindWindow(hwnd);
    if (!window || (window->style & WS_MINIMIZE))
        return;
    if (!(window->style & WS_MAXIMIZE))
        window->normalRect = window->rect;
    window->style |= WS_MINIMIZE;
    if (!window->IsChild())
        CurrentBackend().WindowShown(hwnd, ShowState::Minimized);
    SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    if (!activate && GetActiveWindow() == hwnd)
        SetActiveWindow(internal::NextWindowToActivate(hwnd));
}

void Maximize(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return;
    if (!(window->style & (WS_MAXIMIZE | WS_MINIMIZE)))
        window->normalRect = window->rect;
    window->style = (window->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    RECT area = window->IsChild() ? RECT{} : CurrentBackend().WorkArea();
    if (window->IsChild())
        GetClientRect(window->parent, &area);
    SetWindowPos(hwnd, nullptr, area.left, area.top, RectWidth(area), RectHeight(area),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (!window->IsChild() && (window->style & WS_VISIBLE))
        CurrentBackend().WindowShown(hwnd, ShowState::Maximized);
}

void Restore(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return;
    if (window->style & WS_MINIMIZE) {
        window->style &= ~WS_MINIMIZE;
        if (!window->IsChild())
            CurrentBackend().WindowShown(hwnd, (window->style & WS_MAXIMIZE) ? ShowState::Maximized
                                                                            : ShowState::Normal);
        SendMessage(hwnd, WM_SIZE, (window->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    MAKELPARAM(static_cast<WORD>(RectWidth(window->client)),
                               static_cast<WORD>(RectHeight(window->client))));
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        return;
    }
    if (window->style & WS_MAXIMIZE) {
        window->style &= ~WS_MAXIMIZE;
        RECT r = window->normalRect;
        SetWindowPos(hwnd, nullptr, r.left, r.top, RectWidth(r), RectHeight(r),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (!window->IsChild())
            CurrentBackend().WindowShown(hwnd, ShowState::Normal);
    }
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int command)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    bool was = (window->style & WS_VISIBLE) != 0;
    bool top = !window->IsChild();
    if (command == SW_HIDE) {
        if (!was)
            return 0;
        SendMessage(hwnd, WM_SHOWWINDOW, 0, 0);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kQuietChange | SWP_HIDEWINDOW);
        if (HWND focus = GetFocus(); focus && (focus == hwnd || IsChild(hwnd, focus)))
            SetFocus(top ? nullptr : window->parent);
        if (top && GetActiveWindow() == hwnd)
            SetActiveWindow(internal::NextWindowToActivate(hwnd));
        return 1;
    }
    if (!was) {
        SendMessage(hwnd, WM_SHOWWINDOW, 1, 0);
        if (!IsWindow(hwnd))
            return 0;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kQuietChange | SWP_SHOWWINDOW);
    }
    bool activate = top;
    switch (command) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        Minimize(hwnd, command == SW_SHOWMINIMIZED);
        activate = command == SW_SHOWMINIMIZED && top;
        break;
    case SW_SHOWMAXIMIZED: Maximize(hwnd); break;
    case SW_RESTORE:
    case SW_SHOWNORMAL: Restore(hwnd); break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE: activate = false; break;
    default: break;
    }
    if (activate && IsWindow(hwnd) && IsWindowEnabled(hwnd))
        SetActiveWindow(hwnd);
    return was ? 1 : 0;
}

BOOL IsWindowVisible(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    while (window) {
        if (!(window->style & WS_VISIBLE))
            return 0;
        if (!window->IsChild())
            return 1;
        window = FindWindow(window->parent);
    }
    return 0;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    bool wasDisabled = (window->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        SetStyleBits(hwnd, 0, WS_DISABLED);
        SendMessage(hwnd, WM_ENABLE, 1, 0);
    } else if (!enable && !wasDisabled) {
        SetStyleBits(hwnd, WS_DISABLED, 0);
        SendMessage(hwnd, WM_CANCELMODE, 0, 0);
        if (HWND focus = GetFocus(); focus && (focus == hwnd || IsChild(hwnd, focus)))
            SetFocus(nullptr);
        if (HWND capture = GetCapture(); capture && (capture == hwnd || IsChild(hwnd, capture)))
            ReleaseCapture();
        SendMessage(hwnd, WM_ENABLE, 0, 0);
    }
    return wasDisabled ? 1 : 0;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    return window && !(window->style & WS_DISABLED) ? 1 : 0;
}

BOOL IsIconic(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    return window && (window->style & WS_MINIMIZE) ? 1 : 0;
}

}  // namespace win
