#include "skin/SkinFrame.h"

#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Gdi.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/graphics/Region.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

constexpr win::UINT kSizing = 0x0214;  // WM_SIZING
// No skin needs more extra backdrop pieces than this; a larger count is a
// damaged file, not a reason to cut thousands of pieces.
constexpr int kMaxExtraPieces = 256;

}  // namespace

SkinFrame::SkinFrame(const SkinFile& file, std::wstring section, std::wstring skinDirectory)
    : SkinElement(file, std::move(section), std::move(skinDirectory))
{
}

SkinFrame::~SkinFrame()
{
    HookWindow(nullptr);
    if (region_)
        win::DeleteObject(region_);
}

bool SkinFrame::Load()
{
    SkinElement::Load();
    frameSize_ = file_.GetRect(section_, L"framesize");
    SkinImage image = LoadElementImage();
    if (image.Empty())
        return false;
    Cut(image, L"topleft", topLeft_);
    Cut(image, L"Top", top_);
    Cut(image, L"TopRight", topRight_);
    Cut(image, L"Left", left_);
    Cut(image, L"Right", right_);
    Cut(image, L"BottomLeft", bottomLeft_);
    Cut(image, L"Bottom", bottom_);
    Cut(image, L"BottomRight", bottomRight_);
    const wchar_t* kinds[3] = {L"Minimise", L"Maximise", L"Close"};
    const wchar_t* states[3] = {L"Normal", L"Hover", L"Down"};
    for (int k = 0; k < 3; ++k)
        for (int s = 0; s < 3; ++s)
            Cut(image, (std::wstring(kinds[k]) + states[s]).c_str(), buttons_[k][s]);
    Cut(image, L"Backdrop", backdrop_);
    centre_.mode = file_.GetInt(section_, L"Backdrop_draw", 0);
    int count = std::clamp(file_.GetInt(section_, L"backdropskin_number", 0), 0, kMaxExtraPieces);
    extras_.clear();
    for (int n = 0; n < count; ++n) {
        SkinPiece piece;
        Cut(image, (L"backdropskin_srect" + std::to_wstring(n)).c_str(), piece);
        piece.destination = file_.GetRect(section_, L"backdropskin_drect" + std::to_wstring(n));
        extras_.push_back(std::move(piece));
    }
    anchors_[MinimiseButton] = file_.GetRect(section_, L"anchor_min");
    anchors_[MaximiseButton] = file_.GetRect(section_, L"anchor_max");
    anchors_[CloseButton] = file_.GetRect(section_, L"anchor_close");
    captionHeight_ = top_.Height();
    Compose();
    return true;
}

void SkinFrame::Compose()
{
    const int x = frameSize_.x, y = frameSize_.y, w = frameSize_.width, h = frameSize_.height;
    const int middle = h - captionHeight_ - bottom_.Height();
    BuildHorizontalBand(captionBand_, x, y, w, captionHeight_, &topLeft_, &top_, &topRight_);
    BuildHorizontalBand(bottomBand_, x, y, w, bottom_.Height(), &bottomLeft_, &bottom_, &bottomRight_);
    BuildVerticalBand(leftBand_, x, y, left_.Width(), middle, &left_);
    BuildVerticalBand(rightBand_, x, y, right_.Width(), middle, &right_);
    BuildFill(centre_, x, y, w - left_.Width() - right_.Width(), middle, &backdrop_);
    image_ = SkinImage::Create(w, h);
    image_.Draw(captionBand_.image, x, y);
    image_.Draw(leftBand_.image, x, y + captionHeight_);
    image_.Draw(rightBand_.image, w - rightBand_.Width(), y + captionHeight_);
    image_.Draw(bottomBand_.image, x, h - bottomBand_.Height());
}

bool SkinFrame::TakeOver(win::HWND window)
{
    if (!enabled_ || !HookWindow(window))
        return false;
    window_ = window;
    win::LONG style = win::GetWindowLong(window, win::GWL_STYLE);
    resizable_ = (style & win::WS_THICKFRAME) != 0;
    hasMinimiseBox_ = (style & win::WS_MINIMIZEBOX) != 0;
    hasMaximiseBox_ = (style & win::WS_MAXIMIZEBOX) != 0;
    win::SetWindowLong(window, win::GWL_STYLE,
                       style & ~static_cast<win::LONG>(win::WS_SYSMENU | win::WS_MINIMIZEBOX |
                                                       win::WS_MAXIMIZEBOX));
    // A window skinned while already on the screen takes its frame now,
    // rather than at the next time it is shown.
    if (win::IsWindowVisible(window))
        FitWindow();
    return true;
}

void SkinFrame::FitWindow()
{
    win::SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                      win::SWP_FRAMECHANGED | win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                          win::SWP_NOACTIVATE);
    if (frameSize_.width > 0 && frameSize_.height > 0)
        win::SetWindowPos(window_, nullptr, 0, 0, frameSize_.width, frameSize_.height,
                          win::SWP_NOMOVE | win::SWP_FRAMECHANGED | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
}

void SkinFrame::EraseBackground(win::HDC dc)
{
    DrawPiece(dc, centre_, leftBand_.Width(), 0);
    for (const SkinPiece& piece : extras_) {
        const SkinRect& to = piece.destination;
        if (piece.Width() <= 0)
            continue;
        int copies = to.width <= piece.Width() ? 1 : to.width / piece.Width() + 1;
        for (int k = 0; k < copies; ++k)
            DrawPiece(dc, piece, to.x + k * piece.Width(), to.y - captionHeight_);
    }
}

void SkinFrame::PaintNonClient()
{
    const win::LRESULT codes[3] = {win::HTMINBUTTON, win::HTMAXBUTTON, win::HTCLOSE};
    const bool allowed[3] = {hasMinimiseBox_, hasMaximiseBox_, true};
    for (int k = 0; k < 3; ++k) {
        if (!allowed[k] || !buttons_[k][0].Built())
            continue;
        int s = pressed_ == codes[k] ? 2 : hover_ == codes[k] ? 1 : 0;
        win::RECT r = CaptionButtonRect(static_cast<Kind>(k));
        // A state already shown is not blended over itself again: a
        // translucent piece would darken with every paint.
        if (s == drawnState_[k] && r.left == drawnLeft_[k])
            continue;
        image_.Draw(buttons_[k][s].image, r.left, r.top);
        drawnState_[k] = s;
        drawnLeft_[k] = r.left;
        ++imageGeneration_;
    }
    win::HDC dc = win::GetWindowDC(window_);
    DrawImage(dc, image_, 0, 0);
    win::ReleaseDC(window_, dc);
}

void SkinFrame::UpdateRegion()
{
    if (image_.Empty())
        return;
    if (!region_ || regionGeneration_ != imageGeneration_) {
        SkinImage shape = SkinImage::Create(image_.Width(), image_.Height());
        shape.Draw(image_, 0, 0);
        shape.Draw(centre_.image, leftBand_.Width(), captionHeight_);
        if (region_)
            win::DeleteObject(region_);
        region_ = RegionFromBitmap(shape.Bitmap(), win::RGB(0, 0, 255), win::RGB(16, 16, 16), 0, 0);
        regionGeneration_ = imageGeneration_;
    }
    if (!region_)
        return;
    win::HRGN copy = win::CreateRectRgn(0, 0, 0, 0);
    win::CombineRgn(copy, region_, nullptr, win::RGN_COPY);
    win::SetWindowRgn(window_, copy, 1);
}

win::LRESULT SkinFrame::WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    if (!enabled_ || !win::IsWindow(window_))
        return Default();
    switch (message) {
    case win::WM_SIZE:
        Default();
        win::InvalidateRect(window_, nullptr, 1);
        UpdateRegion();
        return 0;
    case win::WM_ACTIVATE:
        active_ = win::LOWORD(wParam) != win::WA_INACTIVE;
        return 0;
    case win::WM_SETTEXT:
        Default();
        return 0;
    case win::WM_PAINT: {
        win::PAINTSTRUCT ps;
        win::BeginPaint(window_, &ps);
        win::EndPaint(window_, &ps);
        return 0;
    }
    case win::WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<win::HDC>(wParam));
        return 1;
    case win::WM_SHOWWINDOW:
        if (wParam)
            FitWindow();
        return 0;
    case win::WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<win::MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {captionBand_.Width(), captionHeight_ + 20};
        return 0;
    }
    case win::WM_WINDOWPOSCHANGING:
    case kSizing:
        return 0;
    case win::WM_NCCALCSIZE:
        if (wParam) {
            auto* params = reinterpret_cast<win::NCCALCSIZE_PARAMS*>(lParam);
            params->rgrc[0].top += captionHeight_;
            params->rgrc[1] = params->rgrc[2] = params->rgrc[0];
            return 0;
        }
        return Default();
    case win::WM_NCHITTEST:
        return HitTest({win::GET_X_LPARAM(lParam), win::GET_Y_LPARAM(lParam)});
    case win::WM_NCPAINT:
        PaintNonClient();
        return 0;
    case win::WM_NCACTIVATE:
        active_ = wParam != 0;
        return wParam ? 0 : 1;
    case win::WM_NCMOUSEMOVE:
    case win::WM_NCLBUTTONDOWN:
    case win::WM_NCLBUTTONUP:
    case win::WM_NCLBUTTONDBLCLK:
    case win::WM_NCRBUTTONDOWN:
        CaptionMouse(message, static_cast<win::LRESULT>(wParam), lParam);
        return 0;
    case win::WM_COMMAND:
        if (!SystemMenuCommand(wParam, lParam))
            Default();
        return 0;
    case win::WM_SYSCOMMAND:
        return SystemCommand(wParam);
    default:
        return Default();
    }
}
