// The back-end that answers message boxes registers itself here, so that
// code of the core alone (the engine's overwrite question) can ask one
// without linking the window layer.
#pragma once

#include "platform/core/Types.h"

namespace win::internal {

// `checkText` is null for a box without a check box.
using MessageBoxHook = int (*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, LPCWSTR checkText,
                               BOOL* checked);

// Returns the hook registered before; null removes it.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

}  // namespace win::internal
