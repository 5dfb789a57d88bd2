#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <pango/pangocairo.h>
#include <png.h>
#include <vector>
#include <stdexcept>

namespace {

void RoundPath(cairo_t* cr, double x, double y, double w, double h, double r)
{
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)), cr_(cairo_create(surface_))
{
}

Canvas::~Canvas()
{
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::Fill(double x, double y, double w, double h, Colour c, double alpha)
{
    cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
}

void Canvas::RoundRect(double x, double y, double w, double h, double r, Colour c, double alpha)
{
    cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha);
    RoundPath(cr_, x, y, w, h, r);
    cairo_fill(cr_);
}

void Canvas::RoundOutline(double x, double y, double w, double h, double r, Colour c, double lineWidth)
{
    cairo_set_source_rgb(cr_, c.r, c.g, c.b);
    cairo_set_line_width(cr_, lineWidth);
    RoundPath(cr_, x + lineWidth / 2, y + lineWidth / 2, w - lineWidth, h - lineWidth, r);
    cairo_stroke(cr_);
}

void Canvas::TextLeft(const std::string& text, double x, double cy, double pixels, bool bold, Colour c)
{
    PangoLayout* layout = pango_cairo_create_layout(cr_);
    PangoFontDescription* font = pango_font_description_from_string("sans-serif");
    pango_font_description_set_absolute_size(font, pixels * PANGO_SCALE);
    pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_SEMIBOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, text.c_str(), -1);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    cairo_set_source_rgb(cr_, c.r, c.g, c.b);
    cairo_move_to(cr_, x, std::round(cy - logical.height / 2.0));
    pango_cairo_show_layout(cr_, layout);
    pango_font_description_free(font);
    g_object_unref(layout);
}

void Canvas::Text(const std::string& text, double cx, double cy, double pixels, bool bold, Colour c)
{
    PangoLayout* layout = pango_cairo_create_layout(cr_);
    PangoFontDescription* font = pango_font_description_from_string("sans-serif");
    pango_font_description_set_absolute_size(font, pixels * PANGO_SCALE);
    pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_SEMIBOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, text.c_str(), -1);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    pango_font_description_free(font);
    g_object_unref(layout);
    TextLeft(text, std::round(cx - logical.width / 2.0), cy, pixels, bold, c);
}

void Canvas::CutCorners(int x, int y, int w, int h, double rx, double ry, double rw, double rh, double r)
{
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    for (int py = y; py < y + h; ++py) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + py * stride);
        for (int px = x; px < x + w; ++px) {
            double cx = px + 0.5, cy = py + 0.5;
            double nx = std::clamp(cx, rx + r, rx + rw - r), ny = std::clamp(cy, ry + r, ry + rh - r);
            bool outside = cx < rx || cy < ry || cx > rx + rw || cy > ry + rh ||
                           std::hypot(cx - nx, cy - ny) > r + 0.5;
            if (outside)
                row[px] = 0xFF0000FFu;
        }
    }
    cairo_surface_mark_dirty(surface_);
}

// Written without row filters and with light compression: the program
// decodes these files every time it starts, and plain rows of a few
// colours decode several times faster than filtered ones.
void Canvas::Save(const std::string& path)
{
    cairo_surface_flush(surface_);
    const int width = cairo_image_surface_get_width(surface_), height = cairo_image_surface_get_height(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = row[x], a = p >> 24;
            auto un = [a](std::uint32_t c) { return a ? static_cast<unsigned char>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a)) : 0; };
            unsigned char* out = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            out[0] = un((p >> 16) & 0xFF);
            out[1] = un((p >> 8) & 0xFF);
            out[2] = un(p & 0xFF);
            out[3] = static_cast<unsigned char>(a);
        }
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        throw std::runtime_error("cannot write " + path);
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, &rgba[static_cast<std::size_t>(y) * width * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(f) != 0)
        throw std::runtime_error("cannot write " + path);
}
