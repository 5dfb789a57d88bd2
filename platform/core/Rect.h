// Rectangle and point arithmetic. Rectangles include their left and top
// edges and exclude their right and bottom ones.
#pragma once

#include "platform/core/Types.h"

namespace win {

BOOL IsRectEmpty(const RECT* rect);
BOOL PtInRect(const RECT* rect, POINT pt);
BOOL OffsetRect(RECT* rect, int dx, int dy);
BOOL InflateRect(RECT* rect, int dx, int dy);

inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }

}  // namespace win
