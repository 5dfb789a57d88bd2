#include "platform/window/NonClient.h"

#include "platform/backend/Backend.h"
#include "platform/core/Rect.h"
#include "platform/dialogs/Menu.h"
#include "platform/graphics/CairoDc.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Gdi.h"
#include "platform/graphics/Icon.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "platform/window/internal/WindowTable.h"

namespace win::internal {

namespace {

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION && !(style & WS_CHILD); }

HICON SmallIconOf(const WindowData& window)
{
    if (window.icons[ICON_SMALL])
        return window.icons[ICON_SMALL];
    if (window.icons[ICON_BIG])
        return window.icons[ICON_BIG];
    return window.cls->wc.hIcon;
}

// Caption buttons from the right: close, maximise, minimise.
RECT ButtonRect(const WindowData& window, LRESULT hit)
{
    FrameSize frame = DefaultFrame(window.style, window.exStyle);
    if (!frame.caption || !(window.style & WS_SYSMENU))
        return {};
    int right = window.Width() - frame.border;
    int slot = 0;
    if (hit == HTMAXBUTTON) {
        if (!(window.style & WS_MAXIMIZEBOX))
            return {};
        slot = 1;
    } else if (hit == HTMINBUTTON) {
        if (!(window.style & WS_MINIMIZEBOX))
            return {};
        slot = (window.style & WS_MAXIMIZEBOX) ? 2 : 1;
    } else if (hit != HTCLOSE) {
        return {};
    }
    int left = right - (slot + 1) * kCaptionButtonWidth;
    return {left, frame.border, left + kCaptionButtonWidth, frame.border + frame.caption};
}

RECT IconRect(const WindowData& window)
{
    FrameSize frame = DefaultFrame(window.style, window.exStyle);
    if (!frame.caption || !(window.style & WS_SYSMENU) || !SmallIconOf(window))
        return {};
    return {frame.border, frame.border, frame.border + frame.caption, frame.border + frame.caption};
}

HFONT CaptionFont()
{
    static HFONT font = CreatePointFont(9, FW_NORMAL, 0);
    return font;
}

void DrawGlyph(cairo_t* cr, LRESULT hit, const RECT& r, bool maximized)
{
    double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    cairo_set_line_width(cr, 1.0);
    switch (hit) {
    case HTCLOSE:
        cairo_move_to(cr, cx - 5, cy - 5);
        cairo_line_to(cr, cx + 5, cy + 5);
        cairo_move_to(cr, cx + 5, cy - 5);
        cairo_line_to(cr, cx - 5, cy + 5);
        break;
    case HTMINBUTTON:
        cairo_move_to(cr, cx - 5, cy + 0.5);
        cairo_line_to(cr, cx + 5, cy + 0.5);
        break;
    case HTMAXBUTTON:
        if (maximized) {
            cairo_rectangle(cr, cx - 4.5, cy - 2.5, 7, 7);
            cairo_move_to(cr, cx - 2.5, cy - 2.5);
            cairo_line_to(cr, cx - 2.5, cy - 4.5);
            cairo_line_to(cr, cx + 4.5, cy - 4.5);
            cairo_line_to(cr, cx + 4.5, cy + 2.5);
            cairo_line_to(cr, cx + 2.5, cy + 2.5);
        } else {
            cairo_rectangle(cr, cx - 4.5, cy - 4.5, 9, 9);
        }
        break;
    }
    cairo_stroke(cr);
}

void PaintCaption(HDC dc, const WindowData& window, const FrameSize& frame)
{
    cairo_t* cr = CairoOf(dc);
    bool active = window.ncActive;
    RECT bar{frame.border, frame.border, window.Width() - frame.border, frame.border + frame.caption};
    FillRect(dc, &bar, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));

    int textLeft = bar.left + 10;
    RECT icon = IconRect(window);
    if (!IsRectEmpty(&icon)) {
        DrawIconEx(dc, icon.left + 7, icon.top + 7, SmallIconOf(window), 16, 16, 0, nullptr, 0);
        textLeft = icon.right;
    }
    RECT text{textLeft, bar.top, bar.right - 3 * kCaptionButtonWidth, bar.bottom};
    HGDIOBJ old = SelectObject(dc, CaptionFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawText(dc, window.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);

    for (LRESULT hit : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
        RECT r = ButtonRect(window, hit);
        if (IsRectEmpty(&r))
            continue;
        bool pressed = window.pressedHit == hit && window.hotHit == hit;
        bool hot = window.hotHit == hit || pressed;
        COLORREF glyph = GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
        if (hot) {
            COLORREF back = hit == HTCLOSE ? (pressed ? RGB(148, 20, 20) : RGB(196, 43, 28))
                                           : (pressed ? RGB(204, 204, 204) : RGB(229, 229, 229));
            HBRUSH brush = CreateSolidBrush(back);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            if (hit == HTCLOSE)
                glyph = RGB(255, 255, 255);
        }
        cairo_save(cr);
        SetSourceColor(cr, glyph);
        DrawGlyph(cr, hit, r, window.style & WS_MAXIMIZE);
        cairo_restore(cr);
    }
}

void PaintBorder(HDC dc, const WindowData& window, const FrameSize& frame)
{
    if (!frame.border)
        return;
    COLORREF color;
    if (window.IsChild()) {
        bool focused = GetFocus() == window.self;
        color = (window.style & WS_DISABLED) ? GetSysColor(COLOR_3DLIGHT)
                : focused                    ? GetSysColor(COLOR_HIGHLIGHT)
                                             : RGB(180, 180, 180);
    } else {
        color = window.ncActive ? RGB(120, 120, 120) : RGB(170, 170, 170);
    }
    HBRUSH brush = CreateSolidBrush(color);
    for (int i = 0; i < frame.border; ++i) {
        RECT r{i, i, window.Width() - i, window.Height() - i};
        FrameRect(dc, &r, brush);
    }
    DeleteObject(brush);
}

void RepaintFrame(HWND hwnd)
{
    DefNcPaint(hwnd);
}

void SetHot(WindowData& window, LRESULT hit)
{
    if (hit != HTCLOSE && hit != HTMINBUTTON && hit != HTMAXBUTTON)
        hit = 0;
    if (window.hotHit == hit)
        return;
    window.hotHit = hit;
    RepaintFrame(window.self);
}

}  // namespace

FrameSize DefaultFrame(DWORD style, DWORD exStyle)
{
    FrameSize frame;
    if (style & WS_CHILD) {
        frame.border = ((style & WS_BORDER) ? 1 : 0) + ((exStyle & WS_EX_CLIENTEDGE) ? 1 : 0);
        return frame;
    }
    if (HasCaption(style)) {
        frame.border = 1;
        frame.caption = kCaptionHeight;
    } else if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        frame.border = 1;
    }
    return frame;
}

LRESULT DefNcCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    auto window = FindWindow(hwnd);
    if (!window || !lParam)
        return 0;
    RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                        : reinterpret_cast<RECT*>(lParam);
    FrameSize frame = DefaultFrame(window->style, window->exStyle);
    rect->left += frame.border;
    rect->right -= frame.border;
    rect->top += frame.border + frame.caption;
    rect->bottom -= frame.border;
    if (rect->bottom < rect->top)
        rect->bottom = rect->top;
    if (rect->right < rect->left)
        rect->right = rect->left;
    return 0;
}

LRESULT DefNcHitTest(HWND hwnd, POINT screen)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return HTNOWHERE;
    RECT r;
    GetWindowRect(hwnd, &r);
    if (!PtInRect(&r, screen))
        return HTNOWHERE;
    POINT local{screen.x - r.left, screen.y - r.top};
    if (PtInRect(&window->client, local))
        return HTCLIENT;
    for (LRESULT hit : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
        RECT b = ButtonRect(*window, hit);
        if (PtInRect(&b, local))
            return hit;
    }
    RECT icon = IconRect(*window);
    if (PtInRect(&icon, local))
        return HTSYSMENU;
    FrameSize frame = DefaultFrame(window->style, window->exStyle);
    if (frame.caption && local.y >= frame.border && local.y < frame.border + frame.caption)
        return HTCAPTION;
    return HTBORDER;
}

void DefNcPaint(HWND hwnd)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return;
    FrameSize frame = DefaultFrame(window->style, window->exStyle);
    if (!frame.border && !frame.caption)
        return;
    HDC dc = GetWindowDC(hwnd);
    if (frame.caption)
        PaintCaption(dc, *window, frame);
    PaintBorder(dc, *window, frame);
    ReleaseDC(hwnd, dc);
}

void TrackSystemMenu(HWND hwnd, POINT screen)
{
    HMENU menu = GetSystemMenu(hwnd, 0);
    UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, screen.x, screen.y, 0, hwnd, nullptr));
    if (chosen)
        PostMessage(hwnd, WM_SYSCOMMAND, chosen, MAKEPOINTLPARAM(screen.x, screen.y));
}

LRESULT DefNcMouse(HWND hwnd, UINT message, WPARAM hit, LPARAM lParam)
{
    auto window = FindWindow(hwnd);
    if (!window)
        return 0;
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    LRESULT code = static_cast<LRESULT>(hit);
    switch (message) {
    case WM_NCMOUSEMOVE: {
        SetHot(*window, code);
        TRACKMOUSEEVENT track;
        track.dwFlags = TME_LEAVE | TME_NONCLIENT;
        track.hwndTrack = hwnd;
        TrackMouseEvent(&track);
        return 0;
    }
    case WM_NCMOUSELEAVE: SetHot(*window, 0); return 0;
    case WM_NCLBUTTONDOWN:
        if (code == HTCAPTION && !window->IsChild() && !(window->style & WS_MAXIMIZE)) {
            CurrentBackend().BeginMoveDrag(hwnd, screen);
        } else if (code == HTCLOSE || code == HTMINBUTTON || code == HTMAXBUTTON) {
            // Held until the button comes up, wherever that is.
            window->pressedHit = code;
            window->hotHit = code;
            SetCapture(hwnd);
            RepaintFrame(hwnd);
        } else if (code == HTSYSMENU) {
            RECT icon = IconRect(*window);
            RECT r;
            GetWindowRect(hwnd, &r);
            TrackSystemMenu(hwnd, {r.left + icon.left, r.top + icon.bottom});
        }
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (code == HTCAPTION && (window->style & WS_MAXIMIZEBOX))
            PostMessage(hwnd, WM_SYSCOMMAND, (window->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        else if (code == HTSYSMENU)
            PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return 0;
    case WM_NCRBUTTONUP:
        if (code == HTCAPTION || code == HTSYSMENU)
            TrackSystemMenu(hwnd, screen);
        return 0;
    }
    return 0;
}

// A caption button pressed earlier: follow the pointer while it is held,
// act when it comes up over the same button.
bool TrackCaptionButton(HWND hwnd, UINT message)
{
    auto window = FindWindow(hwnd);
    if (!window || !window->pressedHit)
        return false;
    POINT screen;
    GetCursorPos(&screen);
    LRESULT under = DefNcHitTest(hwnd, screen);
    if (message == WM_MOUSEMOVE) {
        LRESULT hot = under == window->pressedHit ? under : 0;
        if (hot != window->hotHit) {
            window->hotHit = hot;
            RepaintFrame(hwnd);
        }
        return true;
    }
    LRESULT pressed = window->pressedHit;
    window->pressedHit = 0;
    window->hotHit = 0;
    ReleaseCapture();
    RepaintFrame(hwnd);
    if (under != pressed)
        return true;
    WPARAM command = pressed == HTCLOSE       ? SC_CLOSE
                     : pressed == HTMINBUTTON ? SC_MINIMIZE
                     : (window->style & WS_MAXIMIZE) ? SC_RESTORE
                                                     : SC_MAXIMIZE;
    SendMessage(hwnd, WM_SYSCOMMAND, command, MAKEPOINTLPARAM(screen.x, screen.y));
    return true;
}

LRESULT DefSysCommand(HWND hwnd, WPARAM command, LPARAM lParam)
{
    switch (command & 0xFFF0) {
    case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
    case SC_MOVE: {
        POINT pt;
        GetCursorPos(&pt);
        CurrentBackend().BeginMoveDrag(hwnd, pt);
        break;
    }
    case SC_KEYMENU: {
        RECT r;
        GetWindowRect(hwnd, &r);
        TrackSystemMenu(hwnd, {r.left, r.top + kCaptionHeight});
        break;
    }
    }
    (void)lParam;
    return 0;
}

}  // namespace win::internal
