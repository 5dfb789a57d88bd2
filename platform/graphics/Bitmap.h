// 32-bit ARGB bitmaps (8 bits each of alpha, red, green, blue): created
// empty, loaded from image files, drawn with alpha blending and no scaling,
// flattened onto a colour, read pixel by pixel.
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <vector>

namespace win {

// A transparent bitmap; null for a size below 1 or too large to allocate.
HBITMAP CreateARGBBitmap(int width, int height);
// A PNG or BMP file; null when the file is missing, is no such image, or
// its header is damaged or names a size past the limits of ImageHeader.h.
HBITMAP LoadImageFile(const std::wstring& path);
BOOL GetBitmapSize(HBITMAP bitmap, SIZE* size);

// Draws the source rectangle (srcX, srcY, width, height) of `bitmap` at
// (x, y) of the device context, blended over what is there, pixel for pixel.
BOOL DrawBitmap(HDC dc, int x, int y, HBITMAP bitmap, int srcX, int srcY, int width, int height);
// Covers the rectangle (x, y, width, height) with copies of `bitmap` side by
// side, the first at (x, y), blended over what is there, pixel for pixel.
BOOL TileBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap);

// Pixels as 0xAARRGGBB, not premultiplied, rows from the top.
BOOL GetBitmapPixels(HBITMAP bitmap, std::vector<std::uint32_t>* pixels, int* width, int* height);

}  // namespace win
