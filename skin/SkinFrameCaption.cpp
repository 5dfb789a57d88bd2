// The frame's caption: hit-testing, the caption buttons, the system menu and
// the window states (normal, maximised, minimised).
#include "skin/SkinFrame.h"

#include "platform/dialogs/Menu.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

namespace {

bool Inside(const win::RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

win::RECT SkinFrame::CaptionButtonRect(Kind kind) const
{
    if (!buttons_[kind][0].Built())
        return {};
    win::RECT window;
    win::GetWindowRect(window_, &window);
    const SkinRect& a = anchors_[kind];
    int left = (window.right - window.left) + a.x;
    return {left, a.y, left + a.width, a.y + a.height};
}

win::LRESULT SkinFrame::HitTest(win::POINT screen) const
{
    win::RECT window;
    win::GetWindowRect(window_, &window);
    int x = screen.x - window.left, y = screen.y - window.top;
    if (Inside(CaptionButtonRect(CloseButton), x, y))
        return win::HTCLOSE;
    if (hasMinimiseBox_ && Inside(CaptionButtonRect(MinimiseButton), x, y))
        return win::HTMINBUTTON;
    if (hasMaximiseBox_ && Inside(CaptionButtonRect(MaximiseButton), x, y))
        return win::HTMAXBUTTON;
    int iconW = win::GetSystemMetrics(win::SM_CXSMICON), iconH = win::GetSystemMetrics(win::SM_CYSMICON);
    if (Inside({0, 5, iconW, iconH + 5}, x, y))
        return win::HTSYSMENU;
    if (Inside({0, 5, window.right - window.left, captionHeight_}, x, y))
        return win::HTCAPTION;
    return win::HTCLIENT;
}

void SkinFrame::CaptionMouse(win::UINT message, win::LRESULT code, win::LPARAM lParam)
{
    switch (message) {
    case win::WM_NCMOUSEMOVE:
        if (code == win::HTCAPTION && state_ != Maximised)
            Default();
        hover_ = code;
        pressed_ = 0;
        if (code != lastHoverPainted_) {
            lastHoverPainted_ = code;
            PaintNonClient();
        }
        break;
    case win::WM_NCLBUTTONDOWN:
        pressed_ = code;
        hover_ = code;
        if (code == win::HTCAPTION && state_ != Maximised)
            Default();
        else if (code == win::HTSYSMENU)
            ShowSystemMenu(lParam);
        PaintNonClient();
        break;
    case win::WM_NCLBUTTONUP:
        if (code == win::HTMINBUTTON)
            Minimise();
        else if (code == win::HTMAXBUTTON)
            state_ == Maximised ? Restore() : Maximise();
        else if (code == win::HTCLOSE)
            // Through the window's own close handling, never a bare destroy:
            // the window may have work to stop before it goes.
            win::PostMessage(window_, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
        hover_ = 0;
        pressed_ = 0;
        if (win::IsWindow(window_))
            PaintNonClient();
        break;
    case win::WM_NCLBUTTONDBLCLK:
        if (code == win::HTCAPTION && resizable_) {
            state_ == Maximised ? Restore() : Maximise();
            hover_ = 0;
            pressed_ = 0;
        }
        break;
    case win::WM_NCRBUTTONDOWN:
        if (code == win::HTCAPTION)
            ShowSystemMenu(lParam);
        break;
    }
}

void SkinFrame::ShowSystemMenu(win::LPARAM screen)
{
    win::TrackPopupMenu(win::GetSystemMenu(window_, 0), win::TPM_LEFTALIGN | win::TPM_RIGHTBUTTON,
                        win::GET_X_LPARAM(screen), win::GET_Y_LPARAM(screen), 0, window_, nullptr);
}

bool SkinFrame::SystemMenuCommand(win::WPARAM wParam, win::LPARAM lParam)
{
    if (lParam != 0)
        return false;  // from a control
    win::HMENU menu = win::GetSystemMenu(window_, 0);
    win::UINT command = win::LOWORD(wParam);
    // Only the system menu's own items: the dialog's Escape and Enter also
    // arrive as commands without a control, and must reach the window.
    if (!menu || win::GetMenuItemCount(menu) <= 0 ||
        win::GetMenuState(menu, command, win::MF_BYCOMMAND) == static_cast<win::UINT>(-1) ||
        command == win::GetMenuItemID(menu, 0))
        return false;
    if (command == win::SC_MAXIMIZE)
        Maximise();
    else if (command == win::SC_MINIMIZE)
        Minimise();
    else if (command == win::SC_RESTORE && state_ == Maximised)
        Restore();
    else if (command == win::SC_RESTORE && state_ == Minimised)
        Unminimise();
    else
        win::SendMessage(window_, win::WM_SYSCOMMAND, command, 0);
    return true;
}

win::LRESULT SkinFrame::SystemCommand(win::WPARAM command)
{
    if (command == win::SC_MAXIMIZE)
        Maximise();
    else if (command == win::SC_RESTORE && state_ == Maximised)
        Restore();
    else if (command == win::SC_RESTORE && state_ == Minimised)
        Unminimise();
    else
        Default();
    return 0;
}

void SkinFrame::Maximise()
{
    win::GetWindowRect(window_, &savedRect_);
    state_ = Maximised;
    win::RECT work;
    win::SystemParametersInfo(win::SPI_GETWORKAREA, 0, &work, 0);
    win::MoveWindow(window_, work.left, work.top, work.right - work.left, work.bottom - work.top, 1);
    win::UpdateWindow(window_);
}

void SkinFrame::Restore()
{
    if (state_ != Maximised)
        return;
    win::MoveWindow(window_, savedRect_.left, savedRect_.top, savedRect_.right - savedRect_.left,
                    savedRect_.bottom - savedRect_.top, 1);
    state_ = Normal;
    win::UpdateWindow(window_);
}

void SkinFrame::Minimise()
{
    stateBeforeMinimise_ = state_;
    state_ = Minimised;
    win::ShowWindow(window_, win::SW_MINIMIZE);
}

void SkinFrame::Unminimise()
{
    win::ShowWindow(window_, win::SW_RESTORE);
    state_ = stateBeforeMinimise_;
}
