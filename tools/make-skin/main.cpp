// make-skin: draws the default skin from its design file.
//   make-skin <design file> <output folder>
// writes APEdefault.ini and the PNG images it names into the folder.
#include "Canvas.h"
#include "Design.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

std::string Rect(int x, int y, int w, int h)
{
    return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," + std::to_string(h);
}

// The caption buttons' glyphs, drawn in a 36 × 24 cell at (x, y).
enum class Glyph { Minimise, Maximise, Close };

void DrawCaptionButton(Canvas& c, const Design& d, int x, int y, Glyph glyph, int state)
{
    const int w = 36, h = 24;
    c.Fill(x, y, w, h, d.Rgb("caption"));
    Colour ink = d.Rgb("caption_glyph");
    if (state > 0) {
        Colour back = glyph == Glyph::Close ? d.Rgb("close_hover") : d.Rgb("caption_hover");
        c.RoundRect(x + 1, y, w - 2, h, 5, back, state == 2 ? 0.75 : 1.0);
        ink = d.Rgb("caption_text");
    }
    cairo_t* cr = c.Cr();
    cairo_set_source_rgb(cr, ink.r, ink.g, ink.b);
    cairo_set_line_width(cr, 1.5);
    double cx = x + w / 2.0, cy = y + h / 2.0 + (state == 2 ? 1 : 0);
    switch (glyph) {
    case Glyph::Minimise:
        cairo_move_to(cr, cx - 5, cy + 0.75);
        cairo_line_to(cr, cx + 5, cy + 0.75);
        break;
    case Glyph::Maximise:
        cairo_rectangle(cr, cx - 4.5, cy - 4.5, 9, 9);
        break;
    case Glyph::Close:
        cairo_move_to(cr, cx - 4.5, cy - 4.5);
        cairo_line_to(cr, cx + 4.5, cy + 4.5);
        cairo_move_to(cr, cx + 4.5, cy - 4.5);
        cairo_line_to(cr, cx - 4.5, cy + 4.5);
        break;
    }
    cairo_stroke(cr);
}

constexpr int kBarTile = 17;       // 663 = 39 × 17: the bar's copies meet the right edge exactly
constexpr int kCardEnd = 10;       // a card's rounded end
constexpr int kCardTile = 32;      // a card's repeated middle
constexpr int kBackdropX = 200;  // beside the card slices, at y = 100
constexpr int kBackdropTile = 64;

// A card in slices at (x, y): its left end, a middle tile, and the right
// end followed by a middle tile's width of backdrop.
void DrawCard(Canvas& c, const Design& d, int x, int y, int h, double r, bool shadow)
{
    const int w = 2 * kCardEnd + kCardTile;
    c.Fill(x, y, w + kCardTile, h, d.Rgb("backdrop"));
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    if (shadow)
        c.RoundRect(x + 0.5, y + 1.5, w - 1, h - 1.5, r, d.Rgb("border"), 0.55);
    c.RoundRect(x, y, w, h - (shadow ? 1 : 0), r, d.Rgb("card"));
    c.RoundOutline(x, y, w, h - (shadow ? 1 : 0), r, d.Rgb("border"), 1);
    cairo_restore(cr);
}

// frame.png: caption band pieces, edges, backdrop, caption buttons and the
// extra backdrop pieces; returns the frame's section.
std::string DrawFrame(const Design& d, const std::string& folder)
{
    const int W = d.Int("client_width"), C = d.Int("caption_height"), R = d.Int("corner_radius");
    const int B = d.Int("bottom_edge"), H = d.Int("client_height") + C;
    const int listX = d.Int("list_x"), listY = d.Int("list_y"), listW = d.Int("list_width"),
              listH = d.Int("list_height");
    const int cardY = d.Int("card_y"), cardH = d.Int("card_height");
    const int barY = d.Int("button_y") - 20, barH = d.Int("client_height") - B - barY;
    // The slices of the two cards and the bar side by side from y = 100.
    const int slicesTop = 100, statusX = 90, barX = 180;
    Canvas c(330, slicesTop + std::max({listH + 10, cardH, barH, kBackdropTile}) + 4);
    Colour caption = d.Rgb("caption"), border = d.Rgb("border");

    // Caption: the left piece carries the mark and the title.
    const int leftW = 180, topW = 8, rightW = 16;
    c.Fill(0, 0, leftW + topW + rightW, C, caption);
    c.RoundRect(12, C / 2.0 - 9, 18, 18, 5, d.Rgb("accent"));
    for (int i = 0; i < 4; ++i) {
        double bar = (i == 1 || i == 2) ? 10 : 6;
        c.Fill(15.5 + i * 3.5, C / 2.0 - bar / 2, 2, bar, d.Rgb("caption_text"));
    }
    c.TextLeft(d.Text("title"), 38, C / 2.0, 13, true, d.Rgb("caption_text"));
    c.CutCorners(0, 0, R + 1, R + 1, 0, 0, 2.0 * R + 10, 2.0 * R + 10, R);
    c.CutCorners(leftW + topW + rightW - R - 1, 0, R + 1, R + 1, leftW + topW + rightW - 2.0 * R - 10, 0,
                 2.0 * R + 10, 2.0 * R + 10, R);

    // Caption buttons, three states each, in a row at y = 40.
    const Glyph glyphs[3] = {Glyph::Close, Glyph::Minimise, Glyph::Maximise};
    for (int g = 0; g < 3; ++g)
        for (int s = 0; s < 3; ++s)
            DrawCaptionButton(c, d, (g * 3 + s) * 36, 40, glyphs[g], s);

    // Edges and backdrop at y = 70.
    Colour bar = d.Rgb("button_bar");
    c.Fill(0, 70, 1, 8, border);
    c.Fill(2, 70, 1, 8, border);
    const int BR = std::min(R, B);
    for (int x : {10, 22, 30}) {
        int w = x == 22 ? 8 : 12;
        c.Fill(x, 70, w, B, bar);
        c.Fill(x, 70 + B - 1, w, 1, border);
    }
    c.Fill(10, 70, 1, B, border);
    c.Fill(41, 70, 1, B, border);
    c.CutCorners(10, 70, 12, B, 10, 70 - 20, 60, B + 20, BR);
    c.CutCorners(30, 70, 12, B, 30 - 48, 70 - 20, 60, B + 20, BR);
    c.Fill(kBackdropX, slicesTop, kBackdropTile, kBackdropTile, d.Rgb("backdrop"));
    c.Fill(60, 70, kBarTile, 2, d.Rgb("accent"));

    // The card behind the list, the status card and the button bar, each
    // cut in slices: a left end, a middle repeated across and a right end
    // drawn last, wide enough to cover the middle's last, overlong copy.
    const int cardW = listW + 10, cardH2 = listH + 10, statusW = W - 12;
    DrawCard(c, d, 0, slicesTop, cardH2, 9, true);
    DrawCard(c, d, statusX, slicesTop, cardH, 8, false);
    c.Fill(barX, slicesTop, kBarTile, barH, bar);
    c.Fill(barX, slicesTop, kBarTile, 1, border);
    c.Save(folder + "frame.png");

    std::ostringstream s;
    s << "[main]\ntype=Window\nname=main\nimage=#frame#\nfontsize=" << d.Int("label_font_size")
      << "\nfontweight=NORMAL\n"
      << "framesize=" << Rect(0, 0, W, H) << "\n"
      << "topleft=" << Rect(0, 0, leftW, C) << "\nTop=" << Rect(leftW, 0, topW, C)
      << "\nTopRight=" << Rect(leftW + topW, 0, rightW, C) << "\n"
      << "Left=" << Rect(0, 70, 1, 8) << "\nRight=" << Rect(2, 70, 1, 8) << "\n"
      << "BottomLeft=" << Rect(10, 70, 12, B) << "\nBottom=" << Rect(22, 70, 8, B)
      << "\nBottomRight=" << Rect(30, 70, 12, B) << "\n";
    const char* kinds[3] = {"Close", "Minimise", "Maximise"};
    const char* states[3] = {"Normal", "Hover", "Down"};
    for (int g = 0; g < 3; ++g)
        for (int st = 0; st < 3; ++st)
            s << kinds[g] << states[st] << "=" << Rect((g * 3 + st) * 36, 40, 36, 24) << "\n";
    s << "anchor_close=" << Rect(-46, 4, 36, 24) << "\nanchor_min=" << Rect(-86, 4, 36, 24)
      << "\nanchor_max=" << Rect(-126, 4, 36, 24) << "\n"
      << "Backdrop=" << Rect(kBackdropX, slicesTop, kBackdropTile, kBackdropTile) << "\nBackdrop_draw=0\n";
    std::vector<std::pair<std::string, std::string>> extras;
    // The accent line under the caption: 39 copies of 17 make 663 pixels.
    extras.push_back({Rect(60, 70, kBarTile, 2), Rect(1, C, W - 3, 2)});
    auto card = [&](int srcX, int h, int x, int y, int w) {
        int middle = w - 2 * kCardEnd;
        extras.push_back({Rect(srcX, slicesTop, kCardEnd, h), Rect(x, y, kCardEnd, h)});
        extras.push_back({Rect(srcX + kCardEnd, slicesTop, kCardTile, h), Rect(x + kCardEnd, y, middle, h)});
        extras.push_back({Rect(srcX + kCardEnd + kCardTile, slicesTop, kCardEnd + kCardTile, h),
                          Rect(x + w - kCardEnd, y, kCardEnd + kCardTile, h)});
    };
    card(0, cardH2, listX - 5, C + listY - 5, cardW);
    card(statusX, cardH, 6, C + cardY, statusW);
    extras.push_back({Rect(barX, slicesTop, kBarTile, barH), Rect(1, C + barY, W - 3, barH)});
    s << "backdropskin_number=" << extras.size() << "\n";
    for (std::size_t n = 0; n < extras.size(); ++n)
        s << "backdropskin_srect" << n << "=" << extras[n].first << "\nbackdropskin_drect" << n << "="
          << extras[n].second << "\n";
    s << "\n";
    return s.str();
}

// One image per button: normal, hover, down and disabled faces, stacked.
std::string DrawButton(const Design& d, const ButtonDesign& b, const std::string& folder)
{
    const int h = d.Int("button_height"), r = d.Int("button_radius"), w = b.width;
    Canvas c(w, 4 * h);
    Colour bar = d.Rgb("button_bar");
    for (int s = 0; s < 4; ++s) {
        int y = s * h;
        c.Fill(0, y, w, h, bar);
        Colour face, text = b.primary ? Colour{1, 1, 1} : d.Rgb("button_text");
        if (b.primary)
            face = d.Rgb(s == 0 ? "primary_face" : s == 1 ? "primary_hover" : s == 2 ? "primary_down" : "primary_disabled");
        else
            face = d.Rgb(s == 0 ? "button_face" : s == 1 ? "button_hover" : s == 2 ? "button_down" : "disabled_face");
        if (s == 3 && !b.primary)
            text = d.Rgb("disabled_text");
        if (s != 2)
            c.RoundRect(0.5, y + 1.5, w - 1, h - 1.5, r, Colour{0, 0, 0}, 0.10);  // a soft drop
        c.RoundRect(0.5, y + 0.5, w - 1, h - 2, r, face);
        if (!b.primary)
            c.RoundOutline(0.5, y + 0.5, w - 1, h - 2, r, d.Rgb(s == 1 ? "accent" : "button_line"), 1);
        c.Text(b.label, w / 2.0, y + h / 2.0 - 1 + (s == 2 ? 1 : 0), 13, b.primary, text);
        c.CutCorners(0, y, w, h, 0, y, w, h, r);
    }
    std::string image = "button_" + b.name + ".png";
    c.Save(folder + image);
    std::ostringstream s;
    s << "[" << b.name << "]\ntype=Button\nname=" << b.name << "\nimage=" << image << "\nattribute=main\n"
      << "normal=" << Rect(0, 0, w, h) << "\nhover=" << Rect(0, h, w, h) << "\ndown=" << Rect(0, 2 * h, w, h)
      << "\ndisable=" << Rect(0, 3 * h, w, h) << "\nanchor=" << Rect(b.x, d.Int("button_y"), w, h) << "\n\n";
    return s.str();
}

// list.png: the list's background, three row faces and the scroll bar.
std::string DrawList(const Design& d, const std::string& folder)
{
    const int W = d.Int("list_width"), H = d.Int("list_height"), rowH = d.Int("row_height");
    const int sw = d.Int("scroll_width");
    Canvas c(std::max(W, 200), H + 100);
    c.Fill(0, 0, W, H, d.Rgb("card"));
    c.RoundRect(0, 0, W, H, 6, d.Rgb("list_background"));

    // Rows at y = H + 4: normal, hover, down; left end 8, middle 8, right end 32.
    const char* faces[3] = {"row_normal", "row_hover", "row_down"};
    for (int s = 0; s < 3; ++s) {
        int y = H + 4 + s * (rowH + 4);
        c.Fill(0, y, 48, rowH, d.Rgb(faces[s]));
        c.Fill(0, y + rowH - 1, 48, 1, d.Rgb("row_separator"));
        if (s == 2)
            c.Fill(0, y, 2, rowH - 1, d.Rgb("row_mark"));
        double cx = 16 + 16, cy = y + (rowH - 1) / 2.0;
        cairo_t* cr = c.Cr();
        if (s == 2) {
            Colour m = d.Rgb("row_mark");
            cairo_set_source_rgb(cr, m.r, m.g, m.b);
            cairo_arc(cr, cx, cy, 6.5, 0, 2 * M_PI);
            cairo_fill(cr);
            Colour k = d.Rgb("row_down");
            cairo_set_source_rgb(cr, k.r, k.g, k.b);
            cairo_set_line_width(cr, 1.8);
            cairo_move_to(cr, cx - 3.2, cy + 0.2);
            cairo_line_to(cr, cx - 0.8, cy + 2.6);
            cairo_line_to(cr, cx + 3.4, cy - 2.4);
            cairo_stroke(cr);
        } else {
            double grey = s == 1 ? 0.62 : 0.45;
            cairo_set_source_rgb(cr, grey, grey + 0.03, grey + 0.08);
            cairo_set_line_width(cr, 1.3);
            cairo_arc(cr, cx, cy, 6, 0, 2 * M_PI);
            cairo_stroke(cr);
        }
    }

    // Scroll bar at x = 100 (track) and 120 (thumb): ends 6, middle 4.
    const int y0 = H + 4;
    c.RoundRect(100, y0, sw, 16, sw / 2.0, d.Rgb("scroll_track"));
    c.RoundRect(120 + 3, y0, sw - 6, 16, (sw - 6) / 2.0, d.Rgb("scroll_thumb"));
    c.Save(folder + "list.png");

    std::ostringstream s;
    s << "[mmlist]\ntype=mmlist\nname=mmlist\nimage=list.png\nattribute=main\nfontsize="
      << d.Int("list_font_size") << "\nfontweight=NORMAL\n"
      << "framesize=" << Rect(d.Int("list_x"), d.Int("list_y"), W, H) << "\n"
      << "Background=" << Rect(0, 0, W, H) << "\n";
    const char* names[3] = {"Normal", "Hover", "Down"};
    for (int st = 0; st < 3; ++st) {
        int y = H + 4 + st * (rowH + 4);
        s << "Item" << names[st] << "Left=" << Rect(0, y, 8, rowH) << "\nItem" << names[st]
          << "Center=" << Rect(8, y, 8, rowH) << "\nItem" << names[st] << "Right=" << Rect(16, y, 32, rowH) << "\n";
    }
    s << "ItemScrollBarV_ThumbTrackTop=" << Rect(120, y0, sw, 6)
      << "\nItemScrollBarV_ThumbTrackCenter=" << Rect(120, y0 + 6, sw, 4)
      << "\nItemScrollBarV_ThumbTrackBottom=" << Rect(120, y0 + 10, sw, 6)
      << "\nItemScrollBarV_BackgroundTop=" << Rect(100, y0, sw, 6)
      << "\nItemScrollBarV_BackgroundCenter=" << Rect(100, y0 + 6, sw, 4)
      << "\nItemScrollBarV_BackgroundBottom=" << Rect(100, y0 + 10, sw, 6) << "\n";
    return s.str();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-skin <design file> <output folder>\n");
        return 2;
    }
    try {
        Design d = Design::Read(argv[1]);
        std::string folder = argv[2];
        if (folder.back() != '/')
            folder += '/';
        std::filesystem::create_directories(folder);
        std::string ini = "; The default skin, drawn by tools/make-skin from skins/default/skin.conf.\n"
                          "[Variables]\nframe=frame.png\n\n";
        ini += DrawFrame(d, folder);
        for (const auto& b : d.Buttons())
            ini += DrawButton(d, b, folder);
        ini += DrawList(d, folder);
        std::ofstream out(folder + "APEdefault.ini", std::ios::binary);
        out << ini;
        if (!out)
            throw std::runtime_error("cannot write " + folder + "APEdefault.ini");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-skin: %s\n", e.what());
        return 1;
    }
    return 0;
}
