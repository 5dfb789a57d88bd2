// Hooks a window's message procedure so that an object sees every message
// first. Several objects may hook one window: the newest sees a message
// first and passes what it does not handle on with Default, to the next
// newest and finally to the window's own procedure. One process-wide table
// maps each hooked window to its newest hook; all of it belongs to the
// thread that owns the windows.
#pragma once

#include "platform/core/Types.h"

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    virtual ~CSubclassWnd();
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // The object's view of a message to its window; the base passes it on.
    virtual win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);

    // Takes the object off the window it hooks (if any); then, with a
    // window, hooks that one. True when `hwnd` (if given) is now hooked.
    bool HookWindow(win::HWND hwnd);
    win::HWND HookedWindow() const { return hooked_; }
    bool IsHooked() const { return hooked_ != nullptr; }

protected:
    // The current message handed to the next hook, or to the procedure that
    // was there before the first hook.
    win::LRESULT Default();
    // The message being handled on this thread.
    static const win::MSG& CurrentMessage();

private:
    static win::LRESULT HookProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam,
                                  win::LPARAM lParam);
    void Unhook();

    win::HWND hooked_ = nullptr;
    win::WNDPROC previous_ = nullptr;
    CSubclassWnd* next_ = nullptr;
};
