// The keyboard's place on a skinned control: a two-pixel ring just inside
// its edge, dark on a light face and light on a dark one, so it shows on
// whatever the skin paints.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>

namespace focus_ring {

// The ring's colour for a face whose typical pixel is `face` (0xAARRGGBB).
win::COLORREF ColourFor(std::uint32_t face);
// The typical pixel of a bitmap: the one at its centre.
std::uint32_t CentreOf(win::HBITMAP bitmap);
// Draws the ring `inset` pixels inside `rect`.
void Draw(win::HDC dc, win::RECT rect, int inset, win::COLORREF colour);

}  // namespace focus_ring
