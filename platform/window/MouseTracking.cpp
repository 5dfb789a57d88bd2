#include "platform/window/MouseTracking.h"

#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Window.h"
#include "platform/window/internal/InputState.h"

#include <algorithm>
#include <cstdlib>

namespace win {

using internal::InputState;
using internal::ThreadInput;
using internal::Tracking;

namespace {

constexpr UINT_PTR kHoverTimer = 0xFFFF0001u;
constexpr int kHoverDistance = 4;

void HoverTimerProc(HWND hwnd, UINT, UINT_PTR, DWORD);

}  // namespace

namespace internal {

void EndTracking(ThreadInput& state, bool sendLeave)
{
    Tracking t = state.tracking;
    state.tracking = {};
    if (t.hwnd && (t.flags & TME_HOVER))
        KillTimer(t.hwnd, kHoverTimer);
    if (sendLeave && t.hwnd && (t.flags & TME_LEAVE))
        PostMessage(t.hwnd, (t.flags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

void UpdateTracking(ThreadInput& state, HWND target, LRESULT hit)
{
    Tracking& t = state.tracking;
    if (!t.hwnd)
        return;
    bool nonClient = (t.flags & TME_NONCLIENT) != 0;
    bool inside = target == t.hwnd && (nonClient ? hit != HTCLIENT : hit == HTCLIENT);
    if (!inside) {
        EndTracking(state, true);
        return;
    }
    if ((t.flags & TME_HOVER) && (std::abs(state.cursor.x - t.hoverAnchor.x) > kHoverDistance / 2 ||
                                  std::abs(state.cursor.y - t.hoverAnchor.y) > kHoverDistance / 2)) {
        t.hoverAnchor = state.cursor;
        SetTimer(t.hwnd, kHoverTimer, t.hoverTime, HoverTimerProc);
    }
}

}  // namespace internal

namespace {

void HoverTimerProc(HWND hwnd, UINT, UINT_PTR, DWORD)
{
    auto& state = InputState();
    KillTimer(hwnd, kHoverTimer);
    if (state.tracking.hwnd != hwnd || !(state.tracking.flags & TME_HOVER))
        return;
    state.tracking.flags &= ~TME_HOVER;
    POINT pt = state.cursor;
    bool nonClient = (state.tracking.flags & TME_NONCLIENT) != 0;
    if (!nonClient)
        ScreenToClient(hwnd, &pt);
    PostMessage(hwnd, nonClient ? WM_NCMOUSEHOVER : WM_MOUSEHOVER, internal::KeyFlags(state),
                MAKEPOINTLPARAM(pt.x, pt.y));
    if (!(state.tracking.flags & TME_LEAVE))
        state.tracking = {};
}

}  // namespace

HWND SetCapture(HWND hwnd)
{
    auto& state = InputState();
    HWND old = state.capture && IsWindow(state.capture) ? state.capture : nullptr;
    if (hwnd && GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId())
        return nullptr;
    state.capture = hwnd;
    if (old && old != hwnd)
        SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture()
{
    auto& state = InputState();
    HWND old = state.capture;
    state.capture = nullptr;
    if (old && IsWindow(old))
        SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return 1;
}

HWND GetCapture()
{
    auto& state = InputState();
    if (state.capture && !IsWindow(state.capture))
        state.capture = nullptr;
    return state.capture;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request)
{
    if (!request)
        return 0;
    auto& state = InputState();
    if (request->dwFlags & TME_QUERY) {
        request->dwFlags = state.tracking.flags;
        request->hwndTrack = state.tracking.hwnd;
        request->dwHoverTime = state.tracking.hoverTime;
        return 1;
    }
    if (!IsWindow(request->hwndTrack))
        return 0;
    if (request->dwFlags & TME_CANCEL) {
        if (state.tracking.hwnd == request->hwndTrack) {
            state.tracking.flags &= ~(request->dwFlags & (TME_HOVER | TME_LEAVE));
            if (!(state.tracking.flags & (TME_HOVER | TME_LEAVE)))
                internal::EndTracking(state, false);
        }
        return 1;
    }
    bool nonClient = (request->dwFlags & TME_NONCLIENT) != 0;
    // Where is the pointer now? A request for a window it is not over is
    // answered with a leave at once, as on Windows.
    LRESULT hit = HTNOWHERE;
    HWND under = nullptr;
    if (HWND top = internal::TopAt(state.cursor))
        under = internal::HitWindow(top, state.cursor, &hit);
    bool inside = under == request->hwndTrack && (nonClient ? hit != HTCLIENT : hit == HTCLIENT);
    if (state.tracking.hwnd && state.tracking.hwnd != request->hwndTrack)
        internal::EndTracking(state, true);
    if (!inside) {
        if (request->dwFlags & TME_LEAVE)
            PostMessage(request->hwndTrack, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        return 1;
    }
    Tracking& t = state.tracking;
    t.hwnd = request->hwndTrack;
    t.flags = (t.flags & ~TME_NONCLIENT) | (request->dwFlags & (TME_HOVER | TME_LEAVE | TME_NONCLIENT));
    if (request->dwFlags & TME_HOVER) {
        t.hoverTime = request->dwHoverTime == HOVER_DEFAULT ? 400 : std::max<DWORD>(1, request->dwHoverTime);
        t.hoverAnchor = state.cursor;
        SetTimer(t.hwnd, kHoverTimer, t.hoverTime, HoverTimerProc);
    }
    return 1;
}

}  // namespace win
