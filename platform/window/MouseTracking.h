// Where the mouse goes: capture, and the leave and hover notifications
// TrackMouseEvent asks for.
#pragma once

#include "platform/core/Types.h"

namespace win {

// While a window has the capture, every mouse message of its thread goes
// to it as a client message, wherever the pointer is.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_NONCLIENT = 0x00000010;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = HOVER_DEFAULT;
};
// Posts one WM_MOUSELEAVE when the pointer leaves the window (its client
// area, or its frame with TME_NONCLIENT) and one WM_MOUSEHOVER when it
// rests on it; each request is answered once.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);

}  // namespace win
