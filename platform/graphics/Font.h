// Fonts and text. Every face is drawn by Pango; sizes are at 96 pixels per
// inch, so a point is 96/72 pixels on every screen.
#pragma once

#include "platform/core/Types.h"

#include <string>

namespace win {

constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

struct LOGFONT {
    // Negative: the character (em) height in pixels; positive: the cell
    // height (ascent + descent); 0: the default 8 points.
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    WCHAR lfFaceName[32] = L"sans-serif";
};

HFONT CreateFontIndirect(const LOGFONT* font);
// The generic sans-serif family at a size in points (at 96 dpi).
HFONT CreatePointFont(double points, LONG weight, BOOL italic);

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_EDITCONTROL = 0x2000;
constexpr UINT DT_PATH_ELLIPSIS = 0x4000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;

// Draws text in the DC's font and text colour; "&x" marks a mnemonic (the
// "&" is not drawn) unless DT_NOPREFIX. Returns the text's height; with
// DT_CALCRECT nothing is drawn and `rect` receives the text's extent.
int DrawText(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format);

}  // namespace win
