#include "platform/backend/Backend.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/core/MessageBoxHook.h"
#include "platform/core/Strings.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/WindowRecord.h"

#include <atomic>

namespace win {

namespace {
std::atomic<Backend*> g_backend{nullptr};
}

Backend& CurrentBackend()
{
    Backend* backend = g_backend.load(std::memory_order_acquire);
    return backend ? *backend : Headless();
}

void SetBackend(Backend* backend) { g_backend.store(backend, std::memory_order_release); }

namespace {

int AskBackend(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, LPCWSTR checkText, BOOL* checked)
{
    if (!checkText)
        return CurrentBackend().MessageBox(owner, text, caption, type);
    bool ticked = *checked != 0;
    int answer = CurrentBackend().MessageBoxWithCheck(owner, text, caption, type, checkText, &ticked);
    *checked = ticked ? 1 : 0;
    return answer;
}

// MessageBox lives in the core, which asks whoever registered; that is the
// current back-end from the moment this library is loaded.
struct MessageBoxRegistration {
    MessageBoxRegistration() { internal::SetMessageBoxHook(AskBackend); }
} g_messageBoxRegistration;

}  // namespace

void PumpPendingMessages()
{
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
}

BOOL SaveWindowPng(HWND hwnd, const std::wstring& path)
{
    HWND top = internal::TopLevelOf(hwnd);
    auto window = internal::FindWindow(top);
    if (!window)
        return 0;
    // Paint what is pending first, so the file shows the current state.
    MSG msg;
    for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++guard)
        DispatchMessage(&msg);
    if (!window->surface)
        return 0;
    cairo_surface_flush(window->surface);
    return cairo_surface_write_to_png(window->surface, ToUtf8(path).c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace win
