// Pop-up menus and the system menu. The back-end shows them; the window
// layer keeps their items.
#pragma once

#include "platform/core/Types.h"

#include <string>

namespace win {

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

BOOL DestroyMenu(HMENU menu);
// `item` is the command id, or the sub-menu for MF_POPUP.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
// -1 for a separator or a sub-menu, or when there is no such item.
UINT GetMenuItemID(HMENU menu, int position);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
std::wstring GetMenuString(HMENU menu, UINT item, UINT flags);
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);

// The window's system menu (Restore, Move, Size, Minimize, Maximize, a
// separator, Close, with the entries its styles do not allow greyed),
// created on first use; the program may append to it. `revert` drops
// additions and returns null.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

// Shows the menu at a screen point. With TPM_RETURNCMD the chosen id comes
// back (0 when dismissed); otherwise the choice is posted to `owner` as
// WM_COMMAND and the result tells whether something was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);

}  // namespace win
