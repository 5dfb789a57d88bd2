#include "platform/window/WindowTree.h"

#include "platform/window/Window.h"

#include "platform/window/internal/WindowTable.h"

#include <algorithm>

namespace win {

namespace internal {

HWND TopLevelOf(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    while (window && window->IsChild()) {
        hwnd = window->parent;
        window = FindWindow(hwnd);
    }
    return window ? hwnd : nullptr;
}

POINT OriginInTop(HWND hwnd)
{
    POINT origin;
    auto window = FindWindow(hwnd);
    while (window && window->IsChild()) {
        origin.x += window->rect.left;
        origin.y += window->rect.top;
        window = FindWindow(window->parent);
        if (!window)
            break;
        origin.x += window->client.left;
        origin.y += window->client.top;
    }
    return origin;
}

void CollectPaintOrder(HWND hwnd, std::vector<HWND>* out)
{
    auto window = FindWindow(hwnd);
    // Nothing under a hidden window is painted: a list of thousands of
    // hidden rows costs nothing per paint.
    if (!window || !(window->style & WS_VISIBLE))
        return;
    out->push_back(hwnd);
    for (auto it = window->children.rbegin(); it != window->children.rend(); ++it)
        CollectPaintOrder(*it, out);
}

}  // namespace internal

using internal::FindWindow;

HWND GetParent(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    return window ? window->parent : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return nullptr;
    switch (flags) {
    case GA_PARENT: return window->IsChild() ? window->parent : nullptr;
    case GA_ROOT: return internal::TopLevelOf(hwnd);
    case GA_ROOTOWNER: {
        HWND root = internal::TopLevelOf(hwnd);
        while (HWND owner = GetParent(root))
            root = owner;
        return root;
    }
    }
    return nullptr;
}

HWND GetWindow(HWND hwnd, UINT command)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return nullptr;
    if (command == GW_CHILD)
        return window->children.empty() ? nullptr : window->children.front();
    if (command == GW_OWNER)
        return window->IsChild() ? nullptr : window->parent;
    std::vector<HWND> siblings;
    if (window->IsChild()) {
        auto parent = FindWindow(window->parent);
        if (!parent)
            return nullptr;
        siblings = parent->children;
    } else {
        siblings = internal::TopLevelWindows();
    }
    auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (command) {
    case GW_HWNDFIRST: return siblings.empty() ? nullptr : siblings.front();
    case GW_HWNDLAST: return siblings.empty() ? nullptr : siblings.back();
    case GW_HWNDNEXT: return it == siblings.end() || it + 1 == siblings.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == siblings.begin() || it == siblings.end() ? nullptr : *(it - 1);
    }
    return nullptr;
}

BOOL IsChild(HWND parent, HWND hwnd)
{
    auto window = FindWindow(hwnd);
    while (window && window->IsChild()) {
        if (window->parent == parent)
            return 1;
        window = FindWindow(window->parent);
    }
    return 0;
}

namespace {

// Walks a snapshot of each level, so windows created or destroyed by the
// callback do not upset the walk.
bool EnumLevel(HWND parent, WNDENUMPROC callback, LPARAM lParam)
{
    auto window = FindWindow(parent);
    if (!window)
        return true;
    auto children = window->children;
    for (HWND child : children) {
        if (!IsWindow(child))
            continue;
        if (!callback(child, lParam))
            return false;
        if (!EnumLevel(child, callback, lParam))
            return false;
    }
    return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam)
{
    if (!callback || !IsWindow(parent))
        return 0;
    EnumLevel(parent, callback, lParam);
    return 1;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam)
{
    if (!callback)
        return 0;
    for (HWND top : internal::TopLevelWindows())
        if (IsWindow(top) && !callback(top, lParam))
            break;
    return 1;
}

HWND GetDlgItem(HWND parent, int id)
{
    auto window = FindWindow(parent);
    if (!window)
        return nullptr;
    for (HWND child : window->children) {
        auto data = FindWindow(child);
        if (data && data->id == id)
            return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    return window && window->IsChild() ? static_cast<int>(window->id) : 0;
}

}  // namespace win
