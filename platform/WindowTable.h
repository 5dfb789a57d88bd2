// The window layer's own records. Only platform code includes this.
//
// A window's fields are read and written on its owner thread only; other
// threads reach a window through PostMessage/SendMessage, which need nothing
// but the owner's thread id (fixed at creation).
#pragma once

#include "platform/Window.h"

#include <memory>
#include <string>
#include <vector>

namespace win::internal {

struct WindowClass {
    std::wstring name;
    WNDCLASS wc;
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
    RECT rect;                        // in parent client coordinates
    bool destroying = false;
};

std::shared_ptr<WindowData> FindWindow(HWND hwnd);
std::shared_ptr<const WindowClass> FindClass(const std::wstring& name);

}  // namespace win::internal
