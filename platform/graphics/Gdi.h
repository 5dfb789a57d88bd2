// Graphics objects: colours, brushes and the operations every kind of object
// shares (select into a device context, delete). Bitmaps, regions, fonts and
// device contexts have their own headers.
#pragma once

#include "platform/core/Types.h"

namespace win {

// System colour indices.
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_HOTLIGHT = 26;

COLORREF GetSysColor(int index);
// Shared brushes of the system colours; DeleteObject leaves them alone.
HBRUSH GetSysColorBrush(int index);
HBRUSH CreateSolidBrush(COLORREF color);

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int DEFAULT_GUI_FONT = 17;
HGDIOBJ GetStockObject(int which);

// Selects a bitmap, font or brush into a device context and returns the one
// it replaces (null on failure). Regions are copied into the clip instead.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Frees an object; stock objects and objects still selected somewhere stay
// usable until released.
BOOL DeleteObject(HGDIOBJ object);

}  // namespace win
