// Dialogs built from our own template form: a rectangle and controls in
// dialog units (a unit is fixed from the dialog font, as on Windows: a
// quarter of its average character width across, an eighth of its height
// down), run modally with a nested message loop or created modeless.
// Navigation and item access have headers of their own, included here.
#pragma once

#include "platform/core/Types.h"
#include "platform/dialogs/DialogItems.h"
#include "platform/dialogs/DialogManager.h"

#include <string>
#include <vector>

namespace win {

struct DialogItemTemplate {
    std::wstring className;  // "Button", "Static", "Edit", "ComboBox", ...
    std::wstring text;
    int id = 0;
    // Exactly the styles the control gets (WS_CHILD is implied).
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    // Strings a list or combo box is filled with when it is created.
    std::vector<std::wstring> initStrings;
};

// One control at a rectangle in dialog units, with exactly `style`.
DialogItemTemplate DialogItem(LPCWSTR className, LPCWSTR text, int id, DWORD style, int x, int y, int cx, int cy);

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units; cx, cy: the client area
    std::wstring title;
    double pointSize = 8;              // the dialog font: sans-serif at this size
    std::vector<DialogItemTemplate> items;
};

constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_CONTROL = 0x400;
constexpr DWORD DS_CENTER = 0x800;

// Window words of a dialog.
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = 8;
constexpr int DWLP_USER = 16;
constexpr int DLGWINDOWEXTRA = 48;

constexpr UINT DM_GETDEFID = 0x0400;
constexpr UINT DM_SETDEFID = 0x0401;
constexpr WORD DC_HASDEFID = 0x534B;

// A dialog procedure returns TRUE when it handled the message; its result
// (where there is one) goes into DWLP_MSGRESULT.
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// Runs the dialog until EndDialog: the owner is disabled meanwhile, the
// dialog gets WM_INITDIALOG (lParam = param) and every control WM_GETDLGCODE
// before it shows. Returns EndDialog's result, -1 when it cannot be created.
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND owner,
                               DLGPROC proc, LPARAM param);
// A modeless dialog (or, with WS_CHILD, a page inside another window).
HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND owner,
                               DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win
