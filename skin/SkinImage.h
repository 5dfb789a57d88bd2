// Skin images and the pieces cut from them. An element loads its image
// file once, cuts every rectangle it names into a bitmap of its own
// (a SkinPiece), composes the bands and fills it draws as a whole, and lets
// the file image go. Pieces are never scaled: larger areas are tiled, the
// last tile cut to fit.
#pragma once

#include "platform/core/Types.h"

#include <string>

// A rectangle read from a skin file: x, y, width, height.
struct SkinRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const SkinRect&) const = default;
};

// Sizes a skin may ask for. Anything wider or taller than this, negative, or
// with more pixels than kMaxSkinPixels is refused like a missing piece.
constexpr int kMaxSkinSide = 16384;
constexpr long long kMaxSkinPixels = 16LL * 1000 * 1000;
bool SkinSizeAllowed(int width, int height);

// Owns one 32-bit ARGB bitmap (or none: an empty image draws nothing).
class SkinImage {
public:
    SkinImage() = default;
    explicit SkinImage(win::HBITMAP bitmap);
    ~SkinImage();
    SkinImage(SkinImage&& other) noexcept;
    SkinImage& operator=(SkinImage&& other) noexcept;
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;

    // A transparent bitmap of that size; empty when the size is refused.
    static SkinImage Create(int width, int height);

    win::HBITMAP Bitmap() const { return bitmap_; }
    bool Empty() const { return bitmap_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Reset();

    // Draws the rectangle (srcX, srcY, width, height) of `source` at (x, y),
    // blended over what is there. Nothing happens when either is empty.
    void Draw(const SkinImage& source, int x, int y, int srcX, int srcY, int width, int height);
    // Draws the whole of `source` at (x, y) at its own size.
    void Draw(const SkinImage& source, int x, int y);
    // Covers (x, y, width, height) with copies of `pattern`, the first at (x, y).
    void Tile(const SkinImage& pattern, int x, int y, int width, int height);

private:
    win::HBITMAP bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// One prepared piece.
struct SkinPiece {
    int mode = 0;             // the frame's centre only: 0 tiles, others draw once
    SkinRect destination;     // where the piece goes, in its user's coordinates
    SkinRect source;          // the rectangle named by the skin file
    SkinImage image;          // of the source's size; empty until built

    bool Built() const { return !image.Empty(); }
    int Width() const { return image.Width(); }
    int Height() const { return image.Height(); }
};

// Empty when the file is missing or is not an image.
SkinImage LoadImageFile(const std::wstring& path);
// The piece's image becomes a copy of its source rectangle of `image`; a
// rectangle of zero (or refused) size leaves it empty. Always true.
bool CutPiece(const SkinImage& image, SkinPiece& piece);
// left corner, tiled middle, right corner across `width`. False (band
// unbuilt) when a piece is missing or the middle has no width.
bool BuildHorizontalBand(SkinPiece& band, int x, int y, int width, int height,
                         const SkinPiece* left, const SkinPiece* middle, const SkinPiece* right);
// The middle tiled down `height`. False when it is missing or has no height.
bool BuildVerticalBand(SkinPiece& band, int x, int y, int width, int height,
                       const SkinPiece* middle);
// top end, tiled middle, bottom end down `height` (the scroll bar's track and
// thumb). False when a piece is missing or the middle has no height.
bool BuildVerticalBandWithEnds(SkinPiece& band, int width, int height, const SkinPiece* top,
                               const SkinPiece* middle, const SkinPiece* bottom);
// The pattern tiled over width × height (mode 0) or drawn once. False when
// the pattern is missing or has no size.
bool BuildFill(SkinPiece& target, int x, int y, int width, int height, const SkinPiece* pattern);

// The window shape of a bitmap: pixels whose colour lies within `tolerance`
// of `key` on every channel are cut out (transparent pixels count as
// magenta); runs of the rest are joined row by row. Colours are COLORREFs,
// the tolerance one value per channel. The caller owns the region.
win::HRGN RegionFromBitmap(win::HBITMAP bitmap, win::COLORREF key, win::COLORREF tolerance,
                           int xOffset, int yOffset);

// Draws a piece (or any image) at (x, y) of a device context, at its own size.
void DrawPiece(win::HDC dc, const SkinPiece& piece, int x, int y);
void DrawImage(win::HDC dc, const SkinImage& image, int x, int y);
