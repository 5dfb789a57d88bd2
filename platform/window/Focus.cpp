#include "platform/window/Focus.h"

#include "platform/backend/Backend.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Window.h"
#include "platform/window/internal/WindowTable.h"

namespace win {

namespace {

thread_local HWND t_active = nullptr;
thread_local HWND t_focus = nullptr;
thread_local bool t_fromBackend = false;

bool OwnedHere(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId(); }

HWND Activate(HWND hwnd, WORD how)
{
    hwnd = internal::TopLevelOf(hwnd);
    if (hwnd && !OwnedHere(hwnd))
        return nullptr;
    HWND old = t_active;
    if (old == hwnd)
        return old;
    t_active = hwnd;
    if (old && IsWindow(old)) {
        SendMessage(old, WM_NCACTIVATE, 0, 0);
        SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                    reinterpret_cast<LPARAM>(hwnd));
    }
    if (t_active != hwnd)
        return old;
    if (!hwnd) {
        SetFocus(nullptr);
        return old;
    }
    internal::RaiseTopLevel(hwnd);
    if (!t_fromBackend)
        CurrentBackend().WindowActivated(hwnd);
    SendMessage(hwnd, WM_NCACTIVATE, 1, 0);
    SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0), reinterpret_cast<LPARAM>(old));
    return old;
}

}  // namespace

HWND SetFocus(HWND hwnd)
{
    if (hwnd && (!IsWindow(hwnd) || !OwnedHere(hwnd) || !IsWindowEnabled(hwnd)))
        return nullptr;
    HWND old = t_focus;
    if (hwnd == old)
        return old;
    if (hwnd) {
        HWND top = internal::TopLevelOf(hwnd);
        if (top != t_active)
            Activate(top, WA_ACTIVE);
        old = t_focus;
        if (old == hwnd)
            return old;
    }
    t_focus = hwnd;
    if (old && IsWindow(old))
        SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (t_focus == hwnd && hwnd && IsWindow(hwnd))
        SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus()
{
    if (t_focus && !IsWindow(t_focus))
        t_focus = nullptr;
    return t_focus;
}

HWND SetActiveWindow(HWND hwnd) { return Activate(hwnd, WA_ACTIVE); }

HWND GetActiveWindow()
{
    if (t_active && !IsWindow(t_active))
        t_active = nullptr;
    return t_active;
}

namespace internal {

void ActivateByClick(HWND top) { Activate(top, WA_CLICKACTIVE); }

HWND NextWindowToActivate(HWND leaving)
{
    HWND owner = GetWindow(leaving, GW_OWNER);
    if (owner && IsWindowVisible(owner) && IsWindowEnabled(owner))
        return owner;
    for (HWND top : TopLevelWindows())
        if (top != leaving && OwnedHere(top) && IsWindowVisible(top) && IsWindowEnabled(top) &&
            !(GetWindowLong(top, GWL_STYLE) & WS_CHILD))
            return top;
    return nullptr;
}

void ActivateFromBackend(HWND top, bool active)
{
    if (!IsWindow(top) || !OwnedHere(top))
        return;
    t_fromBackend = true;
    if (active) {
        // A window disabled by a modal dialog hands the activation on to
        // the dialog, as Windows does.
        if (!IsWindowEnabled(top)) {
            for (HWND other : TopLevelWindows())
                if (GetWindow(other, GW_OWNER) == top && IsWindowVisible(other) && IsWindowEnabled(other)) {
                    t_fromBackend = false;
                    CurrentBackend().WindowActivated(other);
                    t_fromBackend = true;
                    top = other;
                    break;
                }
        }
        Activate(top, WA_ACTIVE);
    } else if (t_active == top) {
        Activate(nullptr, WA_INACTIVE);
    }
    t_fromBackend = false;
}

void ForgetFocusOf(HWND hwnd)
{
    if (t_focus == hwnd)
        t_focus = nullptr;
    if (t_active == hwnd)
        t_active = nullptr;
}

}  // namespace internal

}  // namespace win
