#include "platform/window/Paint.h"

#include "platform/backend/Backend.h"
#include "platform/graphics/CairoDc.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/GdiObject.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/messaging/Thread.h"
#include "platform/window/internal/WindowTable.h"

#include <algorithm>

namespace win {

using internal::FindWindow;
using internal::WindowData;

namespace internal {

namespace {

cairo_region_t* RectRegion(int x, int y, int width, int height)
{
    cairo_rectangle_int_t r{x, y, std::max(0, width), std::max(0, height)};
    return cairo_region_create_rectangle(&r);
}

cairo_region_t* ClientRegion(const WindowData& window)
{
    return RectRegion(window.client.left, window.client.top, window.client.right - window.client.left,
                      window.client.bottom - window.client.top);
}

bool OwnedHere(const WindowData& window) { return window.thread == GetCurrentThreadId(); }

}  // namespace

cairo_region_t* VisibleRegion(HWND hwnd, bool client)
{
    auto window = FindWindow(hwnd);
    if (!window || !IsWindowVisible(hwnd))
        return cairo_region_create();
    cairo_region_t* region = client ? ClientRegion(*window)
                                    : RectRegion(0, 0, window->Width(), window->Height());
    if (window->shape)
        cairo_region_intersect(region, window->shape);
    // Walk up: each ancestor's client area (and shape) bounds what shows.
    int dx = 0, dy = 0;  // offset of the current ancestor's window origin
    auto current = window;
    while (current->IsChild()) {
        dx -= current->rect.left;
        dy -= current->rect.top;
        auto parent = FindWindow(current->parent);
        if (!parent)
            break;
        dx -= parent->client.left;
        dy -= parent->client.top;
        cairo_region_t* bound = ClientRegion(*parent);
        if (parent->shape)
            cairo_region_intersect(bound, parent->shape);
        cairo_region_translate(bound, dx, dy);
        cairo_region_intersect(region, bound);
        cairo_region_destroy(bound);
        current = parent;
    }
    return region;
}

void InvalidateWindowArea(HWND hwnd, cairo_region_t* area, bool erase)
{
    auto window = FindWindow(hwnd);
    if (!window || !OwnedHere(*window) || !(window->style & WS_VISIBLE)) {
        cairo_region_destroy(area);
        return;
    }
    cairo_region_t* bounds = RectRegion(0, 0, window->Width(), window->Height());
    cairo_region_intersect(area, bounds);
    cairo_region_destroy(bounds);
    if (window->shape)
        cairo_region_intersect(area, window->shape);
    if (cairo_region_is_empty(area)) {
        cairo_region_destroy(area);
        return;
    }
    if (!window->update)
        window->update = cairo_region_create();
    cairo_region_union(window->update, area);
    window->erase = window->erase || erase;
    cairo_region_t* frame = cairo_region_copy(area);
    cairo_region_t* client = ClientRegion(*window);
    cairo_region_subtract(frame, client);
    if (!cairo_region_is_empty(frame))
        window->frameDirty = true;
    cairo_region_destroy(frame);

    // Children draw over their parent, so whatever of them lies in the area
    // must be drawn again after it.
    cairo_region_intersect(client, area);
    for (HWND childHandle : window->children) {
        auto child = FindWindow(childHandle);
        if (!child || !(child->style & WS_VISIBLE))
            continue;
        cairo_region_t* part = cairo_region_copy(client);
        cairo_region_translate(part, -(window->client.left + child->rect.left),
                               -(window->client.top + child->rect.top));
        InvalidateWindowArea(childHandle, part, true);
    }
    cairo_region_destroy(client);

    // Likewise siblings above this window that overlap it.
    if (window->IsChild()) {
        if (auto parent = FindWindow(window->parent)) {
            auto self = std::find(parent->children.begin(), parent->children.end(), hwnd);
            for (auto it = parent->children.begin(); it != self; ++it) {
                auto sibling = FindWindow(*it);
                if (!sibling || !(sibling->style & WS_VISIBLE))
                    continue;
                cairo_region_t* part = cairo_region_copy(area);
                cairo_region_translate(part, window->rect.left - sibling->rect.left,
                                       window->rect.top - sibling->rect.top);
                InvalidateWindowArea(*it, part, true);
            }
        }
    }
    cairo_region_destroy(area);
}

void ResizeSurface(WindowData& window)
{
    int width = std::max(1, window.Width());
    int height = std::max(1, window.Height());
    if (window.surface && cairo_image_surface_get_width(window.surface) == width &&
        cairo_image_surface_get_height(window.surface) == height)
        return;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (window.surface) {
        // Keep what was there until the repaint, so a resize does not flash.
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_surface(cr, window.surface, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(window.surface);
    }
    window.surface = surface;
}

HWND NextWindowToPaint(HWND filter)
{
    DWORD self = GetCurrentThreadId();
    std::vector<HWND> order;
    for (HWND top : TopLevelWindows()) {
        auto window = FindWindow(top);
        if (window && window->thread == self)
            CollectPaintOrder(top, &order);
    }
    for (HWND hwnd : order) {
        auto window = FindWindow(hwnd);
        if (!window || !window->update)
            continue;
        if (cairo_region_is_empty(window->update) || !IsWindowVisible(hwnd))
            continue;
        if (filter && hwnd != filter)
            continue;
        return hwnd;
    }
    return nullptr;
}

}  // namespace internal

namespace {

cairo_region_t* ClientAreaRegion(const WindowData& window, const RECT* rect)
{
    RECT r = rect ? *rect
                  : RECT{0, 0, window.client.right - window.client.left,
                         window.client.bottom - window.client.top};
    cairo_rectangle_int_t cr{r.left + window.client.left, r.top + window.client.top,
                             std::max(0, static_cast<int>(r.right - r.left)),
                             std::max(0, static_cast<int>(r.bottom - r.top))};
    return cairo_region_create_rectangle(&cr);
}

cairo_region_t* RegionArg(const WindowData& window, HRGN region)
{
    auto object = internal::FindGdi(region, internal::GdiObject::Kind::Region);
    if (!object)
        return nullptr;
    cairo_region_t* copy = cairo_region_copy(object->region);
    cairo_region_translate(copy, window.client.left, window.client.top);
    return copy;
}

void Validate(WindowData& window, cairo_region_t* area)
{
    if (window.update) {
        cairo_region_subtract(window.update, area);
        if (cairo_region_is_empty(window.update)) {
            window.erase = false;
            window.frameDirty = false;
        }
    }
    cairo_region_destroy(area);
}

void PaintNow(HWND hwnd, bool descendants)
{
    std::vector<HWND> order;
    if (descendants)
        internal::CollectPaintOrder(hwnd, &order);
    else
        order.push_back(hwnd);
    for (HWND each : order) {
        auto window = FindWindow(each);
        if (window && window->update && !cairo_region_is_empty(window->update) &&
            IsWindowVisible(each))
            SendMessage(each, WM_PAINT, 0, 0);
    }
}

}  // namespace

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    if (!hwnd) {
        for (HWND top : internal::TopLevelWindows())
            InvalidateRect(top, nullptr, erase);
        return 1;
    }
    auto window = FindWindow(hwnd);
    if (!window || window->thread != GetCurrentThreadId())
        return 0;
    cairo_region_t* area = ClientAreaRegion(*window, rect);
    cairo_region_t* client = ClientAreaRegion(*window, nullptr);
    cairo_region_intersect(area, client);
    cairo_region_destroy(client);
    internal::InvalidateWindowArea(hwnd, area, erase != 0);
    return 1;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    cairo_region_t* area = rect ? ClientAreaRegion(*window, rect)
                                : internal::VisibleRegion(hwnd, false);
    if (!rect) {
        cairo_region_destroy(area);
        cairo_rectangle_int_t all{-32768, -32768, 65535, 65535};
        area = cairo_region_create_rectangle(&all);
    }
    Validate(*window, area);
    return 1;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags)
{
    auto window = FindWindow(hwnd);
    if (!window || window->thread != GetCurrentThreadId())
        return 0;
    if (flags & RDW_INVALIDATE) {
        cairo_region_t* area;
        if (!rect && !region && (flags & RDW_FRAME)) {
            cairo_rectangle_int_t all{0, 0, window->Width(), window->Height()};
            area = cairo_region_create_rectangle(&all);
        } else if (region) {
            area = RegionArg(*window, region);
        } else {
            area = ClientAreaRegion(*window, rect);
        }
        if (area && (flags & RDW_FRAME)) {
            // The frame is everything outside the client area.
            cairo_rectangle_int_t all{0, 0, window->Width(), window->Height()};
            cairo_region_t* frame = cairo_region_create_rectangle(&all);
            cairo_region_t* client = ClientAreaRegion(*window, nullptr);
            cairo_region_subtract(frame, client);
            cairo_region_union(area, frame);
            cairo_region_destroy(client);
            cairo_region_destroy(frame);
        }
        if (area)
            internal::InvalidateWindowArea(hwnd, area, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_VALIDATE)
        ValidateRect(hwnd, rect);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        PaintNow(hwnd, !(flags & RDW_NOCHILDREN));
    return 1;
}

BOOL UpdateWindow(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    PaintNow(hwnd, false);
    return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps)
{
    auto window = FindWindow(hwnd);
    if (!window || !ps)
        return nullptr;
    cairo_region_t* area = window->update ? window->update : cairo_region_create();
    window->update = nullptr;
    bool frame = window->frameDirty;
    bool erase = window->erase;
    window->frameDirty = false;
    window->erase = false;
    if (frame)
        SendMessage(hwnd, WM_NCPAINT, 1, 0);

    cairo_rectangle_int_t client{window->client.left, window->client.top,
                                 window->client.right - window->client.left,
                                 window->client.bottom - window->client.top};
    cairo_region_intersect_rectangle(area, &client);
    cairo_rectangle_int_t e;
    cairo_region_get_extents(area, &e);
    *ps = PAINTSTRUCT{};
    if (!cairo_region_is_empty(area))
        ps->rcPaint = {e.x - client.x, e.y - client.y, e.x - client.x + e.width,
                       e.y - client.y + e.height};
    ps->hdc = internal::MakeWindowDc(hwnd, true, area);
    ps->fErase = 0;
    if (erase)
        ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) ? 0 : 1;
    return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (!ps)
        return 0;
    ReleaseDC(hwnd, ps->hdc);
    return 1;
}

}  // namespace win
