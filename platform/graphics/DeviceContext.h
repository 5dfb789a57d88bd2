// Device contexts: where drawing goes. A window's DC is a cairo context on
// its top-level window's surface, offset to the window (or its client area)
// and clipped to what of the window can be seen; a memory DC draws into the
// bitmap selected into it.
#pragma once

#include "platform/core/Types.h"

namespace win {

HDC GetWindowDC(HWND hwnd);  // the whole window, frame included
int ReleaseDC(HWND hwnd, HDC dc);

// A DC that draws into the bitmap selected into it (SelectObject).
HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC dc);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);

// Clipping within what the DC may touch at all. Results are region kinds.
int SelectClipRgn(HDC dc, HRGN region);

}  // namespace win
