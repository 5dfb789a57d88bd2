#include "platform/window/WindowClass.h"

#include "platform/window/Window.h"

#include "platform/core/Strings.h"
#include "platform/window/internal/WindowTable.h"

#include <map>
#include <mutex>

namespace win {

namespace internal {

namespace {

std::mutex g_classMutex;
std::map<std::wstring, std::shared_ptr<const WindowClass>>& Classes()
{
    static auto* classes = new std::map<std::wstring, std::shared_ptr<const WindowClass>>;
    return *classes;
}

std::wstring ClassKey(LPCWSTR name) { return ToLower(name ? name : L""); }

}  // namespace

std::shared_ptr<const WindowClass> FindClass(const std::wstring& name)
{
    RegisterSystemClasses();
    std::lock_guard lock(g_classMutex);
    auto it = Classes().find(ClassKey(name.c_str()));
    return it == Classes().end() ? nullptr : it->second;
}

}  // namespace internal

using internal::FindWindow;

ATOM RegisterClass(const WNDCLASS* wc)
{
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName || !wc->lpfnWndProc)
        return 0;
    internal::RegisterSystemClasses();
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

ULONG_PTR GetClassLongPtr(HWND hwnd, int index)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(window->cls->wc.hbrBackground);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(window->cls->wc.hCursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(window->cls->wc.hIcon);
    case GCL_STYLE: return window->cls->wc.style;
    }
    return 0;
}

}  // namespace win
