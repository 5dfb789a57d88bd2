// Device contexts: where drawing goes. A window's DC is a cairo context on
// its top-level window's surface, offset to the window (or its client area)
// and clipped to what of the window can be seen; a memory DC draws into the
// bitmap selected into it.
#pragma once

#include "platform/core/Types.h"

namespace win {

HDC GetDC(HWND hwnd);        // the client area
HDC GetWindowDC(HWND hwnd);  // the whole window, frame included
int ReleaseDC(HWND hwnd, HDC dc);

// A DC that draws into the bitmap selected into it (SelectObject).
HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC dc);

constexpr DWORD SRCCOPY = 0x00CC0020;
// Copies pixels, alpha included, replacing what is under them.
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
    BYTE BlendOp = AC_SRC_OVER;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = AC_SRC_ALPHA;
};
// Blends the source rectangle over the destination one, scaling when the
// sizes differ.
BOOL AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, BLENDFUNCTION blend);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);

// Clipping within what the DC may touch at all. Results are region kinds.
int SelectClipRgn(HDC dc, HRGN region);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, RECT* box);

}  // namespace win
