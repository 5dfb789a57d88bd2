#include "skin/FocusRing.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Gdi.h"

#include <vector>

namespace focus_ring {

win::COLORREF ColourFor(std::uint32_t face)
{
    int r = (face >> 16) & 0xFF, g = (face >> 8) & 0xFF, b = face & 0xFF;
    int luminance = (299 * r + 587 * g + 114 * b) / 1000;
    return luminance > 140 ? win::RGB(32, 32, 32) : win::RGB(255, 255, 255);
}

std::uint32_t CentreOf(win::HBITMAP bitmap)
{
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    if (!bitmap || !win::GetBitmapPixels(bitmap, &pixels, &width, &height) || pixels.empty())
        return 0;
    return pixels[static_cast<std::size_t>(height / 2) * width + width / 2];
}

void Draw(win::HDC dc, win::RECT rect, int inset, win::COLORREF colour)
{
    win::HBRUSH brush = win::CreateSolidBrush(colour);
    for (int i = 0; i < 2; ++i) {
        win::RECT ring{rect.left + inset + i, rect.top + inset + i, rect.right - inset - i, rect.bottom - inset - i};
        if (ring.right > ring.left && ring.bottom > ring.top)
            win::FrameRect(dc, &ring, brush);
    }
    win::DeleteObject(brush);
}

}  // namespace focus_ring
