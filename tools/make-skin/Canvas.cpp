#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <pango/pangocairo.h>
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

void Canvas::Save(const std::string& path)
{
    if (cairo_surface_write_to_png(surface_, path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path);
}
