#include "platform/graphics/DeviceContext.h"

#include "platform/backend/Backend.h"
#include "platform/graphics/Region.h"
#include "platform/graphics/internal/DcTable.h"
#include "platform/window/WindowRecord.h"

#include <algorithm>
#include <utility>

namespace win {

using internal::DcState;
using internal::GdiObject;

namespace internal {

DcState::~DcState()
{
    if (cr)
        cairo_destroy(cr);
    if (baseClip)
        cairo_region_destroy(baseClip);
    if (userClip)
        cairo_region_destroy(userClip);
}

std::shared_ptr<DcState> DcOf(HDC dc)
{
    auto object = FindGdi(dc, GdiObject::Kind::Dc);
    return object ? object->dc : nullptr;
}

cairo_t* CairoOf(HDC dc)
{
    auto state = DcOf(dc);
    return state ? state->cr : nullptr;
}

void NoteDrawn(HDC dc, RECT rect)
{
    auto state = DcOf(dc);
    if (!state)
        return;
    if (!state->drew) {
        state->drawn = rect;
        state->drew = true;
        return;
    }
    state->drawn.left = std::min(state->drawn.left, rect.left);
    state->drawn.top = std::min(state->drawn.top, rect.top);
    state->drawn.right = std::max(state->drawn.right, rect.right);
    state->drawn.bottom = std::max(state->drawn.bottom, rect.bottom);
}

void ApplyClip(DcState& dc)
{
    if (!dc.cr)
        return;
    cairo_reset_clip(dc.cr);
    auto clipTo = [&](cairo_region_t* region) {
        if (!region)
            return;
        cairo_new_path(dc.cr);
        int n = cairo_region_num_rectangles(region);
        for (int i = 0; i < n; ++i) {
            cairo_rectangle_int_t r;
            cairo_region_get_rectangle(region, i, &r);
            cairo_rectangle(dc.cr, r.x, r.y, r.width, r.height);
        }
        if (n == 0)
            cairo_rectangle(dc.cr, 0, 0, 0, 0);
        cairo_clip(dc.cr);
    };
    clipTo(dc.baseClip);
    clipTo(dc.userClip);
}

HDC MakeWindowDc(HWND hwnd, bool client, cairo_region_t* clipInWindow)
{
    auto window = FindWindow(hwnd);
    HWND top = TopLevelOf(hwnd);
    auto topData = FindWindow(top);
    if (!window || !topData) {
        if (clipInWindow)
            cairo_region_destroy(clipInWindow);
        return nullptr;
    }
    if (!topData->surface)
        ResizeSurface(*topData);
    auto state = std::make_shared<DcState>();
    state->window = hwnd;
    state->top = top;
    POINT origin = OriginInTop(hwnd);
    if (client) {
        origin.x += window->client.left;
        origin.y += window->client.top;
    }
    state->origin = origin;
    cairo_region_t* clip = VisibleRegion(hwnd, client);
    if (clipInWindow) {
        cairo_region_intersect(clip, clipInWindow);
        cairo_region_destroy(clipInWindow);
    }
    if (client)
        cairo_region_translate(clip, -window->client.left, -window->client.top);
    state->baseClip = clip;
    state->cr = cairo_create(topData->surface);
    cairo_translate(state->cr, origin.x, origin.y);
    ApplyClip(*state);
    state->font = nullptr;
    auto object = std::make_shared<GdiObject>();
    object->kind = GdiObject::Kind::Dc;
    object->dc = state;
    return InsertGdi<HDC>(object);
}

}  // namespace internal

HDC GetWindowDC(HWND hwnd) { return internal::MakeWindowDc(hwnd, false, nullptr); }

int ReleaseDC(HWND, HDC dc)
{
    auto state = internal::DcOf(dc);
    if (!state)
        return 0;
    if (state->top && state->drew) {
        RECT area = state->drawn;
        area.left += state->origin.x;
        area.right += state->origin.x;
        area.top += state->origin.y;
        area.bottom += state->origin.y;
        CurrentBackend().SurfaceChanged(state->top, area);
    }
    internal::GdiObjects().Remove(reinterpret_cast<std::uintptr_t>(dc));
    return 1;
}

HDC CreateCompatibleDC(HDC)
{
    auto object = std::make_shared<GdiObject>();
    object->kind = GdiObject::Kind::Dc;
    object->dc = std::make_shared<DcState>();
    return internal::InsertGdi<HDC>(object);
}

BOOL DeleteDC(HDC dc) { return ReleaseDC(nullptr, dc); }

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    cairo_t* cr = internal::CairoOf(dc);
    COLORREF color;
    if (!cr || !rect)
        return 0;
    if (!internal::BrushColor(brush, &color))
        return 1;
    cairo_save(cr);
    internal::SetSourceColor(cr, color);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    cairo_fill(cr);
    cairo_restore(cr);
    internal::NoteDrawn(dc, *rect);
    return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    cairo_t* cr = internal::CairoOf(dc);
    COLORREF color;
    if (!cr || !rect)
        return 0;
    if (!internal::BrushColor(brush, &color))
        return 1;
    cairo_save(cr);
    internal::SetSourceColor(cr, color);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, rect->left + 0.5, rect->top + 0.5, rect->right - rect->left - 1,
                    rect->bottom - rect->top - 1);
    cairo_stroke(cr);
    cairo_restore(cr);
    internal::NoteDrawn(dc, *rect);
    return 1;
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    auto state = internal::DcOf(dc);
    if (!state)
        return 0xFFFFFFFF;
    return std::exchange(state->textColor, color);
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    auto state = internal::DcOf(dc);
    if (!state)
        return 0xFFFFFFFF;
    return std::exchange(state->bkColor, color);
}

int SetBkMode(HDC dc, int mode)
{
    auto state = internal::DcOf(dc);
    if (!state)
        return 0;
    return std::exchange(state->bkMode, mode);
}

namespace {

int ClipKind(const DcState& state)
{
    cairo_region_t* region = state.userClip ? state.userClip : state.baseClip;
    if (!region)
        return SIMPLEREGION;
    if (cairo_region_is_empty(region))
        return NULLREGION;
    return cairo_region_num_rectangles(region) == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

int SelectClipRgn(HDC dc, HRGN region)
{
    auto state = internal::DcOf(dc);
    if (!state)
        return ERROR_REGION;
    if (state->userClip) {
        cairo_region_destroy(state->userClip);
        state->userClip = nullptr;
    }
    if (region) {
        auto object = internal::FindGdi(region, GdiObject::Kind::Region);
        if (!object)
            return ERROR_REGION;
        state->userClip = cairo_region_copy(object->region);
    }
    internal::ApplyClip(*state);
    return ClipKind(*state);
}

}  // namespace win
