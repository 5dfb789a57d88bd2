// What the message core needs from the window layer, reached through hooks
// the window layer registers when it is loaded, so that the core links no
// window or graphics code. In a program without the window layer no handle
// names a window: messages for windows are refused as for a destroyed one.
#pragma once

#include "platform/core/Types.h"

namespace win::internal {

class ThreadQueue;

struct WindowHooks {
    // The thread that owns the window, 0 when there is no such window.
    DWORD (*ownerThread)(HWND hwnd) = nullptr;
    // Calls the window procedure; on the owner thread.
    LRESULT (*deliver)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
    // The next input message of the calling thread (raw input translated).
    bool (*nextInput)(ThreadQueue& queue, MSG* out, HWND filter, UINT min, UINT max,
                      bool remove) = nullptr;
    // Posts the WM_CHAR a translated key types; TranslateMessage.
    BOOL (*translate)(const MSG* msg) = nullptr;
    // The next window of the calling thread that needs WM_PAINT, or null.
    HWND (*nextToPaint)(HWND filter) = nullptr;
    // Destroys the windows the calling thread still owns; it is ending.
    void (*threadEnding)() = nullptr;
};

// Not copied: `hooks` must stay alive while registered. Null removes them.
// Returns the hooks registered before.
const WindowHooks* SetWindowHooks(const WindowHooks* hooks);
// The registered hooks; an empty set when there are none.
const WindowHooks& WindowLayer();

// The two the message functions use most.
DWORD OwnerThreadOf(HWND hwnd);
LRESULT DeliverToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win::internal
