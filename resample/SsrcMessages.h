// What the resampler tells the main window; all posted, never sent.
#pragma once

#include "platform/core/Types.h"

constexpr win::UINT WM_SSRC_START = 4025;     // wParam 0: resampling of a file begins
constexpr win::UINT WM_SSRC_PROGRESS = 4026;  // wParam: whole percent done (up-sampling only)
constexpr win::UINT WM_SSRC_DONE = 4027;      // wParam 0: the file is finished, converted or not
