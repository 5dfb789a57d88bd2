// Shared by the window tests: a window class that records what it hears,
// and helpers that act as the person at the (headless) screen.
#pragma once

#include "platform/backend/Backend.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"

#include <functional>
#include <map>
#include <vector>

namespace testing_windows {

using namespace win;

struct Heard {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Every message to a recording window is logged, then handled by the
// test's override for that message (if any) or by DefWindowProc.
class Recorder {
public:
    static Recorder& Instance();
    void Clear() { heard_.clear(); }
    std::vector<UINT> Of(HWND hwnd, std::vector<UINT> only = {}) const;
    const std::vector<Heard>& All() const { return heard_; }
    // Overrides one message of one window.
    void On(HWND hwnd, UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler);
    void Forget(HWND hwnd);

    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::vector<Heard> heard_;
    std::map<std::pair<HWND, UINT>, std::function<LRESULT(WPARAM, LPARAM)>> handlers_;
};

// Classes "Recorder" (no class styles) and "RecorderDbl" (CS_DBLCLKS),
// both with a white background.
HWND MakeTop(LPCWSTR cls, DWORD style, RECT rect, LPCWSTR text = L"top");
HWND MakeChild(HWND parent, LPCWSTR cls, DWORD style, RECT rect, int id);

void Pump();
POINT ScreenOf(HWND hwnd, int x, int y);
void MoveTo(HWND hwnd, int x, int y);
void Press(HWND hwnd, int x, int y, int button = 1);
void Release(HWND hwnd, int x, int y, int button = 1);
void Click(HWND hwnd, int x, int y);
// Types text into whatever has the focus (characters through WM_CHAR).
void Type(const std::wstring& text);
void Key(UINT vk, UINT modifiers = 0);

// The colour (0xRRGGBB) of a pixel of a top-level window as shown.
DWORD PixelAt(HWND top, int x, int y);

}  // namespace testing_windows
