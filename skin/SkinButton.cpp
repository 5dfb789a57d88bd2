#include "skin/SkinButton.h"

#include "skin/FocusRing.h"
#include "skin/PointerTracking.h"

#include "platform/controls/Controls.h"
#include "platform/window/Input.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

SkinButton::SkinButton(const SkinFile& file, std::wstring section, std::wstring skinDirectory)
    : SkinElement(file, std::move(section), std::move(skinDirectory))
{
}

bool SkinButton::Load()
{
    SkinElement::Load();
    SkinImage image = LoadElementImage();
    if (image.Empty())
        return false;
    ownerName_ = file_.GetString(section_, L"attribute", L"");
    Cut(image, L"normal", normal_);
    Cut(image, L"hover", hover_);
    Cut(image, L"down", down_);
    Cut(image, L"disable", disable_);
    anchor_ = file_.GetRect(section_, L"anchor");
    image_ = SkinImage::Create(normal_.Width(), normal_.Height());
    image_.Draw(normal_.image, 0, 0);
    ringColour_ = focus_ring::ColourFor(focus_ring::CentreOf(normal_.image.Bitmap()));
    return true;
}

bool SkinButton::TakeOver(win::HWND control)
{
    window_ = control;
    if (!HookWindow(control))
        return false;
    if (!image_.Empty())
        win::SetWindowRgn(control, RegionFromBitmap(image_.Bitmap(), win::RGB(0, 0, 255),
                                                    win::RGB(0, 0, 255), 0, 0),
                          1);
    return true;
}

void SkinButton::DrawFace(const SkinPiece& piece)
{
    image_.Draw(piece.image, 0, 0);
    win::InvalidateRect(window_, nullptr, 0);
}

// A disabled button shows its disabled face whatever the pointer does, and
// takes no click.
bool SkinButton::Enabled() const { return win::IsWindowEnabled(window_) != 0; }

void SkinButton::Place()
{
    if (anchor_.width >= 1 && anchor_.height >= 1)
        win::SetWindowPos(window_, nullptr, anchor_.x, anchor_.y, normal_.Width(), normal_.Height(),
                          win::SWP_NOZORDER | win::SWP_NOACTIVATE | win::SWP_SHOWWINDOW);
}

void SkinButton::Paint()
{
    win::PAINTSTRUCT ps;
    win::HDC dc = win::BeginPaint(window_, &ps);
    DrawImage(dc, image_, 0, 0);
    if (focused_ && Enabled()) {
        win::RECT r;
        win::GetClientRect(window_, &r);
        focus_ring::Draw(dc, r, 3, ringColour_);
    }
    win::EndPaint(window_, &ps);
}

win::LRESULT SkinButton::WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM)
{
    if (!win::IsWindow(window_))
        return 0;
    switch (message) {
    case win::WM_SETCURSOR:
        if (!tracking_) {
            tracking_ = TrackLeaveAndRest(window_);
            hovering_ = true;
            if (Enabled())
                DrawFace(hover_);
        }
        return 0;
    case win::WM_MOUSELEAVE:
        hovering_ = false;
        tracking_ = false;
        DrawFace(Enabled() ? normal_ : disable_);
        return 0;
    case win::WM_LBUTTONDOWN:
        if (!Enabled())
            return 0;
        pressed_ = true;
        armed_ = true;
        DrawFace(down_);
        return 0;
    case win::WM_LBUTTONUP: {
        pressed_ = false;
        tracking_ = false;
        if (!Enabled()) {
            armed_ = false;
            return 0;
        }
        if (armed_) {
            armed_ = false;
            if (hovering_)
                DrawFace(hover_);
        }
        int id = win::GetDlgCtrlID(window_);
        win::SendMessage(win::GetParent(window_), win::WM_COMMAND,
                         win::MAKEWPARAM(static_cast<win::WORD>(id), win::BN_CLICKED),
                         reinterpret_cast<win::LPARAM>(window_));
        return 0;
    }
    case win::WM_LBUTTONDBLCLK:
        return 0;
    case win::WM_ENABLE:
        // Hover comes back with the pointer's next move.
        tracking_ = false;
        DrawFace(wParam ? normal_ : disable_);
        return 0;
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
        focused_ = message == win::WM_SETFOCUS;
        win::InvalidateRect(window_, nullptr, 0);
        return Default();
    case win::WM_PAINT:
        Paint();
        return 1;
    case win::WM_ERASEBKGND:
        return 1;
    default:
        if (!placed_) {
            placed_ = true;
            Place();
        }
        return Default();
    }
    
}
