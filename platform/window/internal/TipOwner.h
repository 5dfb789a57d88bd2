// The window whose tip shows: it goes when the pointer leaves that window
// and its children.
#pragma once

#include "platform/core/Types.h"

namespace win::internal {

// Every pointer event, with the window it goes to (null: none of ours).
void TipPointerOver(HWND target);

}  // namespace win::internal
