// Pieces, bands, fills and regions made from skin images.
#include "SkinTesting.h"

#include "skin/SkinImage.h"

#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"
#include "tests/support/GdiProbes.h"

#include <gtest/gtest.h>

using namespace skintest;

namespace {

SkinImage CoordinateImage()
{
    static const std::string path = [] {
        std::string p = Folder() + "coordinates.png";
        WritePng(p, 256, 64, Coordinates);
        return p;
    }();
    SkinImage image = LoadImageFile(Wide(path));
    EXPECT_FALSE(image.Empty());
    return image;
}

SkinPiece Cut(const SkinImage& image, SkinRect r)
{
    SkinPiece piece;
    piece.source = r;
    CutPiece(image, piece);
    return piece;
}

int RedAt(const SkinPiece& piece, int x, int y) { return (PixelOf(piece.image.Bitmap(), x, y) >> 16) & 0xFF; }

}  // namespace

TEST(SkinImageTest, PiecesCopyTheirRectangleAndRefuseAbsurdSizes)
{
    SkinImage image = CoordinateImage();
    SkinPiece piece = Cut(image, {20, 30, 5, 4});
    ASSERT_TRUE(piece.Built());
    EXPECT_EQ(piece.Width(), 5);
    EXPECT_EQ(PixelOf(piece.image.Bitmap(), 0, 0), Coordinates(20, 30));
    EXPECT_EQ(PixelOf(piece.image.Bitmap(), 4, 3), Coordinates(24, 33));
    for (SkinRect r : {SkinRect{0, 0, 0, 10}, SkinRect{0, 0, -5, 10}, SkinRect{0, 0, 16385, 1},
                       SkinRect{0, 0, 5000, 5000}, SkinRect{0, 0, 10, -1}})
        EXPECT_FALSE(Cut(image, r).Built()) << r.width << "x" << r.height;
    EXPECT_TRUE(SkinImage::Create(16384, 976).Bitmap() != nullptr);
    EXPECT_TRUE(SkinImage::Create(16384, 977).Empty());
    EXPECT_TRUE(LoadImageFile(L"/nonexistent.png").Empty());
}

TEST(SkinImageTest, HorizontalBandTilesTheMiddleAndCutsTheLastTile)
{
    SkinImage image = CoordinateImage();
    SkinPiece left = Cut(image, {0, 0, 10, 5}), middle = Cut(image, {10, 0, 30, 5}),
              right = Cut(image, {40, 0, 10, 5});
    SkinPiece band;
    ASSERT_TRUE(BuildHorizontalBand(band, 0, 0, 100, 5, &left, &middle, &right));
    EXPECT_EQ(band.destination, (SkinRect{0, 0, 100, 5}));
    EXPECT_EQ(RedAt(band, 9, 2), 9);
    for (int tile : {10, 40, 70})
        EXPECT_EQ(RedAt(band, tile, 2), 10) << tile;
    EXPECT_EQ(RedAt(band, 89, 2), 29);  // the third tile cut to 20 columns
    EXPECT_EQ(RedAt(band, 90, 2), 40);  // the right corner

    // An exact multiple: three tiles and one empty draw.
    SkinPiece exact;
    ASSERT_TRUE(BuildHorizontalBand(exact, 0, 0, 80, 5, &left, &middle, &right));
    EXPECT_EQ(RedAt(exact, 69, 2), 39);
    EXPECT_EQ(RedAt(exact, 70, 2), 40);

    // Corners wider than the band overlap and no middle is drawn.
    SkinPiece narrow;
    ASSERT_TRUE(BuildHorizontalBand(narrow, 0, 0, 15, 5, &left, &middle, &right));
    EXPECT_EQ(RedAt(narrow, 4, 2), 4);
    EXPECT_EQ(RedAt(narrow, 5, 2), 40);
}

TEST(SkinImageTest, PiecesWithoutSizeLeaveBandsAndFillsUnbuilt)
{
    SkinImage image = CoordinateImage();
    SkinPiece left = Cut(image, {0, 0, 10, 5}), none = Cut(image, {10, 0, 0, 5}),
              right = Cut(image, {40, 0, 10, 5});
    SkinPiece band, column, fill;
    EXPECT_FALSE(BuildHorizontalBand(band, 0, 0, 100, 5, &left, &none, &right));
    EXPECT_FALSE(band.Built());
    EXPECT_FALSE(BuildVerticalBand(column, 0, 0, 5, 100, &none));
    EXPECT_FALSE(BuildFill(fill, 0, 0, 50, 50, &none));
    EXPECT_FALSE(BuildHorizontalBand(band, 0, 0, 100, 5, &left, nullptr, &right));
    EXPECT_FALSE(BuildFill(fill, 0, 0, 20000, 10, &left));
}

TEST(SkinImageTest, VerticalBandsAndFillsRepeatTheirPattern)
{
    SkinImage image = CoordinateImage();
    SkinPiece middle = Cut(image, {3, 10, 4, 7});
    SkinPiece column;
    ASSERT_TRUE(BuildVerticalBand(column, 0, 0, 4, 30, &middle));
    auto green = [](const SkinPiece& p, int x, int y) { return (PixelOf(p.image.Bitmap(), x, y) >> 8) & 0xFF; };
    EXPECT_EQ(green(column, 0, 0), 10);
    EXPECT_EQ(green(column, 0, 7), 10);
    EXPECT_EQ(green(column, 0, 29), 11);  // 29 = 4 × 7 + 1

    SkinPiece pattern = Cut(image, {50, 20, 6, 5});
    SkinPiece tiled;
    ASSERT_TRUE(BuildFill(tiled, 0, 0, 20, 12, &pattern));
    EXPECT_EQ(PixelOf(tiled.image.Bitmap(), 13, 11), Coordinates(51, 21));
    SkinPiece once;
    once.mode = 1;
    ASSERT_TRUE(BuildFill(once, 0, 0, 20, 12, &pattern));
    EXPECT_EQ(PixelOf(once.image.Bitmap(), 5, 4), Coordinates(55, 24));
    EXPECT_EQ(PixelOf(once.image.Bitmap(), 6, 4) >> 24, 0u);
}

// Found by fuzzing: a one-pixel pattern filling a window was drawn once per
// pixel, millions of draws for one skin element. The fill is the same,
// drawn a block of copies at a time; an offset start still tiles from there.
TEST(SkinImageTest, ATinyPatternFillsALargeAreaAtOnce)
{
    SkinImage image = CoordinateImage();
    SkinPiece dot = Cut(image, {7, 3, 1, 1});
    SkinPiece fill;
    ASSERT_TRUE(BuildFill(fill, 0, 0, 16000, 1000, &dot));
    for (auto [x, y] : {std::pair{0, 0}, {15999, 999}, {8191, 517}})
        EXPECT_EQ(PixelOf(fill.image.Bitmap(), x, y), Coordinates(7, 3)) << x << "," << y;

    SkinPiece pattern = Cut(image, {50, 20, 6, 5});
    SkinPiece shifted;
    ASSERT_TRUE(BuildFill(shifted, 2, 1, 2000, 1500, &pattern));
    EXPECT_EQ(shifted.destination, (SkinRect{2, 1, 2000, 1500}));
    // Copies start at the offset, and the band is copied from the canvas
    // at the offset: its (6k + 1, 5m + 1) is the pattern's (1, 1).
    EXPECT_EQ(PixelOf(shifted.image.Bitmap(), 6 * 300 + 1, 5 * 250 + 1), Coordinates(51, 21));

    // Found by the long fuzz run: a pattern thousands of pixels wide and one
    // high made a block of tens of megabytes for a narrow canvas.
    SkinPiece line = Cut(image, {1, 1, 9219, 1});
    SkinPiece strip;
    ASSERT_TRUE(BuildFill(strip, 0, 0, 16, 1808, &line));
    for (int y : {0, 1000, 1807})
        EXPECT_EQ(PixelOf(strip.image.Bitmap(), 5, y), Coordinates(6, 1)) << y;
}

TEST(SkinImageTest, RegionsCutKeyColoursOut)
{
    // Black, pure blue, dark grey, transparent, magenta, blue 238 in a row.
    const std::uint32_t row[] = {0xFF000000, 0xFF0000FF, 0xFF010101, 0x00000000, 0xFFFF00FF, 0xFF0000EE};
    std::string path = Folder() + "keys.png";
    WritePng(path, 6, 2, [&](int x, int) { return row[x]; });
    SkinImage image = LoadImageFile(Wide(path));
    ASSERT_FALSE(image.Empty());

    // Buttons: red and green 0, any blue, is outside.
    win::HRGN button = RegionFromBitmap(image.Bitmap(), win::RGB(0, 0, 255), win::RGB(0, 0, 255), 0, 0);
    const bool insideButton[] = {false, false, true, true, true, false};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(testing_support::RegionHas(button, x, 1) != 0, insideButton[x]) << x;
    win::DeleteObject(button);

    // Frames: within 16 of pure blue on every channel; offsets move the region.
    win::HRGN frame = RegionFromBitmap(image.Bitmap(), win::RGB(0, 0, 255), win::RGB(16, 16, 16), 10, 20);
    EXPECT_FALSE(testing_support::RegionHas(frame, 11, 20));
    EXPECT_TRUE(testing_support::RegionHas(frame, 15, 21));
    EXPECT_TRUE(testing_support::RegionHas(frame, 10, 20));
    win::DeleteObject(frame);

    std::string black = Folder() + "black.png";
    WritePng(black, 8, 8, [](int, int) { return 0xFF000000u; });
    SkinImage blackImage = LoadImageFile(Wide(black));
    win::HRGN empty = RegionFromBitmap(blackImage.Bitmap(), win::RGB(0, 0, 255), win::RGB(0, 0, 255), 0, 0);
    EXPECT_EQ(testing_support::RegionKind(empty), win::NULLREGION);
    win::DeleteObject(empty);
}
