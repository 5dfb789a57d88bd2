#include "platform/controls/internal/ComboList.h"

#include "platform/controls/Controls.h"
#include "platform/controls/internal/Theme.h"
#include "platform/core/Rect.h"
#include "platform/graphics/CairoDc.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"

namespace win::internal {

namespace {

struct ListState : ExtraState {
    HWND combo = nullptr;
    int itemHeight = 18;
    int hot = -1;
    int top = 0;              // first item shown
    bool pressed = false;     // a button went down since the list opened
};

ListState* StateOf(HWND hwnd) { return ControlOf<ListState>(hwnd); }

int Count(const ListState& state) { return static_cast<int>(SendMessage(state.combo, CB_GETCOUNT, 0, 0)); }

int Visible(HWND hwnd, const ListState& state)
{
    RECT r;
    GetClientRect(hwnd, &r);
    return std::max(1, static_cast<int>(RectHeight(r)) / state.itemHeight);
}

int IndexAt(HWND hwnd, const ListState& state, POINT pt)
{
    RECT r;
    GetClientRect(hwnd, &r);
    if (!PtInRect(&r, pt))
        return -1;
    int index = state.top + pt.y / state.itemHeight;
    return index < Count(state) ? index : -1;
}

void Paint(HWND hwnd, const ListState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    HFONT font = reinterpret_cast<HFONT>(SendMessage(state.combo, WM_GETFONT, 0, 0));
    int count = Count(state);
    for (int i = state.top; i < count; ++i) {
        RECT item{0, (i - state.top) * state.itemHeight, r.right, (i - state.top + 1) * state.itemHeight};
        if (item.top >= r.bottom)
            break;
        int length = static_cast<int>(SendMessage(state.combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
        std::wstring text(static_cast<std::size_t>(std::max(0, length)) + 1, L'\0');
        SendMessage(state.combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max(0, length)));
        COLORREF color = theme::kText;
        if (i == state.hot) {
            HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
            FillRect(dc, &item, brush);
            color = RGB(255, 255, 255);
        }
        item.left += 6;
        DrawLabel(dc, font, text, item, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS, color);
    }
    EndPaint(hwnd, &ps);
}

void SetHot(HWND hwnd, ListState& state, int index)
{
    if (index == state.hot)
        return;
    state.hot = index;
    int visible = Visible(hwnd, state);
    if (index >= 0 && index < state.top)
        state.top = index;
    else if (index >= state.top + visible)
        state.top = index - visible + 1;
    InvalidateRect(hwnd, nullptr, 0);
}

LRESULT ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ListState* state = StateOf(hwnd);
    if (!state)
        return DefWindowProc(hwnd, message, wParam, lParam);
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd, *state); return 0;
    case WM_MOUSEMOVE: {
        int index = IndexAt(hwnd, *state, pt);
        if (index >= 0)
            SetHot(hwnd, *state, index);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        state->pressed = true;
        if (IndexAt(hwnd, *state, pt) < 0) {
            // A press anywhere else closes the list.
            SendMessage(state->combo, kComboDismiss, 0, 0);
        }
        return 0;
    case WM_LBUTTONUP: {
        int index = IndexAt(hwnd, *state, pt);
        // The release of the press that opened the list does not close it.
        if (index >= 0)
            SendMessage(state->combo, kComboChoose, static_cast<WPARAM>(index), 0);
        else if (state->pressed)
            SendMessage(state->combo, kComboDismiss, 0, 0);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd)
            PostMessage(state->combo, kComboDismiss, 0, 0);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC ComboListWindowProc() { return ListProc; }

HWND CreateComboList(HWND combo, const RECT& screen, int itemHeight, int hot)
{
    HWND list = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WC_COMBOLBOX, L"", WS_POPUP | WS_BORDER,
                               screen.left, screen.top, RectWidth(screen), RectHeight(screen),
                               TopLevelOf(combo), nullptr, nullptr, nullptr);
    auto window = FindWindow(list);
    if (!window)
        return nullptr;
    auto state = std::make_unique<ListState>();
    state->combo = combo;
    state->itemHeight = itemHeight;
    ListState* raw = state.get();
    window->control = std::move(state);
    SetHot(list, *raw, hot);
    return list;
}

int ComboListHot(HWND list)
{
    auto* state = StateOf(list);
    return state ? state->hot : -1;
}

void ComboListSetHot(HWND list, int index)
{
    if (auto* state = StateOf(list))
        SetHot(list, *state, index);
}

}  // namespace win::internal
