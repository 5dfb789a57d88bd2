#include "platform/core/MessageBox.h"

#include "platform/core/MessageBoxHook.h"

#include <atomic>

namespace win {

namespace {
constinit std::atomic<internal::MessageBoxHook> g_hook{nullptr};
}

namespace internal {

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    return g_hook.exchange(hook, std::memory_order_acq_rel);
}

}  // namespace internal

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    // Nobody to ask: fail as a message box that cannot be shown does.
    auto hook = g_hook.load(std::memory_order_acquire);
    return hook ? hook(owner, text ? text : L"", caption ? caption : L"", type, nullptr, nullptr) : 0;
}

int MessageBoxWithCheck(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, LPCWSTR checkText, BOOL* checked)
{
    auto hook = g_hook.load(std::memory_order_acquire);
    if (!hook)
        return 0;
    BOOL ignored = 0;
    return hook(owner, text ? text : L"", caption ? caption : L"", type, checkText ? checkText : L"",
                checked ? checked : &ignored);
}

}  // namespace win
