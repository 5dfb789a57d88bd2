// Pango layouts for our fonts. Only platform code includes this.
#pragma once

#include "platform/core/Types.h"

#include <cairo.h>
#include <pango/pangocairo.h>
#include <string>

namespace win::internal {

// A layout of `text` in `font` (null: the default dialog font) for drawing
// on `cr`, or for measuring when `cr` is null.
PangoLayout* CreateTextLayout(cairo_t* cr, HFONT font, const std::wstring& text);
// Removes mnemonic markers: "&x" → "x", "&&" → "&".
std::wstring StripPrefix(const std::wstring& text);
// The dialog font: the generic sans-serif family at 8 points.
HFONT DefaultGuiFont();
// Average character width and height of a font, as Windows derives dialog
// units from them.
SIZE FontBaseUnits(HFONT font);
// Byte offset in `utf8` of character `index`, and back.
int ByteIndex(const std::string& utf8, int index);
int CharIndex(const std::string& utf8, int byteIndex);

}  // namespace win::internal
