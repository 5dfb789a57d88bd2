#include "platform/messaging/WindowHooks.h"

#include <atomic>

namespace win::internal {

namespace {
constinit std::atomic<const WindowHooks*> g_hooks{nullptr};
constinit const WindowHooks kNone{};
}  // namespace

const WindowHooks* SetWindowHooks(const WindowHooks* hooks)
{
    return g_hooks.exchange(hooks, std::memory_order_acq_rel);
}

const WindowHooks& WindowLayer()
{
    const WindowHooks* hooks = g_hooks.load(std::memory_order_acquire);
    return hooks ? *hooks : kNone;
}

DWORD OwnerThreadOf(HWND hwnd)
{
    const auto& layer = WindowLayer();
    return hwnd && layer.ownerThread ? layer.ownerThread(hwnd) : 0;
}

LRESULT DeliverToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto& layer = WindowLayer();
    return layer.deliver ? layer.deliver(hwnd, message, wParam, lParam) : 0;
}

}  // namespace win::internal
