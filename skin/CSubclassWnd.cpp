#include "skin/CSubclassWnd.h"

#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"

#include <unordered_map>

namespace {

// Window → its newest hook. Touched only on the thread owning the windows.
std::unordered_map<win::HWND, CSubclassWnd*>& HookTable()
{
    static auto* table = new std::unordered_map<win::HWND, CSubclassWnd*>;
    return *table;
}

thread_local win::MSG t_current;

}  // namespace

CSubclassWnd::~CSubclassWnd() { Unhook(); }

const win::MSG& CSubclassWnd::CurrentMessage() { return t_current; }

win::LRESULT CSubclassWnd::WindowProc(win::UINT, win::WPARAM, win::LPARAM) { return Default(); }

bool CSubclassWnd::HookWindow(win::HWND hwnd)
{
    Unhook();
    if (!hwnd || !win::IsWindow(hwnd))
        return hwnd == nullptr;
    auto& table = HookTable();
    auto newest = table.find(hwnd);
    if (newest != table.end()) {
        next_ = newest->second;
        previous_ = newest->second->previous_;
    } else {
        next_ = nullptr;
        previous_ = reinterpret_cast<win::WNDPROC>(
            win::SetWindowLongPtr(hwnd, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&HookProc)));
    }
    table[hwnd] = this;
    hooked_ = hwnd;
    return true;
}

void CSubclassWnd::Unhook()
{
    if (!hooked_)
        return;
    auto& table = HookTable();
    auto newest = table.find(hooked_);
    if (newest != table.end() && newest->second == this) {
        if (next_) {
            newest->second = next_;
        } else {
            table.erase(newest);
            if (win::IsWindow(hooked_))
                win::SetWindowLongPtr(hooked_, win::GWLP_WNDPROC,
                                      reinterpret_cast<win::LONG_PTR>(previous_));
        }
    } else if (newest != table.end()) {
        for (CSubclassWnd* h = newest->second; h; h = h->next_) {
            if (h->next_ == this) {
                h->next_ = next_;
                break;
            }
        }
    }
    hooked_ = nullptr;
    previous_ = nullptr;
    next_ = nullptr;
}

win::LRESULT CSubclassWnd::Default()
{
    const win::MSG& m = t_current;
    if (next_)
        return next_->WindowProc(m.message, m.wParam, m.lParam);
    if (previous_)
        return win::CallWindowProc(previous_, m.hwnd, m.message, m.wParam, m.lParam);
    return win::DefWindowProc(m.hwnd, m.message, m.wParam, m.lParam);
}

win::LRESULT CSubclassWnd::HookProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam,
                                    win::LPARAM lParam)
{
    win::MSG saved = t_current;
    t_current = {hwnd, message, wParam, lParam, 0, {}};
    win::LRESULT result = 0;
    auto& table = HookTable();
    auto newest = table.find(hwnd);
    if (newest == table.end()) {
        result = win::DefWindowProc(hwnd, message, wParam, lParam);
    } else if (message == win::WM_NCDESTROY) {
        // The window's last message: every hook lets go, and the original
        // procedure sees the message as if nobody had hooked it.
        win::WNDPROC original = newest->second->previous_;
        while (table.count(hwnd))
            table[hwnd]->Unhook();
        result = original ? win::CallWindowProc(original, hwnd, message, wParam, lParam)
                          : win::DefWindowProc(hwnd, message, wParam, lParam);
    } else {
        result = newest->second->WindowProc(message, wParam, lParam);
    }
    t_current = saved;
    return result;
}
