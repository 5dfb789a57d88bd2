#include "platform/graphics/Bitmap.h"

#include "platform/core/Strings.h"
#include "platform/graphics/ImageHeader.h"
#include "platform/graphics/internal/DcTable.h"
#include "platform/graphics/internal/GdiTable.h"

#include <cstdio>
#include <cstring>
#include <gdk-pixbuf/gdk-pixbuf.h>

namespace win {

using internal::GdiObject;

namespace internal {

cairo_surface_t* SurfaceOf(HBITMAP bitmap)
{
    auto object = FindGdi(bitmap, GdiObject::Kind::Bitmap);
    return object ? object->surface : nullptr;
}

HBITMAP WrapSurface(cairo_surface_t* surface)
{
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    auto object = std::make_shared<GdiObject>();
    object->kind = GdiObject::Kind::Bitmap;
    object->surface = surface;
    return InsertGdi<HBITMAP>(object);
}

}  // namespace internal

namespace {

std::uint32_t Premultiply(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    if (a == 255)
        return 0xFF000000u | (r << 16) | (g << 8) | b;
    auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

std::uint32_t Unpremultiply(std::uint32_t p)
{
    std::uint32_t a = p >> 24;
    if (a == 0)
        return 0;
    if (a == 255)
        return p;
    auto un = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
}

}  // namespace

HBITMAP CreateARGBBitmap(int width, int height)
{
    if (width < 1 || height < 1 || width > 32767 || height > 32767)
        return nullptr;
    return internal::WrapSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
}

HBITMAP LoadImageFile(const std::wstring& path)
{
    std::string file = ToUtf8(path);
    auto header = ReadImageHeader(file);
    if (!header)
        return nullptr;
    // PNG files (every skin's images) decode straight into a cairo surface,
    // without the decoder's own pixel buffer and a conversion pass.
    if (header->kind == ImageKind::Png) {
        cairo_surface_t* surface = cairo_image_surface_create_from_png(file.c_str());
        if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
            cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32)
            return internal::WrapSurface(surface);
        cairo_surface_destroy(surface);
    }
    GError* error = nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(file.c_str(), &error);
    if (!pixbuf) {
        if (error)
            g_error_free(error);
        return nullptr;
    }
    int width = gdk_pixbuf_get_width(pixbuf);
    int height = gdk_pixbuf_get_height(pixbuf);
    int channels = gdk_pixbuf_get_n_channels(pixbuf);
    bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    int rowstride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* src = gdk_pixbuf_read_pixels(pixbuf);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        unsigned char* dst = cairo_image_surface_get_data(surface);
        int stride = cairo_image_surface_get_stride(surface);
        for (int y = 0; y < height; ++y) {
            const guchar* in = src + static_cast<std::size_t>(y) * rowstride;
            auto* out = reinterpret_cast<std::uint32_t*>(dst + static_cast<std::size_t>(y) * stride);
            for (int x = 0; x < width; ++x, in += channels)
                out[x] = Premultiply(alpha ? in[3] : 255, in[0], in[1], in[2]);
        }
        cairo_surface_mark_dirty(surface);
    }
    g_object_unref(pixbuf);
    return internal::WrapSurface(surface);
}

BOOL GetBitmapSize(HBITMAP bitmap, SIZE* size)
{
    cairo_surface_t* surface = internal::SurfaceOf(bitmap);
    if (!surface || !size)
        return 0;
    size->cx = cairo_image_surface_get_width(surface);
    size->cy = cairo_image_surface_get_height(surface);
    return 1;
}

namespace {

// Blends `bitmap`, its top left corner at (originX, originY), over the
// rectangle (x, y, width, height) pixel for pixel; with `repeat`, copies of
// it side by side cover the whole rectangle (laid by the rasteriser's own
// tiling, however small the bitmap, not drawn one by one).
BOOL PaintBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, int originX, int originY,
                 bool repeat)
{
    cairo_surface_t* surface = internal::SurfaceOf(bitmap);
    cairo_t* cr = internal::CairoOf(dc);
    if (!surface || !cr)
        return 0;
    if (width <= 0 || height <= 0)
        return 1;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface, originX, originY);
    if (repeat)
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_paint(cr);
    cairo_restore(cr);
    internal::NoteDrawn(dc, {x, y, x + width, y + height});
    return 1;
}

}  // namespace

BOOL DrawBitmap(HDC dc, int x, int y, HBITMAP bitmap, int srcX, int srcY, int width, int height)
{
    return PaintBitmap(dc, x, y, width, height, bitmap, x - srcX, y - srcY, false);
}

BOOL TileBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap)
{
    return PaintBitmap(dc, x, y, width, height, bitmap, x, y, true);
}

BOOL GetBitmapPixels(HBITMAP bitmap, std::vector<std::uint32_t>* pixels, int* width, int* height)
{
    cairo_surface_t* surface = internal::SurfaceOf(bitmap);
    if (!surface || !pixels)
        return 0;
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface);
    int h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    pixels->resize(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x)
            (*pixels)[static_cast<std::size_t>(y) * w + x] = Unpremultiply(row[x]);
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
    return 1;
}

}  // namespace win
