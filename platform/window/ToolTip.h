// Tips: a short text beside the pointer while it rests on a window that
// shows less than it knows (a cut name, why something failed). The
// back-end shows it the desktop's way.
#pragma once

#include "platform/core/Types.h"

#include <string>

namespace win {

// Shows `text` as the tip of `window`, which the pointer is on; empty
// hides it.
void ShowToolTip(HWND window, const std::wstring& text);

}  // namespace win
