// Shared by the skin tests: skin files and images written to a private
// folder, and the pixels of bitmaps.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>
#include <functional>
#include <string>

namespace skintest {

// A fresh folder for this test program, with a trailing "/".
std::string Folder();
std::wstring Wide(const std::string& text);
void WriteText(const std::string& path, const std::string& text);
// `pixel` gives 0xAARRGGBB (not premultiplied) for each (x, y).
void WritePng(const std::string& path, int width, int height,
              const std::function<std::uint32_t(int, int)>& pixel);
// The "coordinate" image: every opaque pixel tells where it lies
// (red = x, green = y, blue = 0x80), so a cut piece shows where it came from.
std::uint32_t Coordinates(int x, int y);
// 0xAARRGGBB of a bitmap's pixel.
std::uint32_t PixelOf(win::HBITMAP bitmap, int x, int y);

}  // namespace skintest

namespace skintest {

// One image for every test element (the coordinate image with blue holes,
// a near-blue strip and a translucent patch) and a definition file naming
// pieces of it: frame "main" (400 × 300, caption 24, close anchor −30, 4,
// 25 × 20), buttons "Go" and "Stop" (faces 40 × 20, "Go" anchored at 7, 9),
// button "Other" (belongs to another frame) and the list "mmlist".
// `extra` is appended to the file. Returns the definition file's path.
std::wstring WriteTestSkin(const std::string& extra = "");
constexpr int kCaption = 24;

}  // namespace skintest
