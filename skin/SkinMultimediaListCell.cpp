#include "skin/SkinMultimediaListCell.h"

#include "skin/FocusRing.h"
#include "skin/PointerTracking.h"

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/core/Rect.h"
#include "platform/graphics/Gdi.h"
#include "platform/window/Input.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/ToolTip.h"
#include "platform/window/Window.h"

namespace {

constexpr wchar_t kCellClass[] = L"SkinMultimediaListCell";
constexpr wchar_t kNameClass[] = L"NameClass";
constexpr wchar_t kInfoClass[] = L"InfoClass";
constexpr int kNameWidth = 200;
constexpr int kInfoWidth = 180;
constexpr int kTextLeft = 2;

void Register(const wchar_t* name, win::WNDPROC proc)
{
    win::WNDCLASS existing;
    if (win::GetClassInfo(nullptr, name, &existing))
        return;
    win::WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.hCursor = win::LoadCursor(nullptr, win::IDC_ARROW);
    wc.lpszClassName = name;
    win::RegisterClass(&wc);
}

bool IsButtonMessage(win::UINT message)
{
    return message >= win::WM_LBUTTONDOWN && message <= win::WM_RBUTTONDBLCLK;
}

}  // namespace

void SkinMultimediaListCell::RegisterClasses()
{
    Register(kCellClass, &Proc);
    Register(kNameClass, &TextProc);
    Register(kInfoClass, &TextProc);
}

SkinMultimediaListCell::SkinMultimediaListCell(win::UINT key, const SkinPiece* faces, win::HFONT font)
    : key_(key), faces_(faces), font_(font)
{
}

SkinMultimediaListCell::~SkinMultimediaListCell()
{
    if (hwnd_ && win::IsWindow(hwnd_)) {
        win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, 0);
        win::DestroyWindow(hwnd_);
    }
}

bool SkinMultimediaListCell::Create(win::HWND list)
{
    RegisterClasses();
    // Shown once it is placed in the list's view (Place).
    hwnd_ = win::CreateWindowEx(0, kCellClass, L"", win::WS_CHILD, 0, -1, 0, 0, list,
                                reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(key_)), nullptr,
                                nullptr);
    if (!hwnd_)
        return false;
    win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(this));
    name_ = win::CreateWindowEx(0, kNameClass, L"", win::WS_CHILD | win::WS_VISIBLE, 0, 0, kNameWidth, 0,
                                hwnd_, nullptr, nullptr, nullptr);
    info_ = win::CreateWindowEx(0, kInfoClass, L"", win::WS_CHILD | win::WS_VISIBLE, kNameWidth, 0,
                                kInfoWidth, 0, hwnd_, nullptr, nullptr, nullptr);
    for (win::HWND text : {name_, info_})
        win::SetWindowLongPtr(text, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(font_));
    valid_ = true;
    return true;
}

void SkinMultimediaListCell::SetName(const std::wstring& text)
{
    win::SetWindowText(name_, text.c_str());
    if (hovered_ || PointerInside())
        win::ShowToolTip(hwnd_, Tip());
}

void SkinMultimediaListCell::SetInfo(const std::wstring& text)
{
    win::SetWindowText(info_, text.c_str());
    // The face under the text is drawn again with it, so no old text shows.
    win::RedrawWindow(hwnd_, nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_UPDATENOW | win::RDW_ALLCHILDREN);
}

std::wstring SkinMultimediaListCell::Name() const { return win::GetWindowText(name_); }
std::wstring SkinMultimediaListCell::Info() const { return win::GetWindowText(info_); }

void SkinMultimediaListCell::SetMarks(bool listFocused, bool cursor)
{
    if (listFocused == listFocused_ && cursor == cursor_)
        return;
    listFocused_ = listFocused;
    cursor_ = cursor;
    win::RedrawWindow(hwnd_, nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_ALLCHILDREN);
}

void SkinMultimediaListCell::SetReason(const std::wstring& text)
{
    reason_ = text;
    if (hovered_ || PointerInside())
        win::ShowToolTip(hwnd_, Tip());
}

// The whole name when its column cuts it, and why the row failed.
std::wstring SkinMultimediaListCell::Tip() const
{
    std::wstring tip = NameCut() ? Name() : L"";
    if (!reason_.empty())
        tip += (tip.empty() ? L"" : L"\n") + reason_;
    return tip;
}

bool SkinMultimediaListCell::NameCut() const
{
    std::wstring name = Name();
    if (name.empty())
        return false;
    win::HDC dc = win::CreateCompatibleDC(nullptr);
    win::HGDIOBJ old = win::SelectObject(dc, font_);
    win::RECT extent{0, 0, 0, 0};
    win::DrawText(dc, name.c_str(), -1, &extent, win::DT_CALCRECT | win::DT_SINGLELINE | win::DT_NOPREFIX);
    win::SelectObject(dc, old);
    win::DeleteDC(dc);
    return extent.right - extent.left > kNameWidth - kTextLeft;
}

bool SkinMultimediaListCell::PointerInside() const
{
    // A row scrolled out of the list's view lies outside the list.
    win::POINT at;
    win::RECT row, list;
    return win::GetCursorPos(&at) && win::GetWindowRect(hwnd_, &row) && win::PtInRect(&row, at) &&
           win::GetWindowRect(win::GetParent(hwnd_), &list) && win::PtInRect(&list, at) &&
           win::IsWindowVisible(hwnd_);
}

void SkinMultimediaListCell::Place(const win::RECT& rect, int listHeight)
{
    // Rows out of the list's view are hidden: nothing paints them, however
    // many there are.
    bool inView = rect.bottom > 0 && rect.top < listHeight;
    if (!inView) {
        // Moved when it comes into view; until then only hidden.
        rect_ = rect;
        if (win::IsWindowVisible(hwnd_))
            win::ShowWindow(hwnd_, win::SW_HIDE);
        return;
    }
    if (!win::IsWindowVisible(hwnd_))
        win::ShowWindow(hwnd_, win::SW_SHOWNA);
    rect_ = rect;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    win::MoveWindow(hwnd_, rect.left, rect.top, width, height, 1);
    win::MoveWindow(name_, 0, 0, kNameWidth, height, 1);
    win::MoveWindow(info_, kNameWidth, 0, kInfoWidth, height, 1);
}

void SkinMultimediaListCell::DrawFace(Face face)
{
    face_ = face;
    win::InvalidateRect(hwnd_, nullptr, 0);
}

void SkinMultimediaListCell::Paint()
{
    win::PAINTSTRUCT ps;
    win::HDC dc = win::BeginPaint(hwnd_, &ps);
    // The list's composed faces are shared by every row: thousands of rows
    // hold no picture of their own.
    DrawImage(dc, faces_[face_].image, 0, 0);
    if (listFocused_) {
        win::RECT r;
        win::GetClientRect(hwnd_, &r);
        win::COLORREF colour = focus_ring::ColourFor(focus_ring::CentreOf(faces_[Normal].image.Bitmap()));
        win::HBRUSH brush = win::CreateSolidBrush(colour);
        win::RECT left{0, 0, 2, r.bottom}, right{r.right - 2, 0, r.right, r.bottom};
        win::FillRect(dc, &left, brush);
        win::FillRect(dc, &right, brush);
        win::DeleteObject(brush);
        if (cursor_)
            focus_ring::Draw(dc, r, 2, colour);
    }
    win::EndPaint(hwnd_, &ps);
}

win::LRESULT SkinMultimediaListCell::Proc(win::HWND hwnd, win::UINT message, win::WPARAM wParam,
                                          win::LPARAM lParam)
{
    auto* cell = reinterpret_cast<SkinMultimediaListCell*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
    if (!cell || cell->hwnd_ != hwnd)
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    return cell->Handle(message, wParam, lParam);
}

win::LRESULT SkinMultimediaListCell::Handle(win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    switch (message) {
    case win::WM_SETCURSOR: {
        TrackLeaveAndRest(hwnd_);
        win::ShowToolTip(hwnd_, Tip());
        if (!checked_ && !hovered_) {
            hovered_ = true;
            DrawFace(Hover);
        }
        return win::DefWindowProc(hwnd_, message, wParam, lParam);
    }
    case win::WM_MOUSELEAVE:
        if (!checked_ && hovered_) {
            DrawFace(Normal);
            hovered_ = false;
        }
        return 0;
    case win::WM_LBUTTONDOWN:
        checked_ = !checked_;
        DrawFace(checked_ ? Down : Hover);
        break;
    case win::WM_PAINT:
        Paint();
        return 0;
    case win::WM_ERASEBKGND:
        return 1;
    case win::WM_DESTROY:
        valid_ = false;
        break;
    default:
        break;
    }
    return win::DefWindowProc(hwnd_, message, wParam, lParam);
}

// "Name" and "Info": white text over the row, and clicks passed to the row.
win::LRESULT SkinMultimediaListCell::TextProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam,
                                              win::LPARAM lParam)
{
    if (IsButtonMessage(message)) {
        win::HWND row = win::GetParent(hwnd);
        win::POINT pt{win::GET_X_LPARAM(lParam), win::GET_Y_LPARAM(lParam)};
        win::MapWindowPoints(hwnd, row, &pt, 1);
        return win::SendMessage(row, message, wParam, win::MAKEPOINTLPARAM(pt.x, pt.y));
    }
    switch (message) {
    case win::WM_ERASEBKGND:
        return 1;
    case win::WM_PAINT: {
        win::PAINTSTRUCT ps;
        win::HDC dc = win::BeginPaint(hwnd, &ps);
        win::RECT r;
        win::GetClientRect(hwnd, &r);
        SkinImage text = SkinImage::Create(r.right, r.bottom);
        if (!text.Empty()) {
            win::HDC memory = win::CreateCompatibleDC(dc);
            win::HGDIOBJ oldBitmap = win::SelectObject(memory, text.Bitmap());
            auto font = reinterpret_cast<win::HFONT>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
            win::HGDIOBJ oldFont = win::SelectObject(memory, font);
            win::SetTextColor(memory, win::RGB(255, 255, 255));
            win::SetBkMode(memory, win::TRANSPARENT);
            std::wstring s = win::GetWindowText(hwnd);
            win::RECT at{kTextLeft, 2, r.right, r.bottom};
            // A text wider than its column ends in "…" (the tip shows it whole).
            win::DrawText(memory, s.c_str(), static_cast<int>(s.size()), &at,
                          win::DT_LEFT | win::DT_TOP | win::DT_NOPREFIX | win::DT_SINGLELINE | win::DT_END_ELLIPSIS);
            win::SelectObject(memory, oldFont);
            win::SelectObject(memory, oldBitmap);
            win::DeleteDC(memory);
            DrawImage(dc, text, 0, 0);
        }
        win::EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    }
}
