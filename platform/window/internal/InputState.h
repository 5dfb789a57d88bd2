// The input state of one thread, as Windows keeps it per input queue:
// capture, mouse tracking, the last click, key states, translated messages
// waiting to be read. Only the input files include this.
#pragma once

#include "platform/core/Types.h"

#include <deque>
#include <map>

namespace win::internal {

struct WindowData;

struct Tracking {
    HWND hwnd = nullptr;
    DWORD flags = 0;
    DWORD hoverTime = 400;
    POINT hoverAnchor;
};

struct LastClick {
    HWND hwnd = nullptr;
    UINT message = 0;
    DWORD time = 0;
    POINT screen;
};

struct ThreadInput {
    HWND capture = nullptr;
    Tracking tracking;
    LastClick lastClick;
    POINT cursor;
    bool keys[256] = {};
    std::map<UINT, wchar_t> pendingChars;
    std::deque<MSG> ready;
    HCURSOR cursorShape = nullptr;
};

// The calling thread's state.
ThreadInput& InputState();

// The visible top-level window of this thread under a screen point.
HWND TopAt(POINT screen);
// Whether the point lies in the window (and its shape, when it has one).
bool Contains(const WindowData& window, POINT screen);
// Asks the window where the point is; descends into its children when the
// answer is the client area. Disabled and hidden children are passed over,
// so their parent gets the input.
HWND HitWindow(HWND hwnd, POINT screen, LRESULT* hit);
// MK_* flags of the buttons and keys held down.
WPARAM KeyFlags(const ThreadInput& state);

// Mouse tracking follows the pointer: a leave when it left the tracked
// window, a fresh hover timer when it moved.
void UpdateTracking(ThreadInput& state, HWND target, LRESULT hit);
void EndTracking(ThreadInput& state, bool sendLeave);

}  // namespace win::internal
