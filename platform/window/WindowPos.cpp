#include "platform/window/WindowPos.h"

#include "platform/window/Window.h"

#include "platform/backend/Backend.h"
#include "platform/core/Rect.h"
#include "platform/graphics/GdiObject.h"
#include "platform/graphics/Region.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Focus.h"
#include "platform/window/NonClient.h"
#include "platform/window/Paint.h"
#include "platform/window/internal/WindowTable.h"

#include <algorithm>

namespace win {

using internal::FindWindow;
using internal::WindowData;

// SetWindowPos tells WM_WINDOWPOSCHANGED whether the client area moved or
// changed size, so the default handling sends WM_MOVE and WM_SIZE only then.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

namespace internal {

void RecalcClientArea(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return;
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = window->rect;
    params.rgrc[1] = window->rect;
    params.rgrc[2] = window->client;
    OffsetRect(&params.rgrc[2], window->rect.left, window->rect.top);
    SendMessage(hwnd, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params));
    RECT client = params.rgrc[0];
    OffsetRect(&client, -window->rect.left, -window->rect.top);
    client.right = std::max(client.left, client.right);
    client.bottom = std::max(client.top, client.bottom);
    window->client = client;
}

}  // namespace internal

namespace {

void Reorder(WindowData& window, HWND insertAfter)
{
    HWND hwnd = window.self;
    if (!window.IsChild()) {
        if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST)
            internal::RaiseTopLevel(hwnd);
        return;
    }
    auto parent = FindWindow(window.parent);
    if (!parent)
        return;
    auto& list = parent->children;
    std::erase(list, hwnd);
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST) {
        list.insert(list.begin(), hwnd);
    } else if (insertAfter == HWND_BOTTOM || insertAfter == HWND_NOTOPMOST) {
        list.push_back(hwnd);
    } else {
        auto it = std::find(list.begin(), list.end(), insertAfter);
        list.insert(it == list.end() ? list.end() : it + 1, hwnd);
    }
}

void InvalidateParentArea(const WindowData& window)
{
    if (!window.IsChild() || !(window.style & WS_VISIBLE))
        return;
    RECT area = window.rect;
    InvalidateRect(window.parent, &area, 1);
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    auto window = FindWindow(hwnd);
    if (!window || window->thread != GetCurrentThreadId())
        return 0;
    WINDOWPOS pos{hwnd, insertAfter, x, y, width, height, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = window->rect.left;
        pos.y = window->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = window->Width();
        pos.cy = window->Height();
    }
    if (!(flags & SWP_NOSENDCHANGING))
        SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!IsWindow(hwnd))
        return 0;
    flags = pos.flags;
    RECT old = window->rect;
    RECT oldClient = window->client;
    RECT next{pos.x, pos.y, pos.x + std::max(0, pos.cx), pos.y + std::max(0, pos.cy)};
    if (flags & SWP_NOMOVE)
        OffsetRect(&next, old.left - next.left, old.top - next.top);
    if (flags & SWP_NOSIZE) {
        next.right = next.left + RectWidth(old);
        next.bottom = next.top + RectHeight(old);
    }
    bool moved = next.left != old.left || next.top != old.top;
    bool sized = RectWidth(next) != RectWidth(old) || RectHeight(next) != RectHeight(old);
    bool frame = (flags & SWP_FRAMECHANGED) != 0;
    bool showing = (flags & SWP_SHOWWINDOW) && !(window->style & WS_VISIBLE);
    bool hiding = (flags & SWP_HIDEWINDOW) && (window->style & WS_VISIBLE);

    if (moved || sized || hiding || (!(flags & SWP_NOZORDER) && window->IsChild()))
        InvalidateParentArea(*window);
    window->rect = next;
    if (sized || frame)
        internal::RecalcClientArea(hwnd);
    if (!(flags & SWP_NOZORDER))
        Reorder(*window, pos.hwndInsertAfter);
    if (showing)
        window->style |= WS_VISIBLE;
    if (hiding)
        window->style &= ~WS_VISIBLE;

    if (!window->IsChild()) {
        if (sized)
            internal::ResizeSurface(*window);
        if (moved || sized)
            CurrentBackend().WindowPlaced(hwnd, window->rect);
        if (showing || hiding) {
            ShowState state = ShowState::Normal;
            if (hiding)
                state = ShowState::Hidden;
            else if (window->style & WS_MINIMIZE)
                state = ShowState::Minimized;
            else if (window->style & WS_MAXIMIZE)
                state = ShowState::Maximized;
            CurrentBackend().WindowShown(hwnd, state);
        }
    }
    if ((window->style & WS_VISIBLE) && !(flags & SWP_NOREDRAW) &&
        (moved || sized || frame || showing || !(flags & SWP_NOZORDER)))
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);

    RECT newClient = window->client;
    if (!moved)
        pos.flags |= SWP_NOMOVE;
    if (!sized)
        pos.flags |= SWP_NOSIZE;
    if (RectWidth(newClient) == RectWidth(oldClient) && RectHeight(newClient) == RectHeight(oldClient))
        pos.flags |= SWP_NOCLIENTSIZE;
    if (!moved && newClient.left == oldClient.left && newClient.top == oldClient.top)
        pos.flags |= SWP_NOCLIENTMOVE;
    pos.x = next.left;
    pos.y = next.top;
    pos.cx = RectWidth(next);
    pos.cy = RectHeight(next);
    SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return 1;
}

namespace internal {

// Default handling of WM_WINDOWPOSCHANGED.
void SendSizeAndMoveAfterChange(HWND hwnd, const WINDOWPOS& pos)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return;
    if (!(pos.flags & SWP_NOCLIENTSIZE)) {
        WPARAM kind = (window->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                      : (window->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                      : SIZE_RESTORED;
        SendMessage(hwnd, WM_SIZE, kind,
                    MAKELPARAM(static_cast<WORD>(RectWidth(window->client)),
                               static_cast<WORD>(RectHeight(window->client))));
    }
    if (!(pos.flags & SWP_NOCLIENTMOVE))
        SendMessage(hwnd, WM_MOVE, 0,
                    MAKEPOINTLPARAM(window->rect.left + window->client.left,
                                    window->rect.top + window->client.top));
}

}  // namespace internal

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL GetWindowRect(HWND hwnd, RECT* rect)
{
    auto window = FindWindow(hwnd);
    if (!window || !rect)
        return 0;
    RECT r{0, 0, window->Width(), window->Height()};
    POINT origin = internal::OriginInTop(hwnd);
    auto top = FindWindow(internal::TopLevelOf(hwnd));
    OffsetRect(&r, origin.x + (top ? top->rect.left : 0), origin.y + (top ? top->rect.top : 0));
    *rect = r;
    return 1;
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    auto window = FindWindow(hwnd);
    if (!window || !rect)
        return 0;
    *rect = {0, 0, RectWidth(window->client), RectHeight(window->client)};
    return 1;
}

namespace {

// Screen position of the window's client area corner.
bool ClientOrigin(HWND hwnd, POINT* origin)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return false;
    RECT r;
    GetWindowRect(hwnd, &r);
    *origin = {r.left + window->client.left, r.top + window->client.top};
    return true;
}

}  // namespace

BOOL ClientToScreen(HWND hwnd, POINT* pt)
{
    POINT origin;
    if (!pt || !ClientOrigin(hwnd, &origin))
        return 0;
    pt->x += origin.x;
    pt->y += origin.y;
    return 1;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt)
{
    POINT origin;
    if (!pt || !ClientOrigin(hwnd, &origin))
        return 0;
    pt->x -= origin.x;
    pt->y -= origin.y;
    return 1;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count)
{
    POINT a{}, b{};
    if ((from && !ClientOrigin(from, &a)) || (to && !ClientOrigin(to, &b)))
        return 0;
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD exStyle)
{
    if (!rect)
        return 0;
    auto frame = internal::DefaultFrame(style, exStyle);
    rect->left -= frame.border;
    rect->right += frame.border;
    rect->top -= frame.border + frame.caption;
    rect->bottom += frame.border;
    return 1;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    cairo_region_t* shape = nullptr;
    if (region) {
        auto object = internal::FindGdi(region, internal::GdiObject::Kind::Region);
        if (!object)
            return 0;
        shape = cairo_region_copy(object->region);
        // The window owns the region from now on.
        DeleteObject(region);
    }
    if (redraw)
        InvalidateParentArea(*window);
    if (window->shape)
        cairo_region_destroy(window->shape);
    window->shape = shape;
    if (!window->IsChild())
        CurrentBackend().WindowShapeChanged(hwnd);
    if (redraw)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region)
{
    auto window = FindWindow(hwnd);
    auto object = internal::FindGdi(region, internal::GdiObject::Kind::Region);
    if (!window || !object || !window->shape)
        return ERROR_REGION;
    cairo_region_destroy(object->region);
    object->region = cairo_region_copy(window->shape);
    if (cairo_region_is_empty(object->region))
        return NULLREGION;
    return cairo_region_num_rectangles(object->region) == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HWND ChildWindowFromPoint(HWND parent, POINT client)
{
    auto window = FindWindow(parent);
    if (!window)
        return nullptr;
    if (client.x < 0 || client.y < 0 || client.x >= RectWidth(window->client) ||
        client.y >= RectHeight(window->client))
        return nullptr;
    for (HWND childHandle : window->children) {
        auto child = FindWindow(childHandle);
        if (!child)
            continue;
        POINT local{client.x - child->rect.left, client.y - child->rect.top};
        if (PtInRect(&child->rect, client) &&
            (!child->shape || cairo_region_contains_point(child->shape, local.x, local.y)))
            return childHandle;
    }
    return parent;
}

}  // namespace win
