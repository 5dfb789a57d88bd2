// Pointer shapes, handed to the back-end to show.
#pragma once

#include "platform/core/Types.h"

namespace win {

// Pointer shapes: the cursor handles are the Windows resource numbers.
inline const LPCWSTR IDC_ARROW = reinterpret_cast<LPCWSTR>(32512);
inline const LPCWSTR IDC_IBEAM = reinterpret_cast<LPCWSTR>(32513);
inline const LPCWSTR IDC_WAIT = reinterpret_cast<LPCWSTR>(32514);
inline const LPCWSTR IDC_CROSS = reinterpret_cast<LPCWSTR>(32515);
inline const LPCWSTR IDC_SIZEALL = reinterpret_cast<LPCWSTR>(32646);
inline const LPCWSTR IDC_HAND = reinterpret_cast<LPCWSTR>(32649);
HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR name);
HCURSOR SetCursor(HCURSOR cursor);
int CursorShapeOf(HCURSOR cursor);  // the resource number

}  // namespace win
