// Reading and setting a dialog's controls by id.
#pragma once

#include "platform/core/Types.h"

#include <string>

namespace win {

BOOL SetDlgItemText(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPWSTR buffer, int maxCount);
std::wstring GetDlgItemText(HWND dialog, int id);
// The leading integer of the item's text; `translated` tells whether there
// was one.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `check` and unchecks the other buttons with ids first … last.
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win
