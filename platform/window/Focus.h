// Activation and keyboard focus, per thread as on Windows: the active
// window is a top-level window of the thread; the focus window is it or one
// of its descendants and receives the keyboard messages.
#pragma once

#include "platform/core/Types.h"

namespace win {

// WM_KILLFOCUS to the old window, WM_SETFOCUS to the new one; activates
// the new window's top-level window first. Returns the previous focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// WM_NCACTIVATE and WM_ACTIVATE to the old and the new window; returns the
// previously active window.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();

}  // namespace win

namespace win::internal {

// Activation that the pointer caused (WA_CLICKACTIVE).
void ActivateByClick(HWND top);
// The window manager gave or took the focus of a top-level window.
void ActivateFromBackend(HWND top, bool active);
// Another window to activate when `leaving` is hidden or destroyed.
HWND NextWindowToActivate(HWND leaving);

}  // namespace win::internal
