// The window layer's own tables and the steps its files share. Only the
// window files include this.
#pragma once

#include "platform/window/WindowRecord.h"

#include <memory>
#include <string>
#include <vector>

namespace win::internal {

struct WindowClass {
    std::wstring name;
    WNDCLASS wc;
};

std::shared_ptr<const WindowClass> FindClass(const std::wstring& name);

// Top-level windows of all threads, topmost first.
std::vector<HWND> TopLevelWindows();
void RaiseTopLevel(HWND hwnd);

// The window's descendants in painting order: parents before children,
// siblings from the bottom of the z-order up.
void CollectPaintOrder(HWND hwnd, std::vector<HWND>* out);

// Hooks of the other parts of the layer into creation and destruction.
void OnWindowCreated(WindowData& window);
void OnWindowDestroyed(WindowData& window);

}  // namespace win::internal

namespace win::internal {

// Geometry: asks the window for its client area (WM_NCCALCSIZE).
void RecalcClientArea(HWND hwnd);
// Focus, capture and activation leave a window that is about to go.
void PrepareForDestruction(HWND hwnd);
// Marks [area] (window coordinates, consumed) for repainting, with what
// lies over it.
void InvalidateWindowArea(HWND hwnd, cairo_region_t* area, bool erase);
// The next window of this thread that needs WM_PAINT, or null.
HWND NextWindowToPaint(HWND filter);

class ThreadQueue;
// The next input message of this thread: raw input turned into messages.
bool NextInputMessage(ThreadQueue& queue, MSG* out, HWND filter, UINT min, UINT max, bool remove);
// Posts the WM_CHAR a key typed, for TranslateMessage.
BOOL TranslateKeyMessage(const MSG* msg);
// Destroys the windows this thread still owns; it is ending.
void DestroyWindowsOfCurrentThread();

}  // namespace win::internal
