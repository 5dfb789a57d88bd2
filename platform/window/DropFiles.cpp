#include "platform/window/DropFiles.h"

#include "platform/messaging/Message.h"
#include "platform/core/Rect.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace win {

struct DropList {
    std::vector<std::wstring> paths;
};

void DragAcceptFiles(HWND hwnd, BOOL accept)
{
    auto exStyle = static_cast<DWORD>(GetWindowLong(hwnd, GWL_EXSTYLE));
    exStyle = accept ? exStyle | WS_EX_ACCEPTFILES : exStyle & ~WS_EX_ACCEPTFILES;
    SetWindowLong(hwnd, GWL_EXSTYLE, static_cast<LONG>(exStyle));
}

std::vector<std::wstring> DragQueryFiles(HDROP drop) { return drop ? drop->paths : std::vector<std::wstring>{}; }

void DragFinish(HDROP drop) { delete drop; }

namespace {

// The visible window at a screen point: the top-most top-level window that
// holds it, then down through the children that hold it.
HWND VisibleWindowAt(POINT screen)
{
    struct Search {
        POINT at;
        HWND found = nullptr;
    } search{screen};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            RECT r;
            if (IsWindowVisible(hwnd) && GetWindowRect(hwnd, &r) && PtInRect(&r, s->at)) {
                s->found = hwnd;
                return 0;
            }
            return 1;
        },
        reinterpret_cast<LPARAM>(&search));
    HWND hwnd = search.found;
    while (hwnd) {
        POINT client = screen;
        ScreenToClient(hwnd, &client);
        HWND child = ChildWindowFromPoint(hwnd, client);
        if (!child || child == hwnd || !IsWindowVisible(child))
            break;
        hwnd = child;
    }
    return hwnd;
}

}  // namespace

BOOL DropFiles(POINT screen, const std::vector<std::wstring>& paths)
{
    HWND target = VisibleWindowAt(screen);
    while (target && !(static_cast<DWORD>(GetWindowLong(target, GWL_EXSTYLE)) & WS_EX_ACCEPTFILES))
        target = GetParent(target);
    if (!target || paths.empty())
        return 0;
    auto* drop = new DropList{paths};
    if (PostMessage(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0))
        return 1;
    delete drop;
    return 0;
}

}  // namespace win
