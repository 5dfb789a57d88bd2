// A cairo image to draw skin pieces into, with the few shapes the default
// skin is made of, and the pure-blue holes that cut a window's shape.
#pragma once

#include "Design.h"

#include <cairo.h>
#include <string>

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Cr() const { return cr_; }
    void Fill(double x, double y, double w, double h, Colour c, double alpha = 1);
    void RoundRect(double x, double y, double w, double h, double r, Colour c, double alpha = 1);
    void RoundOutline(double x, double y, double w, double h, double r, Colour c, double lineWidth);
    // Text centred on (cx, cy), sans-serif at `pixels`, `bold` or not.
    void Text(const std::string& text, double cx, double cy, double pixels, bool bold, Colour c);
    // Text with its left edge at x, centred on cy.
    void TextLeft(const std::string& text, double x, double cy, double pixels, bool bold, Colour c);
    // Pixels of the rectangle (x, y, w, h) that lie outside the rounded
    // rectangle (rx, ry, rw, rh, r) by more than half a pixel become pure
    // blue (0, 0, 255): holes in a window, or outside a button's shape.
    void CutCorners(int x, int y, int w, int h, double rx, double ry, double rw, double rh, double r);
    void Save(const std::string& path);

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};
