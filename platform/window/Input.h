// Pointer and keyboard. A back-end feeds raw events (InjectPointer,
// InjectKey); the window layer turns them into messages when the owning
// thread reads its queue: WM_NCHITTEST finds the window under the pointer,
// WM_SETCURSOR lets it choose the pointer shape, then the client or
// non-client mouse message follows. Keys go to the focus window.
// Capture, mouse tracking and pointer shapes have headers of their own,
// included here.
#pragma once

#include "platform/core/Types.h"
#include "platform/window/Cursor.h"
#include "platform/window/MouseTracking.h"

namespace win {

// Virtual-key codes.
constexpr UINT VK_LBUTTON = 0x01;
constexpr UINT VK_RBUTTON = 0x02;
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F4 = 0x73;

SHORT GetKeyState(int virtualKey);
BOOL GetCursorPos(POINT* pt);
UINT GetDoubleClickTime();

// --- fed by back-ends (and tests) ---------------------------------------
// Wheel: `button` carries the turn, WHEEL_DELTA a notch, positive away
// from the user; the window under the pointer gets WM_MOUSEWHEEL.
enum class PointerEvent { Move, Down, Up, Leave, Wheel };
constexpr int WHEEL_DELTA = 120;
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM wParam) { return static_cast<short>(HIWORD(wParam)); }
constexpr UINT MOD_SHIFT_KEY = 1;
constexpr UINT MOD_CONTROL_KEY = 2;
constexpr UINT MOD_ALT_KEY = 4;
// `top` is the top-level window the event happened in (null: find it from
// the position); button 1 left, 2 right, 3 middle; screen coordinates.
void InjectPointer(HWND top, PointerEvent event, int button, POINT screen, UINT modifiers);
// `character` is what the key types (0 for none), delivered as WM_CHAR
// when the program translates the WM_KEYDOWN.
void InjectKey(HWND top, bool down, UINT virtualKey, wchar_t character, UINT modifiers);

}  // namespace win
