// The cairo context behind a device context, for the parts of the platform
// that draw with cairo on our DCs (the standard controls, the window frame).
#pragma once

#include "platform/core/Types.h"

#include <cairo.h>

namespace win::internal {

cairo_t* CairoOf(HDC dc);
// Records that [rect] (DC coordinates) changed, so the back-end can show it.
void NoteDrawn(HDC dc, RECT rect);
// A DC on a window; the clip (window coordinates) is consumed. `client`
// puts the origin at the client area's corner.
HDC MakeWindowDc(HWND hwnd, bool client, cairo_region_t* clipInWindow);
void SetSourceColor(cairo_t* cr, COLORREF color, double alpha = 1.0);

}  // namespace win::internal
