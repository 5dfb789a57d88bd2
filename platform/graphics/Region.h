// Regions: sets of pixels built from rectangles, for window shapes and
// clipping.
#pragma once

#include "platform/core/Types.h"

namespace win {

constexpr int ERROR_REGION = 0;  // Windows calls it ERROR; glib owns that name
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// dst = a (op) b; dst may be a or b. Returns the kind of the result.
int CombineRgn(HRGN dst, HRGN a, HRGN b, int op);

}  // namespace win
