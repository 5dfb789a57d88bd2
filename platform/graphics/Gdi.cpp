#include "platform/graphics/internal/GdiTable.h"
#include "platform/graphics/internal/DcTable.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"

#include <array>
#include <cstring>
#include <mutex>
#include <pango/pango.h>

namespace win {

namespace internal {

GdiObject::~GdiObject()
{
    if (surface)
        cairo_surface_destroy(surface);
    if (region)
        cairo_region_destroy(region);
    if (font)
        pango_font_description_free(font);
}

HandleTable<GdiObject>& GdiObjects()
{
    static auto* table = new HandleTable<GdiObject>;
    return *table;
}

std::shared_ptr<GdiObject> FindGdi(const void* handle)
{
    return GdiObjects().Find(reinterpret_cast<std::uintptr_t>(handle));
}

std::shared_ptr<GdiObject> FindGdi(const void* handle, GdiObject::Kind kind)
{
    auto object = FindGdi(handle);
    return object && object->kind == kind ? object : nullptr;
}

bool BrushColor(HBRUSH brush, COLORREF* color)
{
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value > 0 && value <= 31) {
        *color = GetSysColor(static_cast<int>(value) - 1);
        return true;
    }
    auto object = FindGdi(brush, GdiObject::Kind::Brush);
    if (!object || object->hollow)
        return false;
    *color = object->color;
    return true;
}

void SetSourceColor(cairo_t* cr, COLORREF color, double alpha)
{
    cairo_set_source_rgba(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                          GetBValue(color) / 255.0, alpha);
}

}  // namespace internal

using internal::GdiObject;

COLORREF GetSysColor(int index)
{
    // A flat light scheme: near-white surfaces, grey lines, one blue accent.
    switch (index) {
    case COLOR_ACTIVECAPTION: return RGB(255, 255, 255);
    case COLOR_INACTIVECAPTION: return RGB(243, 243, 243);
    case COLOR_MENU: return RGB(249, 249, 249);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME: return RGB(160, 160, 160);
    case COLOR_MENUTEXT:
    case COLOR_WINDOWTEXT:
    case COLOR_CAPTIONTEXT:
    case COLOR_BTNTEXT: return RGB(27, 27, 27);
    case COLOR_ACTIVEBORDER: return RGB(0, 103, 192);
    case COLOR_INACTIVEBORDER: return RGB(190, 190, 190);
    case COLOR_HIGHLIGHT: return RGB(0, 103, 192);
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(243, 243, 243);
    case COLOR_BTNSHADOW: return RGB(200, 200, 200);
    case COLOR_GRAYTEXT:
    case COLOR_INACTIVECAPTIONTEXT: return RGB(150, 150, 150);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(130, 130, 130);
    case COLOR_3DLIGHT: return RGB(229, 229, 229);
    case COLOR_HOTLIGHT: return RGB(0, 90, 170);
    case COLOR_BACKGROUND: return RGB(32, 64, 96);
    case COLOR_SCROLLBAR: return RGB(230, 230, 230);
    }
    return RGB(243, 243, 243);
}

HBRUSH GetSysColorBrush(int index)
{
    static std::mutex mutex;
    static std::array<HBRUSH, 32> brushes{};
    if (index < 0 || index >= 32)
        return nullptr;
    std::lock_guard lock(mutex);
    if (!brushes[index]) {
        auto object = std::make_shared<GdiObject>();
        object->kind = GdiObject::Kind::Brush;
        object->stock = true;
        object->color = GetSysColor(index);
        brushes[index] = internal::InsertGdi<HBRUSH>(object);
    }
    return brushes[index];
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto object = std::make_shared<GdiObject>();
    object->kind = GdiObject::Kind::Brush;
    object->color = color;
    return internal::InsertGdi<HBRUSH>(object);
}

HGDIOBJ GetStockObject(int which)
{
    static std::mutex mutex;
    static std::array<HGDIOBJ, 32> stock{};
    if (which < 0 || which >= 32)
        return nullptr;
    std::lock_guard lock(mutex);
    if (stock[which])
        return stock[which];
    auto object = std::make_shared<GdiObject>();
    object->stock = true;
    switch (which) {
    case WHITE_BRUSH:
    case BLACK_BRUSH:
    case NULL_BRUSH:
        object->kind = GdiObject::Kind::Brush;
        object->color = which == WHITE_BRUSH ? RGB(255, 255, 255) : RGB(0, 0, 0);
        object->hollow = which == NULL_BRUSH;
        break;
    case DEFAULT_GUI_FONT:
        object->kind = GdiObject::Kind::Font;
        object->font = pango_font_description_from_string("sans-serif 8");
        break;
    default: return nullptr;
    }
    stock[which] = internal::InsertGdi<HGDIOBJ>(object);
    return stock[which];
}

BOOL DeleteObject(HGDIOBJ handle)
{
    auto object = internal::FindGdi(handle);
    if (!object || object->stock || object->kind == GdiObject::Kind::Dc)
        return 0;
    internal::GdiObjects().Remove(reinterpret_cast<std::uintptr_t>(handle));
    return 1;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle)
{
    auto state = internal::DcOf(dc);
    auto object = internal::FindGdi(handle);
    if (!state || !object)
        return nullptr;
    switch (object->kind) {
    case GdiObject::Kind::Bitmap: {
        if (state->window)
            return nullptr;
        HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(state->bitmapHandle);
        if (state->cr)
            cairo_destroy(state->cr);
        state->cr = cairo_create(object->surface);
        state->bitmap = object;
        state->bitmapHandle = reinterpret_cast<HBITMAP>(handle);
        internal::ApplyClip(*state);
        return previous;
    }
    case GdiObject::Kind::Font: {
        HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(state->font);
        state->font = reinterpret_cast<HFONT>(handle);
        return previous ? previous : GetStockObject(DEFAULT_GUI_FONT);
    }
    case GdiObject::Kind::Brush: {
        HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(state->brush);
        state->brush = reinterpret_cast<HBRUSH>(handle);
        return previous ? previous : GetStockObject(WHITE_BRUSH);
    }
    case GdiObject::Kind::Region:
        return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(SelectClipRgn(dc, reinterpret_cast<HRGN>(handle))));
    case GdiObject::Kind::Dc: return nullptr;
    }
    return nullptr;
}

}  // namespace win
