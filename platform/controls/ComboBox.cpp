// The drop-down combo box: "ComboBox", an edit field (CBS_DROPDOWN) or a
// plain field (CBS_DROPDOWNLIST) with a list that drops down under it.
#include "platform/controls/Controls.h"
#include "platform/controls/internal/ComboList.h"
#include "platform/controls/internal/ItemList.h"
#include "platform/controls/internal/Theme.h"
#include "platform/core/Rect.h"
#include "platform/core/Strings.h"
#include "platform/dialogs/Dialog.h"
#include "platform/graphics/CairoDc.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <vector>

namespace win::internal {

namespace {

constexpr int kButtonWidth = 20;
constexpr int kEditId = 1001;
// Around an item's text in the dropped list: its indent, as much again on
// the right, and the border.
constexpr int kListPadding = 6 + 6 + 2;

struct ComboState : ControlState, ItemList {
    HWND edit = nullptr;
    HWND list = nullptr;
    bool focused = false;
    bool quiet = false;  // the program, not the person, is changing the text
};

ComboState* StateOf(HWND hwnd) { return ControlOf<ComboState>(hwnd); }
DWORD Kind(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)) & 3; }
int ItemHeight(const ComboState& state) { return TextHeight(state.font) + 6; }
int ClosedHeight(const ComboState& state) { return TextHeight(state.font) + 8; }

void SetFieldText(HWND hwnd, ComboState& state, const std::wstring& text)
{
    if (state.edit) {
        state.quiet = true;
        SetWindowText(state.edit, text.c_str());
        state.quiet = false;
    }
    InvalidateRect(hwnd, nullptr, 0);
}

std::wstring FieldText(HWND, const ComboState& state)
{
    if (state.edit)
        return GetWindowText(state.edit);
    return state.current >= 0 ? state.items[static_cast<std::size_t>(state.current)].text : std::wstring();
}

// The program's selection: no notification.
LRESULT SetCurrent(HWND hwnd, ComboState& state, int index)
{
    if (index < 0 || index >= static_cast<int>(state.items.size())) {
        state.current = -1;
        SetFieldText(hwnd, state, L"");
        return CB_ERR;
    }
    state.current = index;
    SetFieldText(hwnd, state, state.items[static_cast<std::size_t>(index)].text);
    if (state.edit)
        SendMessage(state.edit, EM_SETSEL, 0, -1);
    return index;
}

// The person's selection: the parent hears of it.
void Choose(HWND hwnd, ComboState& state, int index)
{
    if (index < 0 || index >= static_cast<int>(state.items.size()))
        return;
    bool changed = index != state.current || FieldText(hwnd, state) != state.items[static_cast<std::size_t>(index)].text;
    SetCurrent(hwnd, state, index);
    if (changed)
        NotifyParent(hwnd, CBN_SELCHANGE);
}

LRESULT Find(const ComboState& state, WPARAM start, LPCWSTR text, bool exact)
{
    if (!text)
        return CB_ERR;
    int count = static_cast<int>(state.items.size());
    int first = static_cast<int>(static_cast<INT_PTR>(start));
    std::wstring wanted = text;
    for (int step = 1; step <= count; ++step) {
        int i = ((first < 0 ? -1 : first) + step) % count;
        const std::wstring& item = state.items[static_cast<std::size_t>(i)].text;
        bool match = exact ? CompareNoCase(item, wanted) == 0
                           : item.size() >= wanted.size() && CompareNoCase(item, wanted, wanted.size()) == 0;
        if (match)
            return i;
    }
    return CB_ERR;
}

LRESULT Insert(HWND hwnd, ComboState& state, int index, LPCWSTR text, bool sorted)
{
    ListItem item{text ? text : L"", 0};
    std::size_t at = state.items.size();
    if (sorted) {
        at = 0;
        while (at < state.items.size() && CompareNoCase(state.items[at].text, item.text) <= 0)
            ++at;
    } else if (index >= 0) {
        if (static_cast<std::size_t>(index) > state.items.size())
            return CB_ERR;
        at = static_cast<std::size_t>(index);
    }
    state.Insert(at, std::move(item));
    InvalidateRect(hwnd, nullptr, 0);
    return static_cast<LRESULT>(at);
}

void CloseList(HWND hwnd, ComboState& state, bool commit)
{
    if (!state.list)
        return;
    HWND list = state.list;
    int hot = ComboListHot(list);
    state.list = nullptr;
    if (GetCapture() == list)
        ReleaseCapture();
    DestroyWindow(list);
    if (commit && hot >= 0) {
        Choose(hwnd, state, hot);
        NotifyParent(hwnd, CBN_SELENDOK);
    } else {
        NotifyParent(hwnd, CBN_SELENDCANCEL);
    }
    NotifyParent(hwnd, CBN_CLOSEUP);
    InvalidateRect(hwnd, nullptr, 0);
}

void OpenList(HWND hwnd, ComboState& state)
{
    if (state.list || !IsWindowEnabled(hwnd))
        return;
    NotifyParent(hwnd, CBN_DROPDOWN);
    RECT r;
    GetWindowRect(hwnd, &r);
    int itemHeight = ItemHeight(state);
    int height = static_cast<int>(std::max<std::size_t>(1, state.items.size())) * itemHeight + 2;
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    // As wide as the longest item (never narrower than the box), moved left
    // if that would leave the screen.
    int widest = 0;
    for (const auto& item : state.items)
        widest = std::max(widest, TextWidth(state.font, item.text));
    LONG right = std::max<LONG>(r.right, r.left + widest + kListPadding);
    RECT place{r.left, r.bottom, right, r.bottom + height};
    if (place.right > work.right) {
        LONG shift = std::min(place.right - work.right, place.left - work.left);
        place.left -= shift;
        place.right -= shift;
    }
    if (place.bottom > work.bottom) {
        // Not enough room below: open upwards, or as far as the screen allows.
        if (r.top - height >= work.top)
            place = {place.left, r.top - height, place.right, r.top};
        else
            place.bottom = work.bottom - (work.bottom - r.bottom - 2) % itemHeight;
    }
    state.list = CreateComboList(hwnd, place, itemHeight, state.current);
    if (!state.list)
        return;
    ShowWindow(state.list, SW_SHOWNA);
    SetCapture(state.list);
    InvalidateRect(hwnd, nullptr, 0);
}

void Paint(HWND hwnd, const ComboState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    cairo_t* cr = CairoOf(dc);
    RECT r;
    GetClientRect(hwnd, &r);
    FillParentBackground(hwnd, dc, WM_CTLCOLORSTATIC, r);
    bool enabled = IsWindowEnabled(hwnd);
    double w = RectWidth(r), h = RectHeight(r);
    FillRounded(cr, 0, 0, w, h, 4, enabled ? theme::kField : theme::kFaceDisabled);
    COLORREF border = !enabled ? theme::kBorderDisabled : (state.focused || state.list) ? theme::kAccent : theme::kBorder;
    StrokeRounded(cr, 0, 0, w, h, 4, border);
    if (!state.edit && state.current >= 0) {
        RECT text{6, 0, r.right - kButtonWidth, r.bottom};
        DrawLabel(dc, state.font, state.items[static_cast<std::size_t>(state.current)].text, text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS,
                  enabled ? theme::kText : theme::kDisabledText);
    }
    // The chevron of the drop button.
    double cx = w - kButtonWidth / 2.0, cy = h / 2.0;
    cairo_save(cr);
    SetSourceColor(cr, enabled ? RGB(90, 90, 90) : theme::kDisabledText);
    cairo_set_line_width(cr, 1.3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx - 4, cy - 2);
    cairo_line_to(cr, cx, cy + 2);
    cairo_line_to(cr, cx + 4, cy - 2);
    cairo_stroke(cr);
    cairo_restore(cr);
    EndPaint(hwnd, &ps);
}

void Layout(HWND hwnd, ComboState& state)
{
    if (!state.edit)
        return;
    RECT r;
    GetClientRect(hwnd, &r);
    MoveWindow(state.edit, 2, 2, std::max(0, static_cast<int>(r.right) - kButtonWidth - 3),
               std::max(0, static_cast<int>(r.bottom) - 4), 1);
}

void FitHeight(HWND hwnd, const ComboState& state)
{
    SetWindowPos(hwnd, nullptr, 0, 0, RectWidth(FindWindow(hwnd)->rect), ClosedHeight(state),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Create(HWND hwnd, ComboState& state)
{
    if (Kind(hwnd) != CBS_DROPDOWNLIST) {
        DWORD disabled = (GetWindowLong(hwnd, GWL_STYLE) & WS_DISABLED) ? WS_DISABLED : 0;
        state.edit = CreateWindowEx(0, WC_EDIT, L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | disabled, 0, 0,
                                    0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kEditId)),
                                    nullptr, nullptr);
    }
    FitHeight(hwnd, state);
    Layout(hwnd, state);
}

void FromEdit(HWND hwnd, ComboState& state, WORD code)
{
    switch (code) {
    case EN_CHANGE:
        if (!state.quiet)
            NotifyParent(hwnd, CBN_EDITCHANGE);
        break;
    case EN_UPDATE:
        if (!state.quiet)
            NotifyParent(hwnd, CBN_EDITUPDATE);
        break;
    case EN_SETFOCUS:
        state.focused = true;
        InvalidateRect(hwnd, nullptr, 0);
        NotifyParent(hwnd, CBN_SETFOCUS);
        break;
    case EN_KILLFOCUS:
        state.focused = false;
        CloseList(hwnd, state, false);
        InvalidateRect(hwnd, nullptr, 0);
        NotifyParent(hwnd, CBN_KILLFOCUS);
        break;
    }
}

void Key(HWND hwnd, ComboState& state, WPARAM key)
{
    int count = static_cast<int>(state.items.size());
    switch (key) {
    case VK_F4:
        if (state.list)
            CloseList(hwnd, state, true);
        else
            OpenList(hwnd, state);
        break;
    case VK_UP:
    case VK_DOWN: {
        int step = key == VK_UP ? -1 : 1;
        if (state.list) {
            int hot = ComboListHot(state.list);
            ComboListSetHot(state.list, std::clamp(hot < 0 ? 0 : hot + step, 0, std::max(0, count - 1)));
        } else if (count > 0) {
            Choose(hwnd, state, std::clamp(state.current < 0 ? 0 : state.current + step, 0, count - 1));
        }
        break;
    }
    case VK_RETURN: CloseList(hwnd, state, true); break;
    case VK_ESCAPE: CloseList(hwnd, state, false); break;
    }
}

LRESULT ComboProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        if (auto window = FindWindow(hwnd))
            window->control = std::make_unique<ComboState>();
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    ComboState* state = StateOf(hwnd);
    if (!state)
        return DefWindowProc(hwnd, message, wParam, lParam);
    bool sorted = GetWindowLong(hwnd, GWL_STYLE) & CBS_SORT;
    switch (message) {
    case WM_CREATE: Create(hwnd, *state); return 0;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (state->edit)
            SendMessage(state->edit, WM_SETFONT, wParam, lParam);
        FitHeight(hwnd, *state);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SIZE: Layout(hwnd, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd, *state); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (state->list ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
        if (state->edit)
            SetFocus(state->edit);
        else {
            state->focused = true;
            InvalidateRect(hwnd, nullptr, 0);
        }
        return 0;
    case WM_KILLFOCUS:
        if (!state->edit) {
            state->focused = false;
            CloseList(hwnd, *state, false);
            InvalidateRect(hwnd, nullptr, 0);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(state->edit ? state->edit : hwnd);
        if (state->list)
            CloseList(hwnd, *state, false);
        else
            OpenList(hwnd, *state);
        return 0;
    case WM_KEYDOWN: Key(hwnd, *state, wParam); return 0;
    case WM_ENABLE:
        if (state->edit)
            EnableWindow(state->edit, static_cast<BOOL>(wParam));
        if (!wParam)
            CloseList(hwnd, *state, false);
        InvalidateRect(hwnd, nullptr, 0);
        return 0;
    case WM_CANCELMODE: CloseList(hwnd, *state, false); return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == state->edit && state->edit)
            FromEdit(hwnd, *state, HIWORD(wParam));
        return 0;
    case WM_SETTEXT:
        if (state->edit)
            return SetWindowText(state->edit, reinterpret_cast<LPCWSTR>(lParam));
        return Find(*state, static_cast<WPARAM>(-1), reinterpret_cast<LPCWSTR>(lParam), true) >= 0;
    case WM_GETTEXT:
        if (!lParam || wParam == 0)
            return 0;
        return CopyToBuffer(FieldText(hwnd, *state), reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(FieldText(hwnd, *state).size());
    case WM_DESTROY: CloseList(hwnd, *state, false); return 0;
    case kComboChoose:
        if (state->list)
            ComboListSetHot(state->list, static_cast<int>(wParam));
        CloseList(hwnd, *state, true);
        return 0;
    case kComboDismiss: CloseList(hwnd, *state, false); return 0;
    case EM_SETSEL:
    case CB_SETEDITSEL:
        if (state->edit)
            SendMessage(state->edit, EM_SETSEL, message == EM_SETSEL ? wParam : static_cast<WPARAM>(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam)))),
                        message == EM_SETSEL ? lParam : static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))));
        return 1;
    case CB_GETEDITSEL: return state->edit ? SendMessage(state->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_LIMITTEXT:
        if (state->edit)
            SendMessage(state->edit, EM_LIMITTEXT, wParam, 0);
        return 1;
    case CB_ADDSTRING: return Insert(hwnd, *state, -1, reinterpret_cast<LPCWSTR>(lParam), sorted);
    case CB_INSERTSTRING:
        return Insert(hwnd, *state, static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<LPCWSTR>(lParam), false);
    case CB_DELETESTRING: return state->Erase(wParam) ? static_cast<LRESULT>(state->items.size()) : CB_ERR;
    case CB_RESETCONTENT:
        CloseList(hwnd, *state, false);
        state->items.clear();
        state->current = -1;
        SetFieldText(hwnd, *state, L"");
        return 0;
    case CB_GETCOUNT: return static_cast<LRESULT>(state->items.size());
    case CB_GETCURSEL: return state->current;
    case CB_SETCURSEL: return SetCurrent(hwnd, *state, static_cast<int>(static_cast<INT_PTR>(wParam)));
    case CB_GETLBTEXT:
        // The caller sized the buffer by CB_GETLBTEXTLEN.
        if (wParam >= state->items.size() || !lParam)
            return CB_ERR;
        return state->CopyText(wParam, reinterpret_cast<LPWSTR>(lParam),
                               static_cast<int>(state->items[wParam].text.size() + 1));
    case CB_GETLBTEXTLEN:
        return wParam < state->items.size() ? static_cast<LRESULT>(state->items[wParam].text.size()) : CB_ERR;
    case CB_FINDSTRING: return Find(*state, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
    case CB_FINDSTRINGEXACT: return Find(*state, wParam, reinterpret_cast<LPCWSTR>(lParam), true);
    case CB_SELECTSTRING: {
        LRESULT index = Find(*state, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
        return index == CB_ERR ? CB_ERR : SetCurrent(hwnd, *state, static_cast<int>(index));
    }
    case CB_SHOWDROPDOWN:
        if (wParam)
            OpenList(hwnd, *state);
        else
            CloseList(hwnd, *state, false);
        return 1;
    case CB_GETDROPPEDSTATE: return state->list ? 1 : 0;
    case CB_GETITEMDATA: return wParam < state->items.size() ? state->items[wParam].data : CB_ERR;
    case CB_SETITEMDATA:
        if (wParam >= state->items.size())
            return CB_ERR;
        state->items[wParam].data = lParam;
        return 1;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC ComboBoxWindowProc() { return ComboProc; }

}  // namespace win::internal
