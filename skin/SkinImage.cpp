#include "skin/SkinImage.h"

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/Region.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

bool SkinSizeAllowed(int width, int height)
{
    return width >= 1 && height >= 1 && width <= kMaxSkinSide && height <= kMaxSkinSide &&
           static_cast<long long>(width) * height <= kMaxSkinPixels;
}

SkinImage::SkinImage(win::HBITMAP bitmap) : bitmap_(bitmap)
{
    win::SIZE size;
    if (bitmap_ && win::GetBitmapSize(bitmap_, &size)) {
        width_ = size.cx;
        height_ = size.cy;
    } else {
        bitmap_ = nullptr;
    }
}

SkinImage::~SkinImage() { Reset(); }

SkinImage::SkinImage(SkinImage&& other) noexcept
    : bitmap_(std::exchange(other.bitmap_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0))
{
}

SkinImage& SkinImage::operator=(SkinImage&& other) noexcept
{
    if (this != &other) {
        Reset();
        bitmap_ = std::exchange(other.bitmap_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

SkinImage SkinImage::Create(int width, int height)
{
    if (!SkinSizeAllowed(width, height))
        return {};
    return SkinImage(win::CreateARGBBitmap(width, height));
}

void SkinImage::Reset()
{
    if (bitmap_)
        win::DeleteObject(bitmap_);
    bitmap_ = nullptr;
    width_ = height_ = 0;
}

void SkinImage::Draw(const SkinImage& source, int x, int y, int srcX, int srcY, int width,
                     int height)
{
    if (Empty() || source.Empty() || width <= 0 || height <= 0)
        return;
    win::HDC dc = win::CreateCompatibleDC(nullptr);
    win::HGDIOBJ old = win::SelectObject(dc, bitmap_);
    win::DrawBitmap(dc, x, y, source.bitmap_, srcX, srcY, width, height);
    win::SelectObject(dc, old);
    win::DeleteDC(dc);
}

void SkinImage::Draw(const SkinImage& source, int x, int y)
{
    Draw(source, x, y, 0, 0, source.width_, source.height_);
}

void SkinImage::Tile(const SkinImage& pattern, int x, int y, int width, int height)
{
    if (Empty() || pattern.Empty() || width <= 0 || height <= 0)
        return;
    win::HDC dc = win::CreateCompatibleDC(nullptr);
    win::HGDIOBJ old = win::SelectObject(dc, bitmap_);
    win::TileBitmap(dc, x, y, width, height, pattern.bitmap_);
    win::SelectObject(dc, old);
    win::DeleteDC(dc);
}

SkinImage LoadImageFile(const std::wstring& path)
{
    SkinImage image(win::LoadImageFile(path));
    if (!image.Empty() && !SkinSizeAllowed(image.Width(), image.Height()))
        image.Reset();
    return image;
}

bool CutPiece(const SkinImage& image, SkinPiece& piece)
{
    const SkinRect& r = piece.source;
    piece.image = SkinImage::Create(r.width, r.height);
    piece.image.Draw(image, 0, 0, r.x, r.y, r.width, r.height);
    return true;
}

namespace {

// The band's rectangle, and its own bitmap copied from the canvas region
// that starts at (x, y) (a plain copy for the (0, 0) that skins use).
void Finish(SkinPiece& band, SkinImage& canvas, int x, int y, int width, int height)
{
    band.destination = {x, y, width, height};
    if (x == 0 && y == 0) {
        band.image = std::move(canvas);
        return;
    }
    band.image = SkinImage::Create(width, height);
    band.image.Draw(canvas, 0, 0, x, y, width, height);
}

}  // namespace

bool BuildHorizontalBand(SkinPiece& band, int x, int y, int width, int height,
                         const SkinPiece* left, const SkinPiece* middle, const SkinPiece* right)
{
    if (!left || !middle || !right || middle->Width() <= 0)
        return false;
    SkinImage canvas = SkinImage::Create(width, height);
    if (canvas.Empty())
        return false;
    canvas.Draw(left->image, 0, 0);
    int span = width - right->Width() - left->Width();
    int count = span < 0 ? 0 : span / middle->Width() + 1;
    for (int k = 0; k < count; ++k) {
        int remaining = span - k * middle->Width();
        int columns = remaining > middle->Width() ? middle->Width() : remaining;
        canvas.Draw(middle->image, left->Width() + k * middle->Width(), y, 0, 0, columns,
                    middle->Height());
    }
    canvas.Draw(right->image, width - right->Width(), y);
    Finish(band, canvas, x, y, width, height);
    return true;
}

bool BuildVerticalBand(SkinPiece& band, int x, int y, int width, int height,
                       const SkinPiece* middle)
{
    if (!middle || middle->Height() <= 0)
        return false;
    SkinImage canvas = SkinImage::Create(width, height);
    if (canvas.Empty())
        return false;
    int count = height / middle->Height() + 1;
    for (int k = 0; k < count; ++k) {
        int remaining = height - k * middle->Height();
        int rows = remaining > middle->Height() ? middle->Height() : remaining;
        canvas.Draw(middle->image, x, y + k * middle->Height(), 0, 0, middle->Width(), rows);
    }
    Finish(band, canvas, x, y, width, height);
    return true;
}

bool BuildVerticalBandWithEnds(SkinPiece& band, int width, int height, const SkinPiece* top,
                               const SkinPiece* middle, const SkinPiece* bottom)
{
    if (!top || !middle || !bottom || middle->Height() <= 0)
        return false;
    SkinImage canvas = SkinImage::Create(width, height);
    if (canvas.Empty())
        return false;
    int span = height - top->Height() - bottom->Height();
    for (int at = 0; at < span; at += middle->Height())
        canvas.Draw(middle->image, 0, top->Height() + at, 0, 0, middle->Width(),
                    std::min(middle->Height(), span - at));
    canvas.Draw(top->image, 0, 0);
    canvas.Draw(bottom->image, 0, height - bottom->Height());
    Finish(band, canvas, 0, 0, width, height);
    return true;
}

bool BuildFill(SkinPiece& target, int x, int y, int width, int height, const SkinPiece* pattern)
{
    if (!pattern || pattern->Width() <= 0 || pattern->Height() <= 0)
        return false;
    SkinImage canvas = SkinImage::Create(width, height);
    if (canvas.Empty())
        return false;
    if (target.mode == 0) {
        // Copies across and down from (x, y) to the canvas's far edges.
        canvas.Tile(pattern->image, x, y, width - x, height - y);
    } else {
        canvas.Draw(pattern->image, x, y);
    }
    Finish(target, canvas, x, y, width, height);
    return true;
}

win::HRGN RegionFromBitmap(win::HBITMAP bitmap, win::COLORREF key, win::COLORREF tolerance,
                           int xOffset, int yOffset)
{
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    if (!bitmap || !win::GetBitmapPixels(bitmap, &pixels, &width, &height))
        return nullptr;
    // Pixels are seen flattened onto opaque magenta, so fully transparent
    // ones count as magenta.
    auto flat = [](std::uint32_t p) {
        std::uint32_t a = p >> 24;
        if (a == 255)
            return p;
        auto over = [a](std::uint32_t c, std::uint32_t back) { return (c * a + back * (255 - a) + 127) / 255; };
        return 0xFF000000u | (over((p >> 16) & 0xFF, 255) << 16) | (over((p >> 8) & 0xFF, 0) << 8) |
               over(p & 0xFF, 255);
    };
    auto range = [](int k, int t) {
        return std::pair<int, int>{t < k ? k - t : 0, k + t < 255 ? k + t : 255};
    };
    const auto red = range(win::GetRValue(key), win::GetRValue(tolerance));
    const auto green = range(win::GetGValue(key), win::GetGValue(tolerance));
    const auto blue = range(win::GetBValue(key), win::GetBValue(tolerance));
    auto transparent = [&](std::uint32_t p) {
        p = flat(p);
        int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        return r >= red.first && r <= red.second && g >= green.first && g <= green.second &&
               b >= blue.first && b <= blue.second;
    };
    win::HRGN region = win::CreateRectRgn(0, 0, 0, 0);
    win::HRGN run = win::CreateRectRgn(0, 0, 0, 0);
    // Rows with the same runs as the row above extend its rectangles
    // downwards, so a shape is a handful of unions, not one per row.
    std::vector<std::pair<int, int>> runs, previous;
    int bandTop = 0;
    auto flush = [&](int bandBottom) {
        for (auto [x0, x1] : previous) {
            win::SetRectRgn(run, x0 + xOffset, bandTop + yOffset, x1 + xOffset, bandBottom + yOffset);
            win::CombineRgn(region, region, run, win::RGN_OR);
        }
    };
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * width;
        // A row like the one above has its runs: the band goes on.
        if (y > 0 && std::memcmp(row, row - width, static_cast<std::size_t>(width) * sizeof *row) == 0)
            continue;
        runs.clear();
        for (int x = 0; x < width;) {
            while (x < width && transparent(row[x]))
                ++x;
            int start = x;
            while (x < width && !transparent(row[x]))
                ++x;
            if (x > start)
                runs.emplace_back(start, x);
        }
        if (runs != previous) {
            flush(y);
            previous.swap(runs);
            bandTop = y;
        }
    }
    flush(height);
    win::DeleteObject(run);
    return region;
}

void DrawImage(win::HDC dc, const SkinImage& image, int x, int y)
{
    if (!image.Empty())
        win::DrawBitmap(dc, x, y, image.Bitmap(), 0, 0, image.Width(), image.Height());
}

void DrawPiece(win::HDC dc, const SkinPiece& piece, int x, int y) { DrawImage(dc, piece.image, x, y); }
