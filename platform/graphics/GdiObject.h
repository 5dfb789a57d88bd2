// The records behind our GDI handles (bitmaps, regions, fonts, brushes,
// device contexts), for the parts of the platform that use what a handle
// holds: a window's region, a brush's colour.
#pragma once

#include "platform/graphics/Gdi.h"

#include <cairo.h>
#include <memory>

typedef struct _PangoFontDescription PangoFontDescription;

namespace win::internal {

struct DcState;

struct GdiObject {
    enum class Kind { Bitmap, Region, Font, Brush, Dc };
    Kind kind = Kind::Brush;
    bool stock = false;
    cairo_surface_t* surface = nullptr;       // bitmap: ARGB32, premultiplied
    cairo_region_t* region = nullptr;         // region
    PangoFontDescription* font = nullptr;     // font
    bool underline = false;                   // font
    COLORREF color = 0;                       // brush
    bool hollow = false;                      // brush that paints nothing
    std::shared_ptr<DcState> dc;              // device context

    GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject();
};

std::shared_ptr<GdiObject> FindGdi(const void* handle);
std::shared_ptr<GdiObject> FindGdi(const void* handle, GdiObject::Kind kind);

// The colour of a brush handle, including the Windows convention of a
// system colour index + 1 standing for that colour's brush. False for a
// hollow or unknown brush.
bool BrushColor(HBRUSH brush, COLORREF* color);

}  // namespace win::internal
