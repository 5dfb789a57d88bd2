// The single-line edit box: the "Edit" class.
#include "platform/controls/Controls.h"
#include "platform/controls/internal/EditText.h"
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

#include <mutex>

namespace win::internal {

namespace {

constexpr int kPadding = 4;

struct EditState : ControlState {
    EditText text;
    int scroll = 0;       // pixels of text hidden on the left
    bool focused = false;
    bool selecting = false;
};

std::mutex g_clipboardMutex;
std::wstring& Clipboard()
{
    static auto* text = new std::wstring;
    return *text;
}

EditState* StateOf(HWND hwnd) { return ControlOf<EditState>(hwnd); }
DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }

bool InCombo(HWND hwnd)
{
    WCHAR cls[16] = {};
    GetClassName(GetParent(hwnd), cls, 16);
    return CompareNoCase(cls, WC_COMBOBOX) == 0;
}

PangoLayout* Layout(const EditState& state)
{
    return CreateTextLayout(nullptr, state.font, state.text.Text());
}

int XOf(const EditState& state, std::size_t index)
{
    PangoLayout* layout = Layout(state);
    std::string utf8 = ToUtf8(state.text.Text());
    PangoRectangle pos;
    pango_layout_index_to_pos(layout, ByteIndex(utf8, static_cast<int>(index)), &pos);
    g_object_unref(layout);
    return PANGO_PIXELS(pos.x);
}

std::size_t IndexAt(const EditState& state, int x)
{
    PangoLayout* layout = Layout(state);
    std::string utf8 = ToUtf8(state.text.Text());
    int byteIndex = 0, trailing = 0;
    pango_layout_xy_to_index(layout, (x - kPadding + state.scroll) * PANGO_SCALE, 0, &byteIndex, &trailing);
    g_object_unref(layout);
    return static_cast<std::size_t>(CharIndex(utf8, byteIndex) + trailing);
}

void KeepCaretVisible(HWND hwnd, EditState& state)
{
    RECT r;
    GetClientRect(hwnd, &r);
    int visible = std::max(1, static_cast<int>(RectWidth(r)) - 2 * kPadding);
    int caret = XOf(state, state.text.Caret());
    if (caret - state.scroll > visible)
        state.scroll = caret - visible + visible / 4;
    if (caret - state.scroll < 0)
        state.scroll = std::max(0, caret - visible / 4);
    if (caret <= visible)
        state.scroll = std::min(state.scroll, 0);
}

void Changed(HWND hwnd, EditState& state)
{
    KeepCaretVisible(hwnd, state);
    InvalidateRect(hwnd, nullptr, 0);
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
}

void Moved(HWND hwnd, EditState& state)
{
    KeepCaretVisible(hwnd, state);
    InvalidateRect(hwnd, nullptr, 0);
}

void Paint(HWND hwnd, const EditState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    cairo_t* cr = CairoOf(dc);
    RECT r;
    GetClientRect(hwnd, &r);
    bool enabled = IsWindowEnabled(hwnd);
    bool readOnly = Style(hwnd) & ES_READONLY;
    HBRUSH back = GetSysColorBrush(enabled && !readOnly ? COLOR_WINDOW : COLOR_BTNFACE);
    if (InCombo(hwnd))
        back = GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    FillRect(dc, &r, back);

    PangoLayout* layout = CreateTextLayout(cr, state.font, state.text.Text());
    int width, height;
    pango_layout_get_pixel_size(layout, &width, &height);
    // Without the focus a line shows its start, and says with an ellipsis
    // that there is more; the caret's place comes back with the focus.
    bool single = !(Style(hwnd) & ES_MULTILINE);
    double x = state.focused || !single ? kPadding - state.scroll : kPadding;
    if (!state.focused && single && width > RectWidth(r) - 2 * kPadding) {
        pango_layout_set_width(layout, std::max(1, static_cast<int>(RectWidth(r)) - 2 * kPadding) * PANGO_SCALE);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        pango_layout_get_pixel_size(layout, &width, &height);
    }
    double y = std::floor((RectHeight(r) - height) / 2.0);
    cairo_save(cr);
    cairo_rectangle(cr, 1, 0, RectWidth(r) - 2, RectHeight(r));
    cairo_clip(cr);
    SetSourceColor(cr, enabled ? theme::kText : theme::kDisabledText);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    if (state.focused && state.text.HasSelection()) {
        // The selection: the text again in white over the accent colour.
        double x0 = x + XOf(state, state.text.SelectionStart());
        double x1 = x + XOf(state, state.text.SelectionEnd());
        cairo_rectangle(cr, x0, y, x1 - x0, height);
        cairo_clip(cr);
        SetSourceColor(cr, theme::kAccent);
        cairo_paint(cr);
        SetSourceColor(cr, RGB(255, 255, 255));
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout(cr, layout);
    }
    cairo_restore(cr);
    if (state.focused && enabled) {
        double cx = std::floor(x + XOf(state, state.text.Caret())) + 0.5;
        SetSourceColor(cr, theme::kText);
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, cx, y);
        cairo_line_to(cr, cx, y + height);
        cairo_stroke(cr);
    }
    g_object_unref(layout);
    NoteDrawn(dc, r);
    EndPaint(hwnd, &ps);
}

bool Editable(HWND hwnd) { return !(Style(hwnd) & ES_READONLY); }

void Copy(const EditState& state)
{
    if (!state.text.HasSelection())
        return;
    std::lock_guard lock(g_clipboardMutex);
    Clipboard() = state.text.Text().substr(state.text.SelectionStart(),
                                            state.text.SelectionEnd() - state.text.SelectionStart());
}

void TypeChar(HWND hwnd, EditState& state, wchar_t ch)
{
    switch (ch) {
    case 1:  // Ctrl+A
        state.text.Select(0, -1);
        Moved(hwnd, state);
        return;
    case 3: Copy(state); return;  // Ctrl+C
    case 0x18:                    // Ctrl+X
        Copy(state);
        if (Editable(hwnd) && state.text.Insert(L""))
            Changed(hwnd, state);
        return;
    case 0x16: {  // Ctrl+V
        std::wstring paste;
        {
            std::lock_guard lock(g_clipboardMutex);
            paste = Clipboard();
        }
        if (Editable(hwnd) && state.text.Insert(paste))
            Changed(hwnd, state);
        return;
    }
    case 8:
        if (Editable(hwnd) && state.text.Backspace())
            Changed(hwnd, state);
        return;
    }
    if (ch < 0x20 || ch == 0x7F || !Editable(hwnd))
        return;
    if ((Style(hwnd) & ES_NUMBER) && (ch < L'0' || ch > L'9'))
        return;
    if (state.text.Insert(std::wstring(1, ch)))
        Changed(hwnd, state);
    else
        NotifyParent(hwnd, EN_MAXTEXT);
}

void PressKey(HWND hwnd, EditState& state, WPARAM key)
{
    bool shift = GetKeyState(VK_SHIFT) < 0;
    // The arrows and F4 of a combo box's field work the list.
    if (InCombo(hwnd) && (key == VK_UP || key == VK_DOWN || key == VK_F4 || key == VK_RETURN ||
                          key == VK_ESCAPE)) {
        SendMessage(GetParent(hwnd), WM_KEYDOWN, key, 0);
        return;
    }
    switch (key) {
    case VK_LEFT: state.text.Left(shift); break;
    case VK_RIGHT: state.text.Right(shift); break;
    case VK_HOME: state.text.MoveTo(0, shift); break;
    case VK_END: state.text.MoveTo(state.text.Text().size(), shift); break;
    case VK_DELETE:
        if (Editable(hwnd) && state.text.Delete())
            Changed(hwnd, state);
        return;
    default: return;
    }
    Moved(hwnd, state);
}

void SetText(HWND hwnd, EditState& state, LPCWSTR text)
{
    state.text.SetText(text ? text : L"");
    state.scroll = 0;
    if (auto window = FindWindow(hwnd))
        window->text = state.text.Text();
    InvalidateRect(hwnd, nullptr, 0);
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
}

LRESULT DialogCode(HWND hwnd)
{
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (Style(hwnd) & ES_MULTILINE)
        code |= DLGC_WANTALLKEYS;
    if (InCombo(hwnd) && SendMessage(GetParent(hwnd), CB_GETDROPPEDSTATE, 0, 0))
        code |= DLGC_WANTALLKEYS;
    return code;
}

void Focus(HWND hwnd, EditState& state, bool gained)
{
    state.focused = gained;
    state.selecting = false;
    // Shown from its start without the focus, a line is scrolled to match,
    // so a click lands where it points; the caret is brought into view
    // again with the focus.
    if (!(Style(hwnd) & ES_MULTILINE)) {
        state.scroll = 0;
        if (gained)
            KeepCaretVisible(hwnd, state);
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    NotifyParent(hwnd, gained ? EN_SETFOCUS : EN_KILLFOCUS);
}

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto window = FindWindow(hwnd);
        if (window) {
            auto state = std::make_unique<EditState>();
            auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
            if (cs && cs->lpszName)
                state->text.SetText(cs->lpszName);
            window->control = std::move(state);
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    EditState* state = StateOf(hwnd);
    if (!state)
        return DefWindowProc(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    if (HandleFontMessage(hwnd, *state, message, wParam, lParam, &result))
        return result;
    switch (message) {
    case WM_GETDLGCODE: return DialogCode(hwnd);
    case WM_SETCURSOR:
        if (LOWORD(static_cast<DWORD_PTR>(lParam)) == HTCLIENT) {
            SetCursor(LoadCursor(nullptr, IDC_IBEAM));
            return 1;
        }
        break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd, *state); return 0;
    case WM_SETTEXT: SetText(hwnd, *state, reinterpret_cast<LPCWSTR>(lParam)); return 1;
    case WM_GETTEXT:
        if (!lParam || wParam == 0)
            return 0;
        return CopyToBuffer(state->text.Text(), reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(state->text.Text().size());
    case WM_CHAR: TypeChar(hwnd, *state, static_cast<wchar_t>(wParam)); return 0;
    case WM_KEYDOWN: PressKey(hwnd, *state, wParam); return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        state->text.MoveTo(IndexAt(*state, GET_X_LPARAM(lParam)), GetKeyState(VK_SHIFT) < 0);
        state->selecting = true;
        SetCapture(hwnd);
        Moved(hwnd, *state);
        return 0;
    case WM_LBUTTONDBLCLK:
        state->text.Select(0, -1);
        Moved(hwnd, *state);
        return 0;
    case WM_MOUSEMOVE:
        if (state->selecting) {
            state->text.MoveTo(IndexAt(*state, GET_X_LPARAM(lParam)), true);
            Moved(hwnd, *state);
        }
        return 0;
    case WM_LBUTTONUP:
        if (state->selecting) {
            state->selecting = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED: state->selecting = false; return 0;
    case WM_SETFOCUS: Focus(hwnd, *state, true); return 0;
    case WM_KILLFOCUS: Focus(hwnd, *state, false); return 0;
    case WM_ENABLE: RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME); return 0;
    case EM_GETSEL: {
        auto start = static_cast<DWORD>(state->text.SelectionStart());
        auto end = static_cast<DWORD>(state->text.SelectionEnd());
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end));
    }
    case EM_SETSEL:
        state->text.Select(static_cast<int>(wParam), static_cast<int>(lParam));
        Moved(hwnd, *state);
        return 0;
    case EM_REPLACESEL:
        if (state->text.Insert(lParam ? reinterpret_cast<LPCWSTR>(lParam) : L""))
            Changed(hwnd, *state);
        return 0;
    case EM_LIMITTEXT: state->text.SetLimit(wParam ? wParam : 0x7FFFFFFE); return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(state->text.Limit());
    case EM_SETREADONLY: {
        DWORD style = Style(hwnd);
        SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(wParam ? style | ES_READONLY : style & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, 0);
        return 1;
    }
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC EditWindowProc() { return EditProc; }

}  // namespace win::internal
