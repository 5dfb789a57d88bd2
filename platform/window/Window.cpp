#include "platform/window/Window.h"

#include "platform/backend/Backend.h"
#include "platform/core/HandleTable.h"
#include "platform/core/Strings.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/messaging/ThreadQueue.h"
#include "platform/messaging/WindowHooks.h"
#include "platform/window/Paint.h"
#include "platform/window/internal/WindowTable.h"

#include <algorithm>
#include <atomic>
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

std::mutex g_topMutex;
std::vector<HWND>& TopLevels()
{
    static auto* tops = new std::vector<HWND>;
    return *tops;
}

}  // namespace

WindowData::~WindowData()
{
    if (shape)
        cairo_region_destroy(shape);
    if (update)
        cairo_region_destroy(update);
    if (surface)
        cairo_surface_destroy(surface);
}

std::shared_ptr<WindowData> FindWindow(HWND hwnd)
{
    return Windows().Find(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::vector<HWND> TopLevelWindows()
{
    std::lock_guard lock(g_topMutex);
    return TopLevels();
}

void RaiseTopLevel(HWND hwnd)
{
    std::lock_guard lock(g_topMutex);
    auto& tops = TopLevels();
    auto it = std::find(tops.begin(), tops.end(), hwnd);
    if (it == tops.end() || it == tops.begin())
        return;
    tops.erase(it);
    tops.insert(tops.begin(), hwnd);
}

}  // namespace internal

using internal::FindWindow;

namespace {

RECT InitialRect(int x, int y, int width, int height, bool child)
{
    static std::atomic<int> cascade{0};
    if (x == CW_USEDEFAULT) {
        int step = child ? 0 : cascade++ % 8;
        x = child ? 0 : 80 + 24 * step;
        y = child ? 0 : 60 + 24 * step;
    }
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : 480;
        height = child ? 0 : 320;
    }
    return {x, y, x + std::max(0, width), y + std::max(0, height)};
}

void SendSizeAndMove(HWND hwnd, const internal::WindowData& window)
{
    SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<WORD>(window.client.right - window.client.left),
                           static_cast<WORD>(window.client.bottom - window.client.top)));
    SendMessage(hwnd, WM_MOVE, 0,
                MAKEPOINTLPARAM(window.rect.left + window.client.left,
                                window.rect.top + window.client.top));
}

}  // namespace

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
    bool child = (style & WS_CHILD) != 0;
    if (child && !parentData)
        return nullptr;
    if (parentData && parentData->thread != GetCurrentThreadId() && child)
        return nullptr;
    // A top-level window is owned by the top-level window of whatever it
    // was given as parent.
    if (!child && parent)
        parent = internal::TopLevelOf(parent);

    auto window = std::make_shared<internal::WindowData>();
    window->thread = GetCurrentThreadId();
    window->cls = cls;
    window->proc = cls->wc.lpfnWndProc;
    window->style = style & ~WS_VISIBLE;
    window->exStyle = exStyle;
    window->id = child ? reinterpret_cast<LONG_PTR>(menu) : 0;
    window->instance = instance;
    window->parent = parent;
    window->extra.assign(static_cast<std::size_t>(std::max(0, cls->wc.cbWndExtra)), 0);
    window->rect = InitialRect(x, y, width, height, child);
    window->client = {0, 0, window->Width(), window->Height()};
    window->normalRect = window->rect;
    HWND hwnd = reinterpret_cast<HWND>(internal::Windows().Insert(window));
    window->self = hwnd;
    internal::CurrentQueue();
    if (child) {
        parentData->children.push_back(hwnd);
        // A visible child shows as soon as it exists, like on Windows.
        window->style |= style & WS_VISIBLE;
    } else {
        std::lock_guard lock(internal::g_topMutex);
        internal::TopLevels().insert(internal::TopLevels().begin(), hwnd);
    }
    internal::OnWindowCreated(*window);

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = window->Width();
    cs.cy = window->Height();
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
    internal::RecalcClientArea(hwnd);
    if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    SendSizeAndMove(hwnd, *window);
    if (!IsWindow(hwnd))
        return nullptr;
    if (child && (window->style & WS_VISIBLE))
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    else if (!child && (style & WS_VISIBLE))
        ShowWindow(hwnd, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

namespace {

void DestroyTree(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    if (!window || window->destroying)
        return;
    window->destroying = true;
    if (!window->IsChild()) {
        // Owned windows go first, as they would be left without an owner.
        for (HWND other : internal::TopLevelWindows())
            if (other != hwnd && GetWindow(other, GW_OWNER) == hwnd)
                DestroyTree(other);
    }
    internal::PrepareForDestruction(hwnd);
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    // Children go after their parent heard WM_DESTROY and before its
    // WM_NCDESTROY, which is the last message a window receives.
    auto children = window->children;
    for (HWND child : children)
        DestroyTree(child);
    if (auto queue = internal::QueueOf(window->thread))
        queue->KillTimersOf(hwnd);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    internal::OnWindowDestroyed(*window);
    if (window->IsChild()) {
        if (auto parent = FindWindow(window->parent)) {
            std::erase(parent->children, hwnd);
            if (!parent->destroying && (window->style & WS_VISIBLE)) {
                RECT area = window->rect;
                InvalidateRect(window->parent, &area, 1);
            }
        }
    } else {
        std::lock_guard lock(internal::g_topMutex);
        std::erase(internal::TopLevels(), hwnd);
    }
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

namespace internal {

void DestroyWindowsOfCurrentThread()
{
    DWORD self = GetCurrentThreadId();
    for (HWND hwnd : TopLevelWindows()) {
        auto window = FindWindow(hwnd);
        if (window && window->thread == self)
            DestroyWindow(hwnd);
    }
}

}  // namespace internal

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
    case GWLP_HWNDPARENT:
        if (!window->IsChild())
            window->parent = internal::TopLevelOf(reinterpret_cast<HWND>(value));
        return old;
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

namespace {

LRESULT DeliverOnOwnerThread(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto window = FindWindow(hwnd);
    if (!window || window->thread != GetCurrentThreadId())
        return 0;
    return CallWindowProc(window->proc, hwnd, message, wParam, lParam);
}

const internal::WindowHooks kWindowHooks{
    .ownerThread = [](HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr); },
    .deliver = DeliverOnOwnerThread,
    .nextInput = internal::NextInputMessage,
    .translate = internal::TranslateKeyMessage,
    .nextToPaint = internal::NextWindowToPaint,
    .threadEnding = internal::DestroyWindowsOfCurrentThread,
};

// The message core calls into this layer only through these hooks; they
// are in place as soon as the library is loaded, before any window exists.
struct HookRegistration {
    HookRegistration() { internal::SetWindowHooks(&kWindowHooks); }
} g_hookRegistration;

}  // namespace

}  // namespace win
