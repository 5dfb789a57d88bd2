// What a window does with a message its procedure passes on: painting the
// frame and background, hit-testing, the caption buttons, text and icons.
#pragma once

#include "platform/core/Types.h"

namespace win {

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win
