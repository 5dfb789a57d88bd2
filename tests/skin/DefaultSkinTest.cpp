// The default skin as built into the program folder: readable texts
// (WCAG AA contrast against every pixel behind them), and the preview tool's
// picture of the main window (holes, button faces, rows).
#include "SkinTesting.h"
#include "WindowTesting.h"

#include "PreviewDialog.h"

#include "skin/SkinFile.h"
#include "skin/SkinManager.h"
#include "skin/SkinMultimediaList.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Gdi.h"
#include "platform/core/Strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>

using namespace win;
using namespace testing_windows;
using namespace skintest;

namespace {

std::string Bin()
{
    const char* bin = std::getenv("KOLVEX_BIN");
    return bin ? std::string(bin) + "/" : "./";
}

double Luminance(std::uint32_t rgb)
{
    auto channel = [](std::uint32_t c) {
        double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) +
           0.0722 * channel(rgb & 0xFF);
}

double Contrast(std::uint32_t a, std::uint32_t b)
{
    double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The lowest contrast between `text` and the window's pixels in `r`
// (window coordinates).
double WorstContrast(const std::vector<std::uint32_t>& pixels, int width, RECT r, std::uint32_t text)
{
    double worst = 100;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            worst = std::min(worst, Contrast(pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF, text));
    return worst;
}

RECT InWindow(HWND top, HWND child)
{
    RECT w, c;
    GetWindowRect(top, &w);
    GetWindowRect(child, &c);
    return {c.left - w.left, c.top - w.top, c.right - w.left, c.bottom - w.top};
}

}  // namespace

TEST(DefaultSkinTest, TextsHaveAtLeastAaContrastWithEverythingBehindThem)
{
    RegisterMiniWndClass();
    SkinManager manager;
    preview::Options options;
    options.manager = &manager;
    options.skinFolder = Wide(Bin()) + L"Skin/";
    options.rows = 0;
    DialogTemplate t = preview::Template();
    HWND dialog = CreateDialogIndirectParam(nullptr, &t, nullptr, preview::DialogProc,
                                            reinterpret_cast<LPARAM>(&options));
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(manager.Find(L"main"), nullptr) << "the default skin did not load";
    // Only the backgrounds: labels without text, rows without names.
    for (int id : {preview::kStatus, preview::kDirectory, preview::kFormat})
        SetDlgItemText(dialog, id, L"");
    for (UINT key = 0; key < 3; ++key)
        manager.ListAddItem(L"mmlist", L"", key);
    manager.ListSetItemState(L"mmlist", 3, 2);
    ShowWindow(dialog, SW_SHOW);
    Pump();
    auto* list = dynamic_cast<SkinMultimediaList*>(manager.Find(L"mmlist"));
    ASSERT_NE(list, nullptr);
    MoveTo(list->RowWindow(1), 500, 5);

    std::string file = Folder() + "backgrounds.png";
    ASSERT_TRUE(SaveWindowPng(dialog, Wide(file)));
    HBITMAP shot = ::win::LoadImageFile(Wide(file));
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(GetBitmapPixels(shot, &pixels, &width, &height));
    DeleteObject(shot);

    // Labels: black on the backdrop, over their whole rectangle.
    for (int id : {preview::kStatus, preview::kDirectory, preview::kFormat}) {
        RECT r = InWindow(dialog, GetDlgItem(dialog, id));
        EXPECT_GE(WorstContrast(pixels, width, r, 0x000000), 4.5) << "label " << id;
    }
    // Rows: white over the name and information texts, in all three faces.
    for (UINT key = 0; key < 3; ++key) {
        // The texts start 2 pixels in and end with the information column.
        RECT r = InWindow(dialog, list->RowWindow(key));
        r.right = r.left + 380;
        r.left += 2;
        EXPECT_GE(WorstContrast(pixels, width, r, 0xFFFFFF), 4.5) << "row face " << key;
    }
    // The three faces differ, so a person sees which rows are ticked.
    auto at = [&](UINT key) {
        RECT r = InWindow(dialog, list->RowWindow(key));
        return pixels[static_cast<std::size_t>(r.top + 5) * width + r.left + 100] & 0xFFFFFF;
    };
    EXPECT_NE(at(0), at(1));
    EXPECT_NE(at(0), at(2));
    EXPECT_NE(at(1), at(2));
    DestroyWindow(dialog);
}

TEST(DefaultSkinTest, PreviewPictureShowsHolesFacesAndRows)
{
    std::string file = Folder() + "preview.png";
    std::string command = Bin() + "kolvex-skin-preview --render " + file + " > " + Folder() + "preview.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    HBITMAP shot = ::win::LoadImageFile(Wide(file));
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(GetBitmapPixels(shot, &pixels, &width, &height));
    DeleteObject(shot);
    ASSERT_EQ(width, 665);
    ASSERT_EQ(height, 483 + 32);
    auto pixel = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; };

    // Holes: the four rounded corners, where the skin is pure blue.
    for (auto [x, y] : {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
        EXPECT_EQ(pixel(x, y) >> 24, 0u) << x << "," << y;
    EXPECT_EQ(pixel(width / 2, 1) >> 24, 255u);

    // Faces: each button shows the face of its state, as the skin file says.
    SkinFile skin;
    ASSERT_TRUE(skin.Open(Wide(Bin()) + L"Skin/APEdefault.ini"));
    auto face = [&](const wchar_t* button, const wchar_t* state, int dx, int dy) {
        SkinImage image = ::LoadImageFile(Wide(Bin()) + L"Skin/" + skin.GetString(button, L"image", L""));
        SkinRect r = skin.GetRect(button, state);
        return PixelOf(image.Bitmap(), r.x + dx, r.y + dy) & 0xFFFFFF;
    };
    auto shown = [&](const wchar_t* button, int dx, int dy) {
        SkinRect a = skin.GetRect(button, L"anchor");
        return pixel(a.x + dx, 32 + a.y + dy) & 0xFFFFFF;
    };
    for (auto [dx, dy] : {std::pair{6, 18}, {50, 4}}) {
        EXPECT_EQ(shown(L"MP3", dx, dy), face(L"MP3", L"down", dx, dy));
        EXPECT_EQ(shown(L"add", dx, dy), face(L"add", L"hover", dx, dy));
        EXPECT_EQ(shown(L"del", dx, dy), face(L"del", L"normal", dx, dy));
        EXPECT_EQ(shown(L"WAVE", dx, dy), face(L"WAVE", L"normal", dx, dy));
    }
    EXPECT_NE(face(L"add", L"hover", 50, 4), face(L"add", L"normal", 50, 4));

    // Rows: every row band of the list shows a row face, right of the texts.
    SkinRect list = skin.GetRect(L"mmlist", L"framesize");
    SkinImage listImage = ::LoadImageFile(Wide(Bin()) + L"Skin/list.png");
    std::set<std::uint32_t> faces;
    for (const wchar_t* key : {L"ItemNormalCenter", L"ItemDownCenter"}) {
        SkinRect r = skin.GetRect(L"mmlist", key);
        faces.insert(PixelOf(listImage.Bitmap(), r.x + 2, r.y + 5) & 0xFFFFFF);
    }
    int rowHeight = skin.GetRect(L"mmlist", L"ItemNormalCenter").height;
    int rowsSeen = 0;
    for (int y = 32 + list.y; y < 32 + list.y + list.height; y += rowHeight / 2)
        rowsSeen += faces.count(pixel(list.x + 450, y) & 0xFFFFFF) ? 1 : 0;
    EXPECT_GE(rowsSeen, 2 * (list.height / rowHeight) - 2);

    // The list was scrolled by the thumb: its first row is not the first.
    std::FILE* report = std::fopen((Folder() + "preview.txt").c_str(), "r");
    ASSERT_NE(report, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, report), nullptr);
    std::fclose(report);
    const char* at = std::strstr(line, "list at ");
    ASSERT_NE(at, nullptr);
    EXPECT_GT(std::atoi(at + 8), rowHeight);
}
