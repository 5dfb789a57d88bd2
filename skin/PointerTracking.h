// The skinned controls light up under the pointer: each asks to hear when
// the pointer leaves it, or rests on it, after a millisecond.
#pragma once

#include "platform/window/Input.h"

inline bool TrackLeaveAndRest(win::HWND window)
{
    win::TRACKMOUSEEVENT track;
    track.dwFlags = win::TME_LEAVE | win::TME_HOVER;
    track.hwndTrack = window;
    track.dwHoverTime = 1;
    return win::TrackMouseEvent(&track) != 0;
}
