// Tab goes through a window's controls the way the eye reads them: row by
// row, left to right. The skin places the controls where it likes, so the
// order is taken from where they ended up, not from the template.
#pragma once

#include "platform/core/Types.h"

namespace tab_order {

// Reorders the tab-stop children of `window` by their place on screen
// (the other children keep theirs, ahead of them).
void FollowPlaces(win::HWND window);

}  // namespace tab_order
