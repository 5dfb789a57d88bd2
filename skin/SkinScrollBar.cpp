#include "skin/SkinScrollBar.h"

#include "platform/window/Input.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr wchar_t kClass[] = L"SkinScrollBar";

void RegisterOnce(win::WNDPROC proc)
{
    win::WNDCLASS existing;
    if (win::GetClassInfo(nullptr, kClass, &existing))
        return;
    win::WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.hCursor = win::LoadCursor(nullptr, win::IDC_ARROW);
    wc.lpszClassName = kClass;
    win::RegisterClass(&wc);
}

}  // namespace

SkinScrollBar::~SkinScrollBar()
{
    if (hwnd_ && win::IsWindow(hwnd_)) {
        win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, 0);
        win::DestroyWindow(hwnd_);
    }
}

bool SkinScrollBar::SetPieces(const SkinPiece* trackTop, const SkinPiece* trackBottom,
                              const SkinPiece* trackMiddle, const SkinPiece* thumbTop,
                              const SkinPiece* thumbBottom, const SkinPiece* thumbMiddle)
{
    for (const SkinPiece* p : {trackTop, trackBottom, trackMiddle, thumbTop, thumbBottom, thumbMiddle})
        if (!p || !p->Built())
            return false;
    trackTop_ = trackTop;
    trackBottom_ = trackBottom;
    trackMiddle_ = trackMiddle;
    thumbTop_ = thumbTop;
    thumbBottom_ = thumbBottom;
    thumbMiddle_ = thumbMiddle;
    return true;
}

bool SkinScrollBar::Create(const win::RECT& r, win::DWORD flags, win::HWND parent)
{
    RegisterOnce(&Proc);
    flags_ = flags;
    hwnd_ = win::CreateWindowEx(0, kClass, L"SkinScrollBarClass", win::WS_CHILD | win::WS_VISIBLE,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(kControlId)),
                                nullptr, nullptr);
    if (!hwnd_)
        return false;
    win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(this));
    Rebuild();
    return true;
}

void SkinScrollBar::SetScrollInfo(const win::SCROLLINFO& in, bool redraw)
{
    if (in.fMask & win::SIF_RANGE) {
        info_.nMin = in.nMin;
        info_.nMax = in.nMax;
    }
    if (in.fMask & win::SIF_PAGE)
        info_.nPage = in.nPage;
    if (in.fMask & win::SIF_POS)
        info_.nPos = in.nPos;
    if (in.fMask & win::SIF_TRACKPOS)
        info_.nTrackPos = in.nTrackPos;
    // The thumb follows the position the owner set, so that it and the
    // content agree, except while the user holds it.
    if (!dragging_) {
        int span = Span(), free = FreeTravel();
        offset_ = span > 0 && free > 0
                      ? static_cast<int>(std::lround(std::clamp(info_.nPos - info_.nMin, 0, span) *
                                                     static_cast<double>(free) / span))
                      : 0;
    }
    if (redraw && (flags_ & kRedraw))
        DrawThumb();
}

void SkinScrollBar::GetScrollInfo(win::SCROLLINFO* out) const
{
    if (!out)
        return;
    win::UINT mask = out->fMask;
    *out = info_;
    out->fMask = mask;
}

int SkinScrollBar::TrackLength() const
{
    win::RECT r{};
    if (hwnd_)
        win::GetClientRect(hwnd_, &r);
    return r.bottom;
}

int SkinScrollBar::ThumbLength() const
{
    int minimum = thumbTop_ ? thumbTop_->Height() + thumbMiddle_->Height() + thumbBottom_->Height() : 0;
    int track = TrackLength();
    long long range = static_cast<long long>(info_.nMax) - info_.nMin;
    if (range <= 0)
        return minimum;
    double length = static_cast<double>(track) / range * info_.nPage;
    length = std::clamp(length, 0.0, static_cast<double>(track));
    return std::max(static_cast<int>(length), minimum);
}

int SkinScrollBar::FreeTravel() const { return std::max(0, TrackLength() - ThumbLength()); }

int SkinScrollBar::Span() const
{
    long long span = static_cast<long long>(info_.nMax) - info_.nMin - info_.nPage;
    return static_cast<int>(std::clamp<long long>(span, 0, 0x7FFFFFFF));
}

void SkinScrollBar::Rebuild()
{
    win::RECT r{};
    win::GetClientRect(hwnd_, &r);
    image_ = SkinImage::Create(r.right, r.bottom);
    track_.image.Reset();
    if (trackMiddle_)
        BuildVerticalBandWithEnds(track_, r.right, r.bottom, trackTop_, trackMiddle_, trackBottom_);
    DrawThumb();
}

void SkinScrollBar::DrawThumb()
{
    if (image_.Empty() || !thumbMiddle_)
        return;
    win::RECT r{};
    win::GetClientRect(hwnd_, &r);
    image_ = SkinImage::Create(r.right, r.bottom);
    image_.Draw(track_.image, 0, 0);
    SkinPiece thumb;
    if (BuildVerticalBandWithEnds(thumb, thumbMiddle_->Width(), ThumbLength(), thumbTop_, thumbMiddle_,
                                  thumbBottom_))
        image_.Draw(thumb.image, (trackMiddle_->Width() - thumbMiddle_->Width()) / 2, offset_);
    win::InvalidateRect(hwnd_, nullptr, 0);
}

void SkinScrollBar::Report()
{
    win::SendMessage(win::GetParent(hwnd_), win::WM_VSCROLL,
                     win::MAKEWPARAM(win::SB_THUMBTRACK, static_cast<win::WORD>(info_.nTrackPos)),
                     reinterpret_cast<win::LPARAM>(hwnd_));
}

win::LRESULT SkinScrollBar::Proc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    auto* bar = reinterpret_cast<SkinScrollBar*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
    if (!bar || bar->hwnd_ != hwnd)
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    return bar->Handle(message, wParam, lParam);
}

win::LRESULT SkinScrollBar::Handle(win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    switch (message) {
    case win::WM_SIZE:
        Rebuild();
        return 0;
    case win::WM_PAINT: {
        win::PAINTSTRUCT ps;
        win::HDC dc = win::BeginPaint(hwnd_, &ps);
        DrawImage(dc, image_, 0, 0);
        win::EndPaint(hwnd_, &ps);
        return 0;
    }
    case win::WM_ERASEBKGND:
        return 1;
    case win::WM_SETCURSOR:
        if (!tracking_) {
            win::TRACKMOUSEEVENT track;
            track.dwFlags = win::TME_LEAVE | win::TME_HOVER;
            track.hwndTrack = hwnd_;
            track.dwHoverTime = 1;
            tracking_ = win::TrackMouseEvent(&track) != 0;
            win::InvalidateRect(hwnd_, nullptr, 0);
        }
        return 0;
    case win::WM_MOUSELEAVE:
        tracking_ = false;
        return 0;
    case win::WM_LBUTTONDOWN: {
        int y = win::GET_Y_LPARAM(lParam);
        if (thumbMiddle_ && y >= offset_ && y < offset_ + ThumbLength()) {
            win::SetCapture(hwnd_);
            pressY_ = y;
            offsetAtPress_ = offset_;
            dragging_ = true;
        }
        break;
    }
    case win::WM_MOUSEMOVE:
        // Once the thumb is held it follows the pointer wherever it goes.
        if (dragging_ && (wParam & win::MK_LBUTTON) && (flags_ & kVertical)) {
            int free = FreeTravel();
            offset_ = std::clamp(offsetAtPress_ + win::GET_Y_LPARAM(lParam) - pressY_, 0, free);
            info_.nTrackPos = free > 0 ? info_.nMin + static_cast<int>(std::lround(
                                                           offset_ * static_cast<double>(Span()) / free))
                                       : info_.nMin;
            DrawThumb();
            win::SetTimer(hwnd_, kTimerId, 10, nullptr);
        }
        break;
    case win::WM_LBUTTONUP: {
        bool wasDragging = dragging_;
        dragging_ = false;
        win::KillTimer(hwnd_, kTimerId);
        win::ReleaseCapture();
        offsetAtPress_ = offset_;
        // The last move may not have been reported yet.
        if (wasDragging)
            Report();
        break;
    }
    case win::WM_CAPTURECHANGED:
        dragging_ = false;
        win::KillTimer(hwnd_, kTimerId);
        break;
    case win::WM_TIMER:
        if (wParam == kTimerId)
            Report();
        return 0;
    default:
        break;
    }
    return win::DefWindowProc(hwnd_, message, wParam, lParam);
}
