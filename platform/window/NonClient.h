// The frame Windows would draw around a window, drawn by us in the flat
// look: a one-pixel border and, for top-level windows with a caption, a
// title bar with the window's title and its close (and minimise, maximise)
// buttons. Only platform code includes this.
#pragma once

#include "platform/core/Types.h"

namespace win::internal {

constexpr int kCaptionHeight = 30;
constexpr int kCaptionButtonWidth = 46;

struct FrameSize {
    int border = 0;
    int caption = 0;
};
FrameSize DefaultFrame(DWORD style, DWORD exStyle);

// Default handling of the non-client messages (DefWindowProc).
LRESULT DefNcCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam);
LRESULT DefNcHitTest(HWND hwnd, POINT screen);
void DefNcPaint(HWND hwnd);
LRESULT DefNcMouse(HWND hwnd, UINT message, WPARAM hit, LPARAM lParam);
LRESULT DefSysCommand(HWND hwnd, WPARAM command, LPARAM lParam);
// Shows the system menu at a screen point and carries out the choice.
void TrackSystemMenu(HWND hwnd, POINT screen);

}  // namespace win::internal
