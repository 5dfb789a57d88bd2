#include "platform/window/DropFiles.h"

#include "platform/messaging/Message.h"
#include "platform/core/Rect.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace win {

struct DropList {
    std::vector<std::wstring> paths;
    POINT point{};  // client coordinates of the receiving window
};

void DragAcceptFiles(HWND hwnd, BOOL accept)
{
    auto exStyle = static_cast<DWORD>(GetWindowLong(hwnd, GWL_EXSTYLE));
    exStyle = accept ? exStyle | WS_EX_ACCEPTFILES : exStyle & ~WS_EX_ACCEPTFILES;
    SetWindowLong(hwnd, GWL_EXSTYLE, static_cast<LONG>(exStyle));
}

UINT DragQueryFile(HDROP drop, UINT index, LPWSTR buffer, UINT size)
{
    if (!drop)
        return 0;
    if (index == 0xFFFFFFFF)
        return static_cast<UINT>(drop->paths.size());
    if (index >= drop->paths.size())
        return 0;
    const std::wstring& path = drop->paths[index];
    if (buffer && size > 0) {
        std::size_t n = std::min<std::size_t>(path.size(), size - 1);
        std::copy_n(path.begin(), n, buffer);
        buffer[n] = L'\0';
        return static_cast<UINT>(n);
    }
    return static_cast<UINT>(path.size());
}

std::vector<std::wstring> DragQueryFiles(HDROP drop) { return drop ? drop->paths : std::vector<std::wstring>{}; }

BOOL DragQueryPoint(HDROP drop, POINT* client)
{
    if (!drop || !client)
        return 0;
    *client = drop->point;
    return 1;
}

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
    auto* drop = new DropList{paths, screen};
    ScreenToClient(target, &drop->point);
    if (PostMessage(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0))
        return 1;
    delete drop;
    return 0;
}

}  // namespace win
