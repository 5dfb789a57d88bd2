// Showing, hiding, minimising, maximising and enabling windows.
#pragma once

#include "platform/core/Types.h"

namespace win {

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

// Returns whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int command);
// The window and all its ancestors have WS_VISIBLE.
BOOL IsWindowVisible(HWND hwnd);
// Returns whether the window was disabled before; sends WM_ENABLE on change.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsIconic(HWND hwnd);

}  // namespace win
