// Invalid regions and painting. A window's invalid area is repainted when
// its thread finds nothing else to do (WM_PAINT after posted messages);
// repainting a window also repaints what lies over it, children included,
// because everything draws into one surface per top-level window.
#pragma once

#include "platform/core/Types.h"

namespace win {

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = 0;  // the background still needs erasing
    RECT rcPaint;     // client coordinates
    BOOL fRestore = 0;
    BOOL fIncUpdate = 0;
    BYTE rgbReserved[32] = {};
};

// Rectangles and regions are in client coordinates; null means the whole
// client area. Owner thread only.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);

constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

// RDW_FRAME with neither rectangle nor region covers the whole window,
// frame included; RDW_UPDATENOW paints the window and its descendants now.
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
// Sends WM_PAINT at once when the window has an invalid area.
BOOL UpdateWindow(HWND hwnd);

// Sends WM_NCPAINT and WM_ERASEBKGND as needed, validates the window and
// returns a DC clipped to what was invalid.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);

}  // namespace win
