// A skin image (a tiny PNG or BMP) as the skin elements use one: loaded,
// pieces cut from rectangles the skin file names, bands and fills built
// from them, and the window shape found from a key colour. The input starts
// with the numbers a skin file would give (fixed-size header, below); the
// rest is the image file.
#include "fuzz/ScratchFile.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"
#include "skin/SkinImage.h"

#include <cstdlib>

namespace {

// Takes numbers from the front of the input; zero once it runs out.
class Numbers {
public:
    Numbers(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) { }
    int Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int Signed16() { return static_cast<std::int16_t>(Byte() | Byte() << 8); }
    SkinRect Rect() { return {Signed16(), Signed16(), Signed16(), Signed16()}; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr std::size_t kHeaderBytes = 4 * 8 + 3 * 2 + 8;
// Bands as large as a window; the pieces' logic is the same at any size.
constexpr int kMaxBandSide = 2048;

int Side(int value) { return value % (kMaxBandSide + 1); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderBytes)
        return 0;
    Numbers numbers(data, kHeaderBytes);
    SkinPiece left, middle, right, pattern;
    for (SkinPiece* piece : {&left, &middle, &right, &pattern})
        piece->source = numbers.Rect();
    const int width = Side(numbers.Signed16() & 0x7FFF), height = Side(numbers.Signed16() & 0x7FFF);
    const int x = numbers.Byte(), y = numbers.Byte();
    pattern.mode = numbers.Byte() & 1;
    const int kind = numbers.Byte();
    const win::COLORREF key = win::RGB(numbers.Byte(), numbers.Byte(), numbers.Byte());
    const win::COLORREF tolerance = win::RGB(numbers.Byte(), numbers.Byte(), numbers.Byte());

    // The name's extension is the one a skin would give; the decoder goes by
    // the bytes.
    std::string name = kind & 1 ? "piece.bmp" : "piece.png";
    SkinImage image = LoadImageFile(fuzz::WidePath(fuzz::WriteScratch(name, data + kHeaderBytes, size - kHeaderBytes)));
    if (image.Empty())
        return 0;
    if (!SkinSizeAllowed(image.Width(), image.Height()))
        std::abort();
    for (SkinPiece* piece : {&left, &middle, &right, &pattern})
        CutPiece(image, *piece);

    SkinPiece band;
    switch ((kind >> 1) & 3) {
    case 0: BuildHorizontalBand(band, x, y, width, height, &left, &middle, &right); break;
    case 1: BuildVerticalBand(band, x, y, width, height, &middle); break;
    case 2: BuildVerticalBandWithEnds(band, width, height, &left, &middle, &right); break;
    case 3:
        band.mode = pattern.mode;
        BuildFill(band, x, y, width, height, &pattern);
        break;
    }
    if (win::HRGN region = RegionFromBitmap(image.Bitmap(), key, tolerance, x, y))
        win::DeleteObject(region);
    return 0;
}
