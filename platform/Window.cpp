#include "platform/Window.h"

#include "platform/HandleTable.h"
#include "platform/Message.h"
#include "platform/Messages.h"
#include "platform/Strings.h"
#include "platform/Thread.h"
#include "platform/ThreadQueue.h"
#include "platform/WindowTable.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace win {

namespace internal {

namespace {

HandleTable<WindowData>& Windows()
{
    static auto* table = new HandleTable<WindowData>;
    return *table;
}

std::mutex g_classMutex;
std::map<std::wstring, std::shared_ptr<const WindowClass>>& Classes()
{
    static auto* classes = new std::map<std::wstring, std::shared_ptr<const WindowClass>>;
    return *classes;
}

std::wstring ClassKey(LPCWSTR name) { return ToLower(name ? name : L""); }

}  // namespace

std::shared_ptr<WindowData> FindWindow(HWND hwnd)
{
    return Windows().Find(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::shared_ptr<const WindowClass> FindClass(const std::wstring& name)
{
    std::lock_guard lock(g_classMutex);
    auto it = Classes().find(ClassKey(name.c_str()));
    return it == Classes().end() ? nullptr : it->second;
}

LRESULT DeliverToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto window = FindWindow(hwnd);
    if (!window || window->thread != GetCurrentThreadId())
        return 0;
    return CallWindowProc(window->proc, hwnd, message, wParam, lParam);
}

}  // namespace internal

using internal::FindWindow;

ATOM RegisterClass(const WNDCLASS* wc)
{
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName || !wc->lpfnWndProc)
        return 0;
    auto cls = std::make_shared<internal::WindowClass>();
    cls->name = wc->lpszClassName;
    cls->wc = *wc;
    cls->wc.lpszClassName = cls->name.c_str();
    std::lock_guard lock(internal::g_classMutex);
    auto key = internal::ClassKey(wc->lpszClassName);
    if (internal::Classes().count(key))
        return 0;
    internal::Classes()[key] = cls;
    return static_cast<ATOM>(0xC000 + internal::Classes().size());
}

BOOL UnregisterClass(LPCWSTR className, HINSTANCE)
{
    std::lock_guard lock(internal::g_classMutex);
    return internal::Classes().erase(internal::ClassKey(className)) ? 1 : 0;
}

BOOL GetClassInfo(HINSTANCE, LPCWSTR className, WNDCLASS* out)
{
    auto cls = internal::FindClass(className ? className : L"");
    if (!cls || !out)
        return 0;
    *out = cls->wc;
    return 1;
}

int GetClassName(HWND hwnd, LPWSTR buffer, int maxCount)
{
    auto window = FindWindow(hwnd);
    if (!window || !buffer || maxCount <= 0)
        return 0;
    return CopyToBuffer(window->cls->name, buffer, maxCount);
}

HWND CreateWindowEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* param)
{
    auto cls = internal::FindClass(className ? className : L"");
    if (!cls)
        return nullptr;
    auto parentData = parent ? FindWindow(parent) : nullptr;
    if (parent && !parentData)
        return nullptr;
    if ((style & WS_CHILD) && !parentData)
        return nullptr;

    auto window = std::make_shared<internal::WindowData>();
    window->thread = GetCurrentThreadId();
    window->cls = cls;
    window->proc = cls->wc.lpfnWndProc;
    window->style = style;
    window->exStyle = exStyle;
    window->id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
    window->instance = instance;
    window->parent = parent;
    window->extra.assign(static_cast<std::size_t>(std::max(0, cls->wc.cbWndExtra)), 0);
    window->rect = {x == CW_USEDEFAULT ? 0 : x, y == CW_USEDEFAULT ? 0 : y,
                    (x == CW_USEDEFAULT ? 0 : x) + (width == CW_USEDEFAULT ? 0 : width),
                    (y == CW_USEDEFAULT ? 0 : y) + (height == CW_USEDEFAULT ? 0 : height)};
    HWND hwnd = reinterpret_cast<HWND>(internal::Windows().Insert(window));
    window->self = hwnd;
    internal::CurrentQueue();
    if (parentData && (style & WS_CHILD))
        parentData->children.push_back(hwnd);

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = window->rect.right - window->rect.left;
    cs.cy = window->rect.bottom - window->rect.top;
    cs.x = window->rect.left;
    cs.y = window->rect.top;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = cls->name.c_str();
    cs.dwExStyle = exStyle;
    if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    return IsWindow(hwnd) ? hwnd : nullptr;
}

namespace {

void DestroyTree(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    if (!window || window->destroying)
        return;
    window->destroying = true;
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    // Children go after their parent heard WM_DESTROY and before its
    // WM_NCDESTROY, which is the last message a window receives.
    auto children = window->children;
    for (HWND child : children)
        DestroyTree(child);
    if (auto queue = internal::QueueOf(window->thread))
        queue->KillTimersOf(hwnd);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    if (auto parent = FindWindow(window->parent))
        std::erase(parent->children, hwnd);
    internal::Windows().Remove(reinterpret_cast<std::uintptr_t>(hwnd));
}

}  // namespace

BOOL DestroyWindow(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    if (!window || window->thread != GetCurrentThreadId())
        return 0;
    DestroyTree(hwnd);
    return 1;
}

BOOL IsWindow(HWND hwnd) { return FindWindow(hwnd) ? 1 : 0; }

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    if (processId)
        *processId = 1;
    return window->thread;
}

HWND GetParent(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    return window ? window->parent : nullptr;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(window->parent);
    case GWLP_ID: return window->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(window->exStyle);
    case GWLP_USERDATA: return window->userData;
    }
    if (index >= 0 && std::size_t(index) + sizeof(LONG_PTR) <= window->extra.size()) {
        LONG_PTR value;
        std::memcpy(&value, window->extra.data() + index, sizeof value);
        return value;
    }
    return 0;
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWLP_WNDPROC:
        if (value)
            window->proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWLP_HINSTANCE: window->instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GWLP_ID: window->id = value; return old;
    case GWL_STYLE: window->style = static_cast<DWORD>(value); return old;
    case GWL_EXSTYLE: window->exStyle = static_cast<DWORD>(value); return old;
    case GWLP_USERDATA: window->userData = value; return old;
    }
    if (index >= 0 && std::size_t(index) + sizeof(LONG_PTR) <= window->extra.size())
        std::memcpy(window->extra.data() + index, &value, sizeof value);
    return old;
}

LONG GetWindowLong(HWND hwnd, int index)
{
    return static_cast<LONG>(GetWindowLongPtr(hwnd, index));
}

LONG SetWindowLong(HWND hwnd, int index, LONG value)
{
    // The style words are unsigned 32-bit values; keep them so when widening.
    LONG_PTR wide = (index == GWL_STYLE || index == GWL_EXSTYLE)
                        ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                        : static_cast<LONG_PTR>(value);
    return static_cast<LONG>(SetWindowLongPtr(hwnd, index, wide));
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    switch (message) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if (cs && cs->lpszName)
            window->text = cs->lpszName;
        return 1;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SETTEXT:
        window->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        return 1;
    case WM_GETTEXT:
        if (!lParam || wParam == 0)
            return 0;
        return CopyToBuffer(window->text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    }
    return 0;
}

BOOL SetWindowText(HWND hwnd, LPCWSTR text)
{
    return static_cast<BOOL>(SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowText(HWND hwnd, LPWSTR buffer, int maxCount)
{
    if (!buffer || maxCount <= 0)
        return 0;
    return static_cast<int>(
        SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd)
{
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

std::wstring GetWindowText(HWND hwnd)
{
    int length = GetWindowTextLength(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowText(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return text;
}

}  // namespace win
