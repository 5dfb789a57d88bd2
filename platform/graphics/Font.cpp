#include "platform/graphics/Font.h"

#include "platform/core/Strings.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/TextLayout.h"
#include "platform/graphics/internal/DcTable.h"

#include <cmath>
#include <cstring>

namespace win {

using internal::GdiObject;

namespace internal {

namespace {

cairo_t* MeasuringContext()
{
    thread_local struct Holder {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* cr = cairo_create(surface);
        ~Holder()
        {
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
        }
    } holder;
    return holder.cr;
}

}  // namespace

HFONT DefaultGuiFont() { return reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

PangoLayout* CreateTextLayout(cairo_t* cr, HFONT font, const std::wstring& text)
{
    PangoLayout* layout = pango_cairo_create_layout(cr ? cr : MeasuringContext());
    PangoContext* context = pango_layout_get_context(layout);
    pango_cairo_context_set_resolution(context, 96.0);
    // Fixed rendering options, so the same text looks the same (and has the
    // same size) on every back-end and display.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout);

    auto object = FindGdi(font ? font : DefaultGuiFont(), GdiObject::Kind::Font);
    if (!object)
        object = FindGdi(DefaultGuiFont(), GdiObject::Kind::Font);
    pango_layout_set_font_description(layout, object->font);
    std::string utf8 = ToUtf8(text);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    if (object->underline) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    }
    return layout;
}

std::wstring StripPrefix(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == L'&')
            continue;
        out += text[i];
    }
    return out;
}

SIZE FontBaseUnits(HFONT font)
{
    PangoLayout* layout = CreateTextLayout(nullptr, font,
                                           L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width, height;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return {(width / 26 + 1) / 2, height};
}

int ByteIndex(const std::string& utf8, int index)
{
    const char* start = utf8.c_str();
    const char* p = start;
    for (int i = 0; i < index && *p; ++i)
        p = g_utf8_next_char(p);
    return static_cast<int>(p - start);
}

int CharIndex(const std::string& utf8, int byteIndex)
{
    byteIndex = std::min<int>(byteIndex, static_cast<int>(utf8.size()));
    return static_cast<int>(g_utf8_pointer_to_offset(utf8.c_str(), utf8.c_str() + byteIndex));
}

}  // namespace internal

HFONT CreateFontIndirect(const LOGFONT* font)
{
    if (!font)
        return nullptr;
    PangoFontDescription* desc = pango_font_description_new();
    std::string face = ToUtf8(font->lfFaceName);
    pango_font_description_set_family(desc, face.empty() ? "sans-serif" : face.c_str());
    double pixels = 8.0 * 96.0 / 72.0;
    if (font->lfHeight < 0)
        pixels = -font->lfHeight;
    else if (font->lfHeight > 0)
        pixels = font->lfHeight * 0.8;  // the em is about 80 % of the cell
    pango_font_description_set_absolute_size(desc, pixels * PANGO_SCALE);
    pango_font_description_set_weight(desc, font->lfWeight >= 600 ? PANGO_WEIGHT_BOLD
                                                                  : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, font->lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    auto object = std::make_shared<GdiObject>();
    object->kind = GdiObject::Kind::Font;
    object->font = desc;
    object->underline = font->lfUnderline != 0;
    return internal::InsertGdi<HFONT>(object);
}

HFONT CreatePointFont(double points, LONG weight, BOOL italic)
{
    LOGFONT lf;
    lf.lfHeight = -static_cast<LONG>(std::lround(points * 96.0 / 72.0));
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    HFONT font = CreateFontIndirect(&lf);
    // Keep fractional sizes exact rather than rounded to whole pixels.
    if (auto object = internal::FindGdi(font, GdiObject::Kind::Font))
        pango_font_description_set_absolute_size(object->font, points * 96.0 / 72.0 * PANGO_SCALE);
    return font;
}

int DrawText(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format)
{
    auto state = internal::DcOf(dc);
    if (!state || !text || !rect)
        return 0;
    std::wstring s = length < 0 ? std::wstring(text) : std::wstring(text, static_cast<std::size_t>(length));
    if (!(format & DT_NOPREFIX))
        s = internal::StripPrefix(s);
    if (format & DT_SINGLELINE)
        for (auto& c : s)
            if (c == L'\n' || c == L'\r')
                c = L' ';
    PangoLayout* layout = internal::CreateTextLayout(state->cr, state->font, s);
    int boxWidth = rect->right - rect->left;
    if (format & DT_WORDBREAK) {
        pango_layout_set_width(layout, std::max(1, boxWidth) * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) {
        pango_layout_set_width(layout, std::max(1, boxWidth) * PANGO_SCALE);
        pango_layout_set_ellipsize(layout, (format & DT_PATH_ELLIPSIS) ? PANGO_ELLIPSIZE_MIDDLE
                                                                       : PANGO_ELLIPSIZE_END);
    }
    if (format & DT_CENTER)
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    else if (format & DT_RIGHT)
        pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
    int width, height;
    pango_layout_get_pixel_size(layout, &width, &height);

    if (format & DT_CALCRECT) {
        rect->right = rect->left + width;
        rect->bottom = rect->top + height;
        g_object_unref(layout);
        return height;
    }
    cairo_t* cr = state->cr;
    if (!cr) {
        g_object_unref(layout);
        return 0;
    }
    int x = rect->left;
    if (pango_layout_get_width(layout) < 0) {
        if (format & DT_CENTER)
            x = rect->left + (boxWidth - width) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - width;
    }
    int y = rect->top;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        y = rect->top + (rect->bottom - rect->top - height) / 2;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        y = rect->bottom - height;

    cairo_save(cr);
    if (!(format & DT_NOCLIP)) {
        cairo_rectangle(cr, rect->left, rect->top, boxWidth, rect->bottom - rect->top);
        cairo_clip(cr);
    }
    int drawX = pango_layout_get_width(layout) < 0 ? x : rect->left;
    if (state->bkMode == OPAQUE) {
        internal::SetSourceColor(cr, state->bkColor);
        cairo_rectangle(cr, drawX, y, pango_layout_get_width(layout) < 0 ? width : boxWidth, height);
        cairo_fill(cr);
    }
    internal::SetSourceColor(cr, state->textColor);
    cairo_move_to(cr, drawX, y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
    RECT drawn{drawX, y, drawX + std::max(width, boxWidth), y + height};
    internal::NoteDrawn(dc, drawn);
    return height;
}

}  // namespace win
