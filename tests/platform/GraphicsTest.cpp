// Bitmaps, regions and text: what the skin toolkit draws with. (Drawing
// parts of bitmaps, with their alpha, is checked through the skin's pieces
// and button faces.)
#include "platform/core/Strings.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"
#include "tests/support/GdiProbes.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace win;

namespace {

std::wstring TempFile(const char* name)
{
    return FromUtf8("/tmp/kolvex-" + std::to_string(::getpid()) + "-" + name);
}

}  // namespace

TEST(Graphics, RegionsCombineAndAnswerPointQueries)
{
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(result, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_TRUE(testing_support::RegionHas(result, 5, 5));
    EXPECT_TRUE(testing_support::RegionHas(result, 9, 9));
    EXPECT_FALSE(testing_support::RegionHas(result, 4, 5));
    EXPECT_FALSE(testing_support::RegionHas(result, 10, 5));
    EXPECT_EQ(CombineRgn(result, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(testing_support::RegionHas(result, 12, 12));
    EXPECT_FALSE(testing_support::RegionHas(result, 12, 2));
    EXPECT_EQ(CombineRgn(result, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(testing_support::RegionHas(result, 7, 7));
    EXPECT_EQ(CombineRgn(result, a, a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(result, a, nullptr, RGN_OR), ERROR_REGION);
    for (HRGN r : {a, b, result})
        EXPECT_TRUE(DeleteObject(r));
    EXPECT_FALSE(DeleteObject(a));  // stale handle
}

TEST(Graphics, ImageFilesLoadWithTheirAlpha)
{
    // A PNG of another program's making: cairo's.
    std::wstring png = TempFile("image.png");
    cairo_surface_t* original = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 3, 2);
    cairo_t* cr = cairo_create(original);
    cairo_set_source_rgb(cr, 10 / 255.0, 200 / 255.0, 30 / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    ASSERT_EQ(cairo_surface_write_to_png(original, ToUtf8(png).c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(original);
    HBITMAP loaded = LoadImageFile(png);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(testing_support::BitmapPixel(loaded, 2, 1), 0xFF0AC81Eu);
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    GetBitmapPixels(loaded, &pixels, &w, &h);
    EXPECT_EQ(w * h, 6);
    std::remove(ToUtf8(png).c_str());

    // Not an image, or no file: no bitmap.
    std::wstring text = TempFile("not-an-image.png");
    FILE* f = std::fopen(ToUtf8(text).c_str(), "w");
    std::fputs("hello", f);
    std::fclose(f);
    EXPECT_EQ(LoadImageFile(text), nullptr);
    std::remove(ToUtf8(text).c_str());
    EXPECT_EQ(LoadImageFile(L"/nonexistent/skin.bmp"), nullptr);
    EXPECT_EQ(CreateARGBBitmap(0, 5), nullptr);
    DeleteObject(loaded);
}

TEST(Graphics, TextIsDrawnInTheChosenFontAndColour)
{
    HBITMAP canvas = CreateARGBBitmap(200, 40);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, canvas);
    HFONT regular = CreatePointFont(12, FW_NORMAL, 0);
    HFONT bold = CreatePointFont(12, FW_BOLD, 0);
    SIZE plain{}, heavy{}, big{};
    SelectObject(dc, regular);
    plain = testing_support::TextExtent(dc, L"Converter OK");
    SelectObject(dc, bold);
    heavy = testing_support::TextExtent(dc, L"Converter OK");
    HFONT large = CreatePointFont(24, FW_NORMAL, 0);
    SelectObject(dc, large);
    big = testing_support::TextExtent(dc, L"Converter OK");
    EXPECT_GT(heavy.cx, plain.cx);
    EXPECT_GT(big.cy, plain.cy * 3 / 2);
    // 12 points at 96 dpi are 16 pixels: a line is a little taller.
    EXPECT_GE(plain.cy, 16);
    EXPECT_LE(plain.cy, 24);

    SelectObject(dc, regular);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT r{2, 2, 200, 40};
    EXPECT_GT(DrawText(dc, L"&Convertering", -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP), 0);
    std::vector<std::uint32_t> pixels;
    int w, h;
    GetBitmapPixels(canvas, &pixels, &w, &h);
    int white = 0, other = 0;
    for (auto p : pixels) {
        if (p == 0xFFFFFFFFu)
            ++white;
        else if (p != 0)
            ++other;  // anti-aliased edges
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(pixels[0], 0u);  // transparent mode leaves the background
    // The mnemonic marker is not drawn: measured text matches without it.
    RECT withPrefix{0, 0, 0, 0}, without{0, 0, 0, 0};
    DrawText(dc, L"&Convertering", -1, &withPrefix, DT_CALCRECT | DT_SINGLELINE);
    DrawText(dc, L"Convertering", -1, &without, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(withPrefix.right, without.right);
    DeleteDC(dc);
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(canvas), static_cast<HGDIOBJ>(regular), static_cast<HGDIOBJ>(bold),
                      static_cast<HGDIOBJ>(large)})
        DeleteObject(o);
    (void)other;
}
