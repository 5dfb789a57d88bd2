// kolvex-make-icon OUTDIR: draws the program's icon (a sound wave flowing
// into a disc on a deep blue tile) at every size the desktop asks for, as
// OUTDIR/kolvex-N.png, and OUTDIR/kolvex.png for the program's own windows.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

void RoundedRectangle(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void Draw(cairo_t* cr, int size)
{
    double s = size;
    // The tile.
    cairo_pattern_t* tile = cairo_pattern_create_linear(0, 0, 0, s);
    cairo_pattern_add_color_stop_rgb(tile, 0, 0.20, 0.45, 0.85);
    cairo_pattern_add_color_stop_rgb(tile, 1, 0.08, 0.22, 0.55);
    RoundedRectangle(cr, s * 0.03, s * 0.03, s * 0.94, s * 0.94, s * 0.2);
    cairo_set_source(cr, tile);
    cairo_fill(cr);
    cairo_pattern_destroy(tile);

    // The wave: bars of falling and rising height on the left.
    cairo_set_source_rgb(cr, 1, 1, 1);
    const double heights[] = {0.22, 0.40, 0.56, 0.34, 0.48, 0.26};
    double bar = s * 0.04;
    for (int i = 0; i < 6; ++i) {
        double x = s * 0.12 + i * s * 0.065;
        double h = s * heights[i];
        RoundedRectangle(cr, x, s * 0.5 - h / 2, bar, h, bar / 2);
        cairo_fill(cr);
    }
    // The arrow into the disc.
    cairo_set_line_width(cr, std::max(1.0, s * 0.05));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, s * 0.52, s * 0.5);
    cairo_line_to(cr, s * 0.58, s * 0.5);
    cairo_stroke(cr);
    cairo_move_to(cr, s * 0.545, s * 0.45);
    cairo_line_to(cr, s * 0.585, s * 0.5);
    cairo_line_to(cr, s * 0.545, s * 0.55);
    cairo_stroke(cr);
    // The disc.
    double cx = s * 0.765, cy = s * 0.5, r = s * 0.14;
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.12, 0.32, 0.70);
    cairo_arc(cr, cx, cy, r * 0.3, 0, 2 * M_PI);
    cairo_fill(cr);
}

bool Write(const std::string& path, int size)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    Draw(cr, size);
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok)
        std::fprintf(stderr, "kolvex-make-icon: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kolvex-make-icon OUTDIR\n");
        return 2;
    }
    std::string folder = argv[1];
    bool ok = Write(folder + "/kolvex.png", 32);
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok = Write(folder + "/kolvex-" + std::to_string(size) + ".png", size) && ok;
    return ok ? 0 : 1;
}
