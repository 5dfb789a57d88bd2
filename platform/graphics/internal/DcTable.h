// Device context records. Only the graphics files include this.
#pragma once

#include "platform/graphics/internal/GdiTable.h"

namespace win::internal {

struct DcState {
    cairo_t* cr = nullptr;
    // A window DC draws on its top-level window's surface, translated to the
    // window (or its client area) and clipped to what of it is visible.
    HWND window = nullptr;
    HWND top = nullptr;
    POINT origin;                    // DC (0, 0) in the top-level surface
    cairo_region_t* baseClip = nullptr;  // DC coordinates; null = unclipped
    cairo_region_t* userClip = nullptr;  // DC coordinates; null = none
    // A memory DC draws into its selected bitmap.
    std::shared_ptr<GdiObject> bitmap;
    HBITMAP bitmapHandle = nullptr;
    HFONT font = nullptr;
    HBRUSH brush = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = 2;                  // OPAQUE
    bool drew = false;
    RECT drawn;                      // DC coordinates, bounding box

    ~DcState();
};

std::shared_ptr<DcState> DcOf(HDC dc);
// Re-applies the base and user clips to the cairo context.
void ApplyClip(DcState& dc);

}  // namespace win::internal
