// Image headers are checked by us before a decoder sees the file: sizes are
// read from PNG and BMP headers, and a header that does not fit its file or
// the size limits keeps the file from the decoder.
#include "platform/core/Strings.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/ImageHeader.h"

#include "tests/support/TestFiles.h"
#include "tests/support/GdiProbes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace win;
using testing_support::TempDir;

namespace {

using Bytes = std::vector<unsigned char>;

void PutLe(Bytes& b, std::size_t at, std::uint32_t v, int n)
{
    for (int i = 0; i < n; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A 24-bit BMP of `width` x `height` (negative: rows from the top), every
// pixel the same colour; `cut` bytes are left off the end.
Bytes Bmp(int width, int height, std::uint32_t rgb, std::size_t cut = 0)
{
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    Bytes b(54 + stride * rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe(b, 2, static_cast<std::uint32_t>(b.size()), 4);
    PutLe(b, 10, 54, 4);
    PutLe(b, 14, 40, 4);
    PutLe(b, 18, static_cast<std::uint32_t>(width), 4);
    PutLe(b, 22, static_cast<std::uint32_t>(height), 4);
    PutLe(b, 26, 1, 2);
    PutLe(b, 28, 24, 2);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x)
            PutLe(b, 54 + y * stride + x * 3, rgb, 3);
    b.erase(b.end() - static_cast<std::ptrdiff_t>(cut), b.end());
    return b;
}

// The signature and an IHDR chunk of that size: enough for the header.
Bytes PngHeader(std::uint32_t width, std::uint32_t height)
{
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(static_cast<unsigned char>(v >> shift));
    b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    return b;
}

std::optional<ImageHeader> HeaderOf(const TempDir& dir, const Bytes& bytes)
{
    testing_support::WriteBytes(dir / "image", bytes);
    return ReadImageHeader((dir / "image").string());
}

}  // namespace

TEST(ImageHeader, SizesComeFromTheHeaders)
{
    TempDir dir;
    auto png = HeaderOf(dir, PngHeader(300, 20));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->kind, ImageKind::Png);
    EXPECT_EQ(png->width, 300);
    EXPECT_EQ(png->height, 20);
    auto topDown = HeaderOf(dir, Bmp(5, -3, 0x102030));
    ASSERT_TRUE(topDown);
    EXPECT_EQ(topDown->kind, ImageKind::Bmp);
    EXPECT_EQ(topDown->width, 5);
    EXPECT_EQ(topDown->height, 3);
}

TEST(ImageHeader, HeadersThatDoNotFitTheFileOrTheLimitsAreRefused)
{
    TempDir dir;
    EXPECT_FALSE(HeaderOf(dir, PngHeader(kMaxImageSide + 1, 1)));
    EXPECT_FALSE(HeaderOf(dir, PngHeader(5000, 5000)));  // more pixels than allowed
    EXPECT_FALSE(HeaderOf(dir, PngHeader(0, 10)));
    EXPECT_FALSE(HeaderOf(dir, Bmp(4, 4, 0, 1)));  // the last row is cut short
    Bytes wide = Bmp(1, 1, 0);
    PutLe(wide, 18, 40000, 4);
    EXPECT_FALSE(HeaderOf(dir, wide));
    // Found by fuzzing: a colour table of 671 million entries, which the
    // image decoder allocated before it looked at the pixels.
    Bytes colours = Bmp(8, 8, 0);
    PutLe(colours, 46, 0x2800FF00, 4);
    EXPECT_FALSE(HeaderOf(dir, colours));
    PutLe(colours, 46, 0, 4);
    EXPECT_TRUE(HeaderOf(dir, colours));
    // Found by fuzzing: its pixels start two gigabytes into a file of 200
    // bytes, and the image decoder grew a buffer towards them.
    EXPECT_FALSE(HeaderOf(dir, testing_support::ReadBytes(testing_support::FixturePath("fuzz/bmp-offset-past-end.bmp"))));
    EXPECT_FALSE(HeaderOf(dir, Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(HeaderOf(dir, Bytes{'B', 'M'}));
    EXPECT_FALSE(ReadImageHeader((dir / "missing.bmp").string()));
}

TEST(ImageHeader, BmpFilesLoadAndCutOnesDoNot)
{
    TempDir dir;
    testing_support::WriteBytes(dir / "solid.bmp", Bmp(3, 2, 0x0AC81E));
    HBITMAP bitmap = LoadImageFile(FromUtf8((dir / "solid.bmp").string()));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(testing_support::BitmapPixel(bitmap, 2, 1), 0xFF0AC81Eu);
    DeleteObject(bitmap);
    testing_support::WriteBytes(dir / "cut.bmp", Bmp(3, 2, 0x0AC81E, 4));
    EXPECT_EQ(LoadImageFile(FromUtf8((dir / "cut.bmp").string())), nullptr);
}
