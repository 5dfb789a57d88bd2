// The tab control: "SysTabControl32", a row of tabs above a panel where the
// program places its pages.
#include "platform/controls/Controls.h"
#include "platform/controls/internal/ItemList.h"
#include "platform/controls/internal/Theme.h"
#include "platform/core/Rect.h"
#include "platform/core/Strings.h"
#include "platform/dialogs/Dialog.h"
#include "platform/graphics/CairoDc.h"
#include "platform/graphics/TextLayout.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"

#include <string>
#include <vector>

namespace win::internal {

namespace {

constexpr int kPanelInset = 4;

struct TabState : ControlState, ItemList {
    int hot = -1;
    bool focused = false;
};

int HeaderHeight(const TabState& state) { return TextHeight(state.font) + 6; }

int TextWidth(HFONT font, const std::wstring& text)
{
    PangoLayout* layout = CreateTextLayout(nullptr, font, StripPrefix(text));
    int width, height;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return width;
}

RECT ItemRect(const TabState& state, int index)
{
    int x = 2;
    for (int i = 0; i < index; ++i)
        x += TextWidth(state.font, state.items[static_cast<std::size_t>(i)].text) + 20;
    int width = TextWidth(state.font, state.items[static_cast<std::size_t>(index)].text) + 20;
    return {x, 0, x + width, HeaderHeight(state)};
}

int ItemAt(const TabState& state, POINT pt)
{
    for (int i = 0; i < static_cast<int>(state.items.size()); ++i) {
        RECT r = ItemRect(state, i);
        if (PtInRect(&r, pt))
            return i;
    }
    return -1;
}

void Paint(HWND hwnd, const TabState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    cairo_t* cr = CairoOf(dc);
    RECT r;
    GetClientRect(hwnd, &r);
    FillParentBackground(hwnd, dc, WM_CTLCOLORDLG, r);
    int header = HeaderHeight(state);
    StrokeRounded(cr, 0, header - 1, RectWidth(r), RectHeight(r) - header + 1, 4, theme::kLine);
    bool enabled = IsWindowEnabled(hwnd);
    for (int i = 0; i < static_cast<int>(state.items.size()); ++i) {
        RECT item = ItemRect(state, i);
        bool selected = i == state.current;
        if (selected) {
            // The selected tab opens into the panel below it.
            FillRounded(cr, item.left, 0, RectWidth(item), header + 2, 4, GetSysColor(COLOR_BTNFACE));
            cairo_save(cr);
            SetSourceColor(cr, theme::kLine);
            cairo_set_line_width(cr, 1);
            cairo_move_to(cr, item.left + 0.5, header);
            cairo_line_to(cr, item.left + 0.5, 4);
            cairo_arc(cr, item.left + 4.5, 4.5, 4, M_PI, 3 * M_PI / 2);
            cairo_line_to(cr, item.right - 4.5, 0.5);
            cairo_arc(cr, item.right - 4.5, 4.5, 4, 3 * M_PI / 2, 2 * M_PI);
            cairo_line_to(cr, item.right - 0.5, header);
            cairo_stroke(cr);
            cairo_restore(cr);
            FillRounded(cr, item.left + 6, 1, RectWidth(item) - 12, 2, 1, enabled ? theme::kAccent : theme::kBorder);
        } else if (i == state.hot && enabled) {
            FillRounded(cr, item.left + 1, 2, RectWidth(item) - 2, header - 4, 4, theme::kFacePressed);
        }
        COLORREF color = !enabled ? theme::kDisabledText : selected ? theme::kText : RGB(90, 90, 90);
        DrawLabel(dc, state.font, state.items[static_cast<std::size_t>(i)].text, item,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE, color);
        if (selected && state.focused) {
            RECT focus = item;
            InflateRect(&focus, -3, -3);
            StrokeRounded(cr, focus.left, focus.top + 1, RectWidth(focus), RectHeight(focus), 3, theme::kAccent);
        }
    }
    EndPaint(hwnd, &ps);
}

LRESULT Notify(HWND hwnd, UINT code)
{
    NMHDR header;
    header.hwndFrom = hwnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    header.code = code;
    return SendMessage(GetParent(hwnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// A change the person makes: the parent may refuse it, and hears of it.
void Select(HWND hwnd, TabState& state, int index)
{
    if (index < 0 || index >= static_cast<int>(state.items.size()) || index == state.current)
        return;
    if (Notify(hwnd, TCN_SELCHANGING))
        return;
    state.current = index;
    InvalidateRect(hwnd, nullptr, 0);
    Notify(hwnd, TCN_SELCHANGE);
}

// The fields of `item` that its mask names.
void Assign(ListItem& entry, const TCITEM& item)
{
    if ((item.mask & TCIF_TEXT) && item.pszText)
        entry.text = item.pszText;
    if (item.mask & TCIF_PARAM)
        entry.data = item.lParam;
}

LRESULT InsertItem(HWND hwnd, TabState& state, WPARAM index, const TCITEM* item)
{
    if (!item)
        return -1;
    ListItem entry;
    Assign(entry, *item);
    std::size_t at = std::min<std::size_t>(index, state.items.size());
    bool first = state.current < 0;
    state.Insert(at, std::move(entry));
    if (first)
        state.current = 0;
    InvalidateRect(hwnd, nullptr, 0);
    return static_cast<LRESULT>(at);
}

LRESULT GetItem(const TabState& state, WPARAM index, TCITEM* item)
{
    if (!item || index >= state.items.size())
        return 0;
    const auto& entry = state.items[index];
    if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0)
        state.CopyText(index, item->pszText, item->cchTextMax);
    if (item->mask & TCIF_PARAM)
        item->lParam = entry.data;
    return 1;
}

LRESULT SetItem(HWND hwnd, TabState& state, WPARAM index, const TCITEM* item)
{
    if (!item || index >= state.items.size())
        return 0;
    Assign(state.items[index], *item);
    InvalidateRect(hwnd, nullptr, 0);
    return 1;
}

LRESULT DeleteItem(HWND hwnd, TabState& state, WPARAM index)
{
    if (!state.Erase(index))
        return 0;
    InvalidateRect(hwnd, nullptr, 0);
    return 1;
}

// fLarger FALSE: window rectangle → the panel's display area; TRUE: back.
void AdjustRect(const TabState& state, bool larger, RECT* rect)
{
    if (!rect)
        return;
    int top = HeaderHeight(state) + kPanelInset - 1;
    if (larger) {
        rect->left -= kPanelInset;
        rect->right += kPanelInset;
        rect->top -= top;
        rect->bottom += kPanelInset;
    } else {
        rect->left += kPanelInset;
        rect->right -= kPanelInset;
        rect->top += top;
        rect->bottom -= kPanelInset;
    }
}

LRESULT TabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TabState* state = nullptr;
    LRESULT result = 0;
    if (HandleCommonControlMessage(hwnd, message, wParam, lParam, state, result))
        return result;
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd, *state); return 0;
    case WM_LBUTTONDOWN: {
        int index = ItemAt(*state, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (index >= 0) {
            SetFocus(hwnd);
            Select(hwnd, *state, index);
        }
        return 0;
    }
    case WM_MOUSEMOVE: {
        int index = ItemAt(*state, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (index != state->hot) {
            state->hot = index;
            TRACKMOUSEEVENT track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = hwnd;
            TrackMouseEvent(&track);
            InvalidateRect(hwnd, nullptr, 0);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        state->hot = -1;
        InvalidateRect(hwnd, nullptr, 0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_LEFT)
            Select(hwnd, *state, state->current - 1);
        else if (wParam == VK_RIGHT)
            Select(hwnd, *state, state->current + 1);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state->focused = message == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, 0);
        return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, 0); return 0;
    case TCM_GETITEMCOUNT: return static_cast<LRESULT>(state->items.size());
    case TCM_INSERTITEM: return InsertItem(hwnd, *state, wParam, reinterpret_cast<const TCITEM*>(lParam));
    case TCM_GETITEM: return GetItem(*state, wParam, reinterpret_cast<TCITEM*>(lParam));
    case TCM_SETITEM: return SetItem(hwnd, *state, wParam, reinterpret_cast<const TCITEM*>(lParam));
    case TCM_DELETEITEM: return DeleteItem(hwnd, *state, wParam);
    case TCM_DELETEALLITEMS:
        state->items.clear();
        state->current = -1;
        InvalidateRect(hwnd, nullptr, 0);
        return 1;
    case TCM_GETCURSEL: return state->current;
    case TCM_SETCURSEL: {
        int old = state->current;
        int index = static_cast<int>(wParam);
        if (index < 0 || index >= static_cast<int>(state->items.size()))
            return -1;
        state->current = index;
        InvalidateRect(hwnd, nullptr, 0);
        return old;
    }
    case TCM_GETITEMRECT:
        if (wParam >= state->items.size() || !lParam)
            return 0;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(*state, static_cast<int>(wParam));
        return 1;
    case TCM_ADJUSTRECT: AdjustRect(*state, wParam != 0, reinterpret_cast<RECT*>(lParam)); return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC TabWindowProc() { return TabProc; }

}  // namespace win::internal
