#include "SkinTesting.h"

#include "platform/graphics/Bitmap.h"
#include "tests/support/GdiProbes.h"

#include <cairo.h>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace skintest {

std::string Folder()
{
    static std::string folder = [] {
        std::string f = "/tmp/kolvex-skin-test-" + std::to_string(::getpid()) + "/";
        std::filesystem::remove_all(f);
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

void WriteText(const std::string& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

void WritePng(const std::string& path, int width, int height,
              const std::function<std::uint32_t(int, int)>& pixel)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = pixel(x, y);
            std::uint32_t a = p >> 24;
            auto pre = [a](std::uint32_t c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) | pre(p & 0xFF);
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

std::uint32_t Coordinates(int x, int y)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(x & 0xFF) << 16) |
           (static_cast<std::uint32_t>(y & 0xFF) << 8) | 0x80;
}

std::uint32_t PixelOf(win::HBITMAP bitmap, int x, int y) { return testing_support::BitmapPixel(bitmap, x, y); }

}  // namespace skintest

namespace skintest {

std::wstring WriteTestSkin(const std::string& extra)
{
    WritePng(Folder() + "skin.png", 256, 256, [](int x, int y) -> std::uint32_t {
        if (x >= 200 && y < 8)
            return 0xFF0000FF;  // a hole
        if (x >= 200 && y < 16)
            return 0xFF0000EE;  // not quite a hole
        if (x < 2 && y >= 100 && y < 120)
            return 0xFF0000FF;  // outside the buttons' shape
        if (x >= 160 && x < 200 && y >= 100 && y < 120)
            return 0x80FFFFFF;  // translucent white
        if (y >= 160 && y < 180)  // list rows: normal, hover, down
            return x < 20 ? 0xFF203040 : x < 40 ? 0xFF405060 : 0xFF607080;
        return Coordinates(x, y);
    });
    std::string ini = Folder() + "skin.ini";
    WriteText(ini,
              "[Variables]\nimg=skin.png\n"
              "[frame]\ntype=Window\nname=main\nimage=#img#\nframesize=0,0,400,300\n"
              "topleft=200,0,10,24\nTop=10,30,20,24\nTopRight=30,30,10,24\n"
              "Left=0,60,5,10\nRight=5,60,5,10\n"
              "BottomLeft=0,80,10,6\nBottom=10,80,20,6\nBottomRight=30,80,10,6\n"
              "Backdrop=50,60,30,30\n"
              "CloseNormal=0,130,25,20\nCloseHover=25,130,25,20\nCloseDown=50,130,25,20\n"
              "MinimiseNormal=75,130,25,20\nMinimiseHover=100,130,25,20\nMinimiseDown=125,130,25,20\n"
              "MaximiseNormal=150,130,25,20\nMaximiseHover=175,130,25,20\nMaximiseDown=200,130,25,20\n"
              "anchor_close=-30,4,25,20\nanchor_max=-60,4,25,20\nanchor_min=-90,4,25,20\n"
              "backdropskin_number=1\nbackdropskin_srect0=60,200,10,10\nbackdropskin_drect0=20,40,25,10\n"
              "[go]\ntype=Button\nname=Go\nimage=skin.png\nattribute=MAIN\n"
              "normal=0,100,40,20\nhover=40,100,40,20\ndown=80,100,40,20\ndisable=120,100,40,20\n"
              "anchor=7,9,1,1\n"
              "[stop]\ntype=Button\nname=Stop\nimage=skin.png\nattribute=main\n"
              "normal=0,100,40,20\nhover=160,100,40,20\ndown=80,100,40,20\ndisable=120,100,40,20\n"
              "[other]\ntype=Button\nname=Other\nimage=skin.png\nattribute=elsewhere\n"
              "normal=0,100,40,20\n"
              "[list]\ntype=mmlist\nname=mmlist\nimage=skin.png\nattribute=main\n"
              "framesize=10,10,300,200\nBackground=0,0,300,200\n"
              "ItemNormalLeft=0,160,4,20\nItemNormalCenter=4,160,10,20\nItemNormalRight=14,160,4,20\n"
              "ItemHoverLeft=0,160,4,20\nItemHoverCenter=20,160,10,20\nItemHoverRight=14,160,4,20\n"
              "ItemDownLeft=0,160,4,20\nItemDownCenter=40,160,10,20\nItemDownRight=14,160,4,20\n"
              "ItemScrollBarV_ThumbTrackTop=0,190,12,4\nItemScrollBarV_ThumbTrackCenter=0,194,12,4\n"
              "ItemScrollBarV_ThumbTrackBottom=0,198,12,4\n"
              "ItemScrollBarV_BackgroundTop=20,190,12,4\nItemScrollBarV_BackgroundCenter=20,194,12,4\n"
              "ItemScrollBarV_BackgroundBottom=20,198,12,4\n" +
                  extra);
    return Wide(ini);
}

}  // namespace skintest
