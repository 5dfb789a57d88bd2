#include "platform/core/Rect.h"

#include <algorithm>

namespace win {

BOOL IsRectEmpty(const RECT* rect)
{
    return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL PtInRect(const RECT* rect, POINT pt)
{
    return rect && pt.x >= rect->left && pt.x < rect->right && pt.y >= rect->top &&
           pt.y < rect->bottom;
}

BOOL OffsetRect(RECT* rect, int dx, int dy)
{
    if (!rect)
        return 0;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return 1;
}

BOOL InflateRect(RECT* rect, int dx, int dy)
{
    if (!rect)
        return 0;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return 1;
}

}  // namespace win
