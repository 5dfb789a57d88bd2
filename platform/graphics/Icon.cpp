#include "platform/graphics/Icon.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/internal/DcTable.h"
#include "platform/graphics/internal/GdiTable.h"

#include <cmath>

namespace win {

using internal::GdiObject;

namespace internal {
cairo_surface_t* SurfaceOf(HBITMAP bitmap);
}

namespace {

// The program's icon: a blue rounded square with a white wave.
cairo_surface_t* DrawApplicationIcon()
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(surface);
    double r = 6;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 32 - r - 1, r + 1, r, -M_PI / 2, 0);
    cairo_arc(cr, 32 - r - 1, 32 - r - 1, r, 0, M_PI / 2);
    cairo_arc(cr, r + 1, 32 - r - 1, r, M_PI / 2, M_PI);
    cairo_arc(cr, r + 1, r + 1, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.0, 0.40, 0.75);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 2.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double heights[] = {4, 9, 14, 8, 12, 5, 10};
    for (int i = 0; i < 7; ++i) {
        double x = 7 + i * 3.0;
        cairo_move_to(cr, x, 16 - heights[i] / 2);
        cairo_line_to(cr, x, 16 + heights[i] / 2);
    }
    cairo_stroke(cr);
    cairo_destroy(cr);
    return surface;
}

HICON WrapIcon(cairo_surface_t* surface)
{
    if (!surface)
        return nullptr;
    auto object = std::make_shared<GdiObject>();
    object->kind = GdiObject::Kind::Bitmap;
    object->stock = false;
    object->surface = surface;
    return internal::InsertGdi<HICON>(object);
}

cairo_surface_t* IconSurface(HICON icon)
{
    auto object = internal::FindGdi(icon, GdiObject::Kind::Bitmap);
    return object ? object->surface : nullptr;
}

}  // namespace

HICON LoadIcon(HINSTANCE, LPCWSTR)
{
    static HICON icon = [] {
        HICON made = WrapIcon(DrawApplicationIcon());
        if (auto object = internal::FindGdi(made))
            object->stock = true;
        return made;
    }();
    return icon;
}

HICON LoadIconFile(const std::wstring& path)
{
    HBITMAP bitmap = LoadImageFile(path);
    HICON icon = CreateIconFromBitmap(bitmap);
    DeleteObject(bitmap);
    return icon;
}

HICON CreateIconFromBitmap(HBITMAP bitmap)
{
    cairo_surface_t* source = internal::SurfaceOf(bitmap);
    if (!source)
        return nullptr;
    int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(copy);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return WrapIcon(copy);
}

BOOL DestroyIcon(HICON icon) { return DeleteObject(reinterpret_cast<HGDIOBJ>(icon)); }

BOOL GetIconSize(HICON icon, SIZE* size)
{
    cairo_surface_t* surface = IconSurface(icon);
    if (!surface || !size)
        return 0;
    *size = {cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
    return 1;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH, UINT)
{
    cairo_surface_t* surface = IconSurface(icon);
    cairo_t* cr = internal::CairoOf(dc);
    if (!surface || !cr)
        return 0;
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    if (width <= 0)
        width = w;
    if (height <= 0)
        height = h;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, double(width) / w, double(height) / h);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    internal::NoteDrawn(dc, {x, y, x + width, y + height});
    return 1;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

}  // namespace win
