#include "platform/controls/internal/Theme.h"

#include "platform/graphics/CairoDc.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/TextLayout.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <cmath>

namespace win::internal {

bool HandleFontMessage(HWND hwnd, ControlState& state, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result)
{
    if (message == WM_SETFONT) {
        state.font = reinterpret_cast<HFONT>(wParam);
        if (lParam)
            InvalidateRect(hwnd, nullptr, 1);
        *result = 0;
        return true;
    }
    if (message == WM_GETFONT) {
        *result = reinterpret_cast<LRESULT>(state.font);
        return true;
    }
    return false;
}

void RoundedPath(cairo_t* cr, double x, double y, double w, double h, double r)
{
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void FillRounded(cairo_t* cr, double x, double y, double w, double h, double r, COLORREF color)
{
    cairo_save(cr);
    RoundedPath(cr, x, y, w, h, r);
    SetSourceColor(cr, color);
    cairo_fill(cr);
    cairo_restore(cr);
}

void StrokeRounded(cairo_t* cr, double x, double y, double w, double h, double r, COLORREF color)
{
    cairo_save(cr);
    RoundedPath(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
    SetSourceColor(cr, color);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void FillParentBackground(HWND hwnd, HDC dc, UINT ctlColorMessage, const RECT& rect)
{
    HWND parent = GetParent(hwnd);
    HBRUSH brush = parent ? reinterpret_cast<HBRUSH>(SendMessage(parent, ctlColorMessage,
                                                                 reinterpret_cast<WPARAM>(dc),
                                                                 reinterpret_cast<LPARAM>(hwnd)))
                          : nullptr;
    if (!brush)
        brush = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &rect, brush);
}

void DrawLabel(HDC dc, HFONT font, const std::wstring& text, RECT rect, UINT format, COLORREF color)
{
    HGDIOBJ old = SelectObject(dc, font ? font : DefaultGuiFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SelectObject(dc, old);
}

int TextHeight(HFONT font)
{
    PangoLayout* layout = CreateTextLayout(nullptr, font, L"Xg");
    int width, height;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return height;
}

int TextWidth(HFONT font, const std::wstring& text)
{
    PangoLayout* layout = CreateTextLayout(nullptr, font, text);
    int width, height;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return width;
}

void NotifyParent(HWND control, WORD code)
{
    HWND parent = GetParent(control);
    if (!parent)
        return;
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
                reinterpret_cast<LPARAM>(control));
}

}  // namespace win::internal
