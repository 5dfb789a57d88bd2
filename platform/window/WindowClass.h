// Window classes: the procedure, styles and defaults windows are made from.
#pragma once

#include "platform/core/Types.h"

namespace win {

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    // A brush, or a system colour index + 1 cast to a brush.
    HBRUSH hbrBackground = nullptr;
    LPCWSTR lpszMenuName = nullptr;
    LPCWSTR lpszClassName = nullptr;
};

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_DROPSHADOW = 0x00020000;

constexpr int GCLP_HBRBACKGROUND = -10;
constexpr int GCLP_HCURSOR = -12;
constexpr int GCLP_HICON = -14;
constexpr int GCL_STYLE = -26;

ATOM RegisterClass(const WNDCLASS* wc);
BOOL GetClassInfo(HINSTANCE instance, LPCWSTR className, WNDCLASS* out);
int GetClassName(HWND hwnd, LPWSTR buffer, int maxCount);
ULONG_PTR GetClassLongPtr(HWND hwnd, int index);

}  // namespace win
