// The progress bar: "msctls_progress32".
#include "platform/controls/Controls.h"
#include "platform/controls/internal/Theme.h"
#include "platform/core/Rect.h"
#include "platform/graphics/CairoDc.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <utility>

namespace win::internal {

namespace {

struct ProgressState : ControlState {
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
};

// A range given the wrong way round is kept as given (the program may set
// one); positions then stay within it all the same.
int Clamp(const ProgressState& s, long long pos)
{
    long long lo = std::min(s.low, s.high), hi = std::max(s.low, s.high);
    return static_cast<int>(std::clamp(pos, lo, hi));
}

double Fraction(const ProgressState& s)
{
    if (s.high <= s.low)
        return 0;
    return (static_cast<double>(s.pos) - s.low) / (static_cast<double>(s.high) - s.low);
}

void Paint(HWND hwnd, const ProgressState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    cairo_t* cr = CairoOf(dc);
    RECT r;
    GetClientRect(hwnd, &r);
    FillParentBackground(hwnd, dc, WM_CTLCOLORSTATIC, r);
    double w = RectWidth(r), h = RectHeight(r);
    double radius = std::min(4.0, h / 2);
    FillRounded(cr, 0, 0, w, h, radius, theme::kTrack);
    double filled = std::round(w * std::clamp(Fraction(state), 0.0, 1.0));
    if (filled > 0) {
        cairo_save(cr);
        RoundedPath(cr, 0, 0, w, h, radius);
        cairo_clip(cr);
        FillRounded(cr, 0, 0, std::max(filled, std::min(w, 2 * radius)), h, radius,
                    IsWindowEnabled(hwnd) ? theme::kAccent : RGB(170, 170, 170));
        cairo_restore(cr);
    }
    // A text of its own ("3 of 12") is drawn over the bar, centred.
    // Light over the filled part, dark over the rest, so it reads on both.
    std::wstring text = GetWindowText(hwnd);
    if (!text.empty()) {
        constexpr UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
        bool enabled = IsWindowEnabled(hwnd);
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, filled, h);
        cairo_clip(cr);
        DrawLabel(dc, state.font, text, r, format, RGB(255, 255, 255));
        cairo_restore(cr);
        cairo_save(cr);
        cairo_rectangle(cr, filled, 0, w - filled, h);
        cairo_clip(cr);
        DrawLabel(dc, state.font, text, r, format, enabled ? theme::kText : theme::kDisabledText);
        cairo_restore(cr);
    }
    NoteDrawn(dc, r);
    EndPaint(hwnd, &ps);
}

LRESULT SetPos(HWND hwnd, ProgressState& state, long long pos)
{
    int old = state.pos;
    state.pos = Clamp(state, pos);
    if (state.pos != old)
        InvalidateRect(hwnd, nullptr, 0);
    return old;
}

LRESULT SetRange(HWND hwnd, ProgressState& state, int low, int high)
{
    LRESULT old = MAKELONG(static_cast<WORD>(state.low), static_cast<WORD>(state.high));
    state.low = low;
    state.high = high;
    state.pos = Clamp(state, state.pos);
    InvalidateRect(hwnd, nullptr, 0);
    return old;
}

LRESULT ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ProgressState* state = nullptr;
    LRESULT result = 0;
    if (HandleCommonControlMessage(hwnd, message, wParam, lParam, state, result))
        return result;
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd, *state); return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, 0); return 0;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, 0);
        return r;
    }
    case PBM_SETRANGE:
        return SetRange(hwnd, *state, static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))),
                        static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))));
    case PBM_SETRANGE32:
        return SetRange(hwnd, *state, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_SETPOS: return SetPos(hwnd, *state, static_cast<int>(wParam));
    case PBM_DELTAPOS: return SetPos(hwnd, *state, static_cast<long long>(state->pos) + static_cast<int>(wParam));
    case PBM_SETSTEP: return std::exchange(state->step, static_cast<int>(wParam));
    case PBM_STEPIT: {
        long long next = static_cast<long long>(state->pos) + state->step;
        // Stepping past the end starts over, as Windows does.
        if (next > std::max(state->low, state->high))
            next = std::min(state->low, state->high);
        return SetPos(hwnd, *state, next);
    }
    case PBM_GETRANGE: {
        if (auto* range = reinterpret_cast<PBRANGE*>(lParam))
            *range = {state->low, state->high};
        return wParam ? state->low : state->high;
    }
    case PBM_GETPOS: return state->pos;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC ProgressWindowProc() { return ProgressProc; }

}  // namespace win::internal
