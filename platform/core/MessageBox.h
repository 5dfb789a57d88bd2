// Message boxes: questions a person answers outside our windows, asked
// through whatever back-end registered to answer them.
#pragma once

#include "platform/core/Types.h"

namespace win {

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_TYPEMASK = 0xF;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Asks through the current back-end; callable from any thread.
int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// The same with a check box labelled `checkText` under the text; `*checked`
// gives its first state and receives the last (left alone when the box
// cannot be shown).
int MessageBoxWithCheck(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, LPCWSTR checkText, BOOL* checked);

}  // namespace win
