// A window's record, for the parts of the platform that keep state in it
// (the standard controls, dialogs) or draw and present it (graphics, the
// back-ends).
//
// A window's fields are read and written on its owner thread only; other
// threads reach a window through PostMessage/SendMessage, which need nothing
// but the owner's thread id (fixed at creation).
#pragma once

#include "platform/window/Window.h"

#include <cairo.h>
#include <memory>
#include <string>
#include <vector>

namespace win::internal {

struct WindowClass;

// Per-window state of the controls and dialogs we implement ourselves.
struct ExtraState {
    virtual ~ExtraState() = default;
};

struct WindowData {
    HWND self = nullptr;
    DWORD thread = 0;
    std::shared_ptr<const WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;            // parent for children, owner for top-level windows
    std::vector<HWND> children;       // z-order, top first
    std::wstring text;
    std::vector<unsigned char> extra; // cbWndExtra bytes
    RECT rect;                        // in parent client coordinates (screen for top-level)
    RECT client;                      // client area in window coordinates
    bool destroying = false;

    cairo_region_t* shape = nullptr;  // window region, window coordinates
    cairo_region_t* update = nullptr; // invalid area, window coordinates
    bool erase = false;               // the next BeginPaint erases first
    bool frameDirty = false;          // the next BeginPaint sends WM_NCPAINT
    cairo_surface_t* surface = nullptr;  // top-level windows: what they show

    RECT normalRect;                  // placement to restore from minimised/maximised
    HICON icons[2] = {nullptr, nullptr};
    HMENU systemMenu = nullptr;
    LRESULT pressedHit = 0;           // caption button held down
    LRESULT hotHit = 0;               // caption button under the pointer
    bool ncActive = false;            // the frame is drawn as active
    std::unique_ptr<ExtraState> control;
    std::unique_ptr<ExtraState> dialog;

    WindowData() = default;
    WindowData(const WindowData&) = delete;
    WindowData& operator=(const WindowData&) = delete;
    ~WindowData();

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

std::shared_ptr<WindowData> FindWindow(HWND hwnd);

template <class T>
T* ControlOf(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    return window ? dynamic_cast<T*>(window->control.get()) : nullptr;
}

// The top-level window a window belongs to (itself when top-level).
HWND TopLevelOf(HWND hwnd);
// Offset of the window's top-left corner within its top-level window.
POINT OriginInTop(HWND hwnd);

// Painting: the parts of a window that can be seen, in window coordinates
// (the client area only when `client`); never null.
cairo_region_t* VisibleRegion(HWND hwnd, bool client);
// Gives a top-level window a surface of its current size.
void ResizeSurface(WindowData& window);

// The standard controls' classes, registered before the first window.
void RegisterSystemClasses();

}  // namespace win::internal
