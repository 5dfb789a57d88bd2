// The plain flat look of our standard controls: colours, shapes and the
// bits of state and behaviour every control shares. Only platform code
// includes this.
#pragma once

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gdi.h"
#include "platform/messaging/Messages.h"
#include "platform/window/WindowRecord.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <memory>
#include <string>

namespace win::internal {

namespace theme {
constexpr COLORREF kAccent = RGB(0, 103, 192);
constexpr COLORREF kAccentHot = RGB(25, 117, 197);
constexpr COLORREF kAccentPressed = RGB(0, 84, 158);
constexpr COLORREF kText = RGB(27, 27, 27);
constexpr COLORREF kDisabledText = RGB(160, 160, 160);
constexpr COLORREF kFace = RGB(253, 253, 253);
constexpr COLORREF kFaceHot = RGB(240, 240, 240);
constexpr COLORREF kFacePressed = RGB(234, 234, 234);
constexpr COLORREF kFaceDisabled = RGB(245, 245, 245);
constexpr COLORREF kBorder = RGB(200, 200, 200);
constexpr COLORREF kBorderStrong = RGB(138, 138, 138);
constexpr COLORREF kBorderDisabled = RGB(208, 208, 208);
constexpr COLORREF kLine = RGB(215, 215, 215);
constexpr COLORREF kTrack = RGB(228, 228, 228);
constexpr COLORREF kField = RGB(255, 255, 255);
}  // namespace theme

// What every control we draw keeps: the font the dialog gave it.
struct ControlState : ExtraState {
    HFONT font = nullptr;
};

// Handles WM_SETFONT / WM_GETFONT for a control; true when it did.
bool HandleFontMessage(HWND hwnd, ControlState& state, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result);

// What every control procedure does first: make its state at WM_NCCREATE,
// find it for every later message and answer the font messages. True when
// the message is handled and `result` is the answer; otherwise `state` is
// the control's.
template <class State>
bool HandleCommonControlMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, State*& state,
                                LRESULT& result)
{
    if (message == WM_NCCREATE) {
        if (auto window = FindWindow(hwnd))
            window->control = std::make_unique<State>();
        result = DefWindowProc(hwnd, message, wParam, lParam);
        return true;
    }
    state = ControlOf<State>(hwnd);
    if (!state) {
        result = DefWindowProc(hwnd, message, wParam, lParam);
        return true;
    }
    return HandleFontMessage(hwnd, *state, message, wParam, lParam, &result);
}

void RoundedPath(cairo_t* cr, double x, double y, double w, double h, double r);
void FillRounded(cairo_t* cr, double x, double y, double w, double h, double r, COLORREF color);
// A one-pixel outline inside the rectangle.
void StrokeRounded(cairo_t* cr, double x, double y, double w, double h, double r, COLORREF color);

// Paints the client area with the colour the parent chooses for this kind
// of control (WM_CTLCOLORBTN / WM_CTLCOLORSTATIC / WM_CTLCOLOREDIT).
void FillParentBackground(HWND hwnd, HDC dc, UINT ctlColorMessage, const RECT& rect);
// Draws text in the control's font; `format` as DrawText.
void DrawLabel(HDC dc, HFONT font, const std::wstring& text, RECT rect, UINT format, COLORREF color);
int TextHeight(HFONT font);
int TextWidth(HFONT font, const std::wstring& text);
// WM_COMMAND to the parent with the control's id and a notification code.
void NotifyParent(HWND control, WORD code);

}  // namespace win::internal
