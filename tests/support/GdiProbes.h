// What tests look at in regions, bitmaps and text, asked only through the
// calls the programs make themselves.
#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Whether the pixel at (x, y) belongs to the region.
inline bool RegionHas(win::HRGN region, int x, int y)
{
    win::HRGN probe = win::CreateRectRgn(x, y, x + 1, y + 1);
    int kind = win::CombineRgn(probe, probe, region, win::RGN_AND);
    win::DeleteObject(probe);
    return kind == win::SIMPLEREGION || kind == win::COMPLEXREGION;
}

// NULLREGION, SIMPLEREGION or COMPLEXREGION; ERROR_REGION for no region.
inline int RegionKind(win::HRGN region)
{
    win::HRGN copy = win::CreateRectRgn(0, 0, 0, 0);
    int kind = win::CombineRgn(copy, region, nullptr, win::RGN_COPY);
    win::DeleteObject(copy);
    return kind;
}

// 0xAARRGGBB, not premultiplied; 0 outside the bitmap.
inline std::uint32_t BitmapPixel(win::HBITMAP bitmap, int x, int y)
{
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    if (!win::GetBitmapPixels(bitmap, &pixels, &width, &height) || x < 0 || y < 0 || x >= width ||
        y >= height)
        return 0;
    return pixels[static_cast<std::size_t>(y) * width + x];
}

// The room `text` takes on one line in the DC's font.
inline win::SIZE TextExtent(win::HDC dc, const std::wstring& text)
{
    win::RECT r{0, 0, 0, 0};
    win::DrawText(dc, text.c_str(), -1, &r, win::DT_CALCRECT | win::DT_SINGLELINE | win::DT_NOPREFIX);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace testing_support
