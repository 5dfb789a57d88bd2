// The window tree: parents, owners, children in z-order, ids.
#pragma once

#include "platform/core/Types.h"

namespace win {

constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;

using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

// The parent of a child window, the owner of a top-level one.
HWND GetParent(HWND hwnd);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT command);
BOOL IsChild(HWND parent, HWND hwnd);
// Every descendant, depth first, each window's children in z-order (top
// first); stops when the callback returns FALSE.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam);
// The top-level windows of every thread, topmost first.
BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);

}  // namespace win
