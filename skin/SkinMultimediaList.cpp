#include "skin/SkinMultimediaList.h"

#include "skin/FocusRing.h"
#include "skin/SkinMultimediaListCell.h"
#include "skin/SkinScrollBar.h"

#include "platform/dialogs/Dialog.h"
#include "platform/dialogs/DialogManager.h"
#include "platform/graphics/Gdi.h"
#include "platform/window/Input.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

constexpr int kRowsPerNotch = 3;

}  // namespace

void RegisterMiniWndClass()
{
    win::WNDCLASS existing;
    if (win::GetClassInfo(nullptr, L"MiniWnd", &existing))
        return;
    win::WNDCLASS wc;
    wc.style = win::CS_DBLCLKS;
    wc.lpfnWndProc = &win::DefWindowProc;
    wc.hCursor = win::LoadCursor(nullptr, win::IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<win::HBRUSH>(static_cast<win::INT_PTR>(win::COLOR_WINDOW + 1));
    wc.lpszClassName = L"MiniWnd";
    win::RegisterClass(&wc);
}

SkinMultimediaList::SkinMultimediaList(const SkinFile& file, std::wstring section, std::wstring skinDirectory)
    : SkinElement(file, std::move(section), std::move(skinDirectory))
{
}

SkinMultimediaList::~SkinMultimediaList()
{
    rows_.clear();
    displaced_.clear();
    scrollBar_.reset();
}

bool SkinMultimediaList::Load()
{
    SkinElement::Load();
    ownerName_ = file_.GetString(section_, L"attribute", L"");
    frameSize_ = file_.GetRect(section_, L"framesize");
    SkinImage image = LoadElementImage();
    if (image.Empty())
        return false;
    Cut(image, L"Background", background_);
    const wchar_t* states[3] = {L"Normal", L"Hover", L"Down"};
    const wchar_t* parts[3] = {L"Left", L"Center", L"Right"};
    for (int s = 0; s < 3; ++s)
        for (int p = 0; p < 3; ++p)
            Cut(image, (std::wstring(L"Item") + states[s] + parts[p]).c_str(), items_[s][p]);
    Cut(image, L"ItemScrollBarV_ThumbTrackTop", thumbTop_);
    Cut(image, L"ItemScrollBarV_ThumbTrackCenter", thumbCentre_);
    Cut(image, L"ItemScrollBarV_ThumbTrackBottom", thumbBottom_);
    Cut(image, L"ItemScrollBarV_BackgroundTop", trackTop_);
    Cut(image, L"ItemScrollBarV_BackgroundCenter", trackCentre_);
    Cut(image, L"ItemScrollBarV_BackgroundBottom", trackBottom_);
    rowHeight_ = items_[0][Centre].Height();
    rowWidth_ = frameSize_.width - thumbCentre_.Width() - 1;
    for (int s = 0; s < 3; ++s)
        BuildHorizontalBand(faces_[s], 0, 0, rowWidth_, rowHeight_, &items_[s][Left], &items_[s][Centre],
                            &items_[s][Right]);
    return true;
}

int SkinMultimediaList::RowHeight() const { return rowHeight_; }

win::HWND SkinMultimediaList::ScrollBarWindow() const { return scrollBar_ ? scrollBar_->Window() : nullptr; }

win::HWND SkinMultimediaList::RowWindow(win::UINT key) const
{
    auto found = rows_.find(key);
    return found == rows_.end() ? nullptr : found->second->Window();
}

void SkinMultimediaList::Setup()
{
    if (!window_ || !win::IsWindow(window_))
        return;
    if (!scrollBar_) {
        auto bar = std::make_unique<SkinScrollBar>();
        if (bar->SetPieces(&trackTop_, &trackBottom_, &trackCentre_, &thumbTop_, &thumbBottom_, &thumbCentre_) &&
            bar->Create({0, 0, 0, 0}, SkinScrollBar::kVertical | SkinScrollBar::kRedraw, window_))
            scrollBar_ = std::move(bar);
    }
    if (frameSize_.width > 0 && frameSize_.height > 0)
        win::MoveWindow(window_, frameSize_.x, frameSize_.y, frameSize_.width, frameSize_.height, 1);
    win::ShowWindow(window_, win::SW_SHOW);
    win::RECT client;
    win::GetClientRect(window_, &client);
    if (scrollBar_)
        win::MoveWindow(scrollBar_->Window(), client.right - trackCentre_.Width(), 2, trackCentre_.Width(),
                        client.bottom - 4, 1);
    Layout();
    UpdateScrollBar();
}

int SkinMultimediaList::ContentHeight() const { return static_cast<int>(rows_.size()) * rowHeight_; }

int SkinMultimediaList::PageHeight() const
{
    win::RECT client{};
    win::GetClientRect(window_, &client);
    return client.bottom;
}

int SkinMultimediaList::MaxPosition() const { return std::max(0, ContentHeight() - PageHeight()); }

void SkinMultimediaList::Layout()
{
    layoutPending_ = false;
    // Every row at its index × row height, less the scroll position. With no
    // row height (a skin without row faces) no row is laid out.
    if (rowHeight_ <= 0)
        return;
    win::RECT client{};
    win::GetClientRect(window_, &client);
    int right = client.right - (scrollBar_ ? trackCentre_.Width() : 0);
    int index = 0;
    for (auto& [key, row] : rows_) {
        int top = index++ * rowHeight_ - position_;
        row->Place({0, top, right, top + rowHeight_}, client.bottom);
    }
}

void SkinMultimediaList::UpdateScrollBar()
{
    scrollBarPending_ = false;
    if (!scrollBar_)
        return;
    win::SCROLLINFO info;
    info.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS | win::SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = ContentHeight();
    info.nPage = static_cast<win::UINT>(PageHeight());
    info.nPos = position_;
    if (info.nMax == shown_.nMax && info.nPage == shown_.nPage && info.nPos == shown_.nPos &&
        shown_.fMask != 0)
        return;
    shown_ = info;
    scrollBar_->SetScrollInfo(info, true);
}

void SkinMultimediaList::ScrollTo(int position)
{
    position_ = std::clamp(position, 0, MaxPosition());
    if (position_ == applied_)
        return;
    UpdateScrollBar();
    Layout();
    win::InvalidateRect(window_, nullptr, 1);
    applied_ = position_;
}

win::LRESULT SkinMultimediaList::WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    switch (message) {
    case kLayoutMessage:
        posted_ = false;
        if (layoutPending_) {
            Layout();
            win::InvalidateRect(window_, nullptr, 1);
        }
        if (scrollBarPending_)
            UpdateScrollBar();
        return 0;
    case win::WM_GETDLGCODE:
        Setup();
        return Default() | win::DLGC_WANTARROWS | win::DLGC_WANTCHARS;
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
        focused_ = message == win::WM_SETFOCUS;
        ShowMarks();
        win::InvalidateRect(window_, nullptr, 1);
        return Default();
    case win::WM_KEYDOWN:
        if (OnKey(static_cast<win::UINT>(wParam)))
            return 0;
        return Default();
    case win::WM_VSCROLL:
        if (win::LOWORD(wParam) <= win::SB_THUMBTRACK) {
            bool ours = scrollBar_ && reinterpret_cast<win::HWND>(lParam) == scrollBar_->Window();
            ScrollTo(ours ? scrollBar_->TrackPosition() : win::HIWORD(wParam));
        }
        return Default();
    case win::WM_MOUSEWHEEL: {
        int notches = win::GET_WHEEL_DELTA_WPARAM(wParam) / win::WHEEL_DELTA;
        ScrollTo(position_ - notches * kRowsPerNotch * rowHeight_);
        return 0;
    }
    case win::WM_PAINT: {
        win::PAINTSTRUCT ps;
        win::BeginPaint(window_, &ps);
        win::EndPaint(window_, &ps);
        return Default();
    }
    case win::WM_ERASEBKGND: {
        auto dc = reinterpret_cast<win::HDC>(wParam);
        DrawPiece(dc, background_, 0, 0);
        if (focused_) {
            win::RECT r;
            win::GetClientRect(window_, &r);
            focus_ring::Draw(dc, r, 0, focus_ring::ColourFor(focus_ring::CentreOf(faces_[0].image.Bitmap())));
        }
        return 1;
    }
    case win::WM_DESTROY:
        rows_.clear();
        displaced_.clear();
        return Default();
    default:
        return Default();
    }
}

int SkinMultimediaList::AddItem(const std::wstring& name, win::UINT key)
{
    auto row = std::make_unique<SkinMultimediaListCell>(key, faces_, font_);
    if (!window_ || !row->Create(window_))
        return 1;
    row->SetName(name);
    auto& slot = rows_[key];
    if (slot)
        displaced_.push_back(std::move(slot));
    slot = std::move(row);
    if (!hasCursor_) {
        hasCursor_ = true;
        cursor_ = key;
    }
    // Rows come with growing keys: the new one goes below the others, and
    // nothing else moves (thousands are added at a time).
    if (rows_.rbegin()->first == key && rowHeight_ > 0 && !layoutPending_) {
        win::RECT client{};
        win::GetClientRect(window_, &client);
        int right = client.right - (scrollBar_ ? trackCentre_.Width() : 0);
        int top = (static_cast<int>(rows_.size()) - 1) * rowHeight_ - position_;
        slot->Place({0, top, right, top + rowHeight_}, client.bottom);
    } else {
        LayoutLater();
    }
    slot->SetMarks(focused_, hasCursor_ && key == cursor_);
    // Its thumb is drawn anew for each new length: once for many rows.
    scrollBarPending_ = true;
    Later();
    return 1;
}

// Many rows changing at once (a removal of thousands) are laid out once,
// when the list next handles its messages.
void SkinMultimediaList::LayoutLater()
{
    layoutPending_ = true;
    Later();
}

void SkinMultimediaList::Later()
{
    if (posted_ || !window_)
        return;
    posted_ = true;
    win::PostMessage(window_, kLayoutMessage, 0, 0);
}

int SkinMultimediaList::RemoveItem(win::UINT key)
{
    auto found = rows_.find(key);
    if (found == rows_.end() || !found->second->Valid())
        return 0;
    rows_.erase(found);
    if (hasCursor_ && cursor_ == key) {
        // The cursor goes to the row that takes the removed one's place.
        auto next = rows_.upper_bound(key);
        if (next == rows_.end() && !rows_.empty())
            next = std::prev(rows_.end());
        hasCursor_ = next != rows_.end();
        if (hasCursor_)
            cursor_ = next->first;
    }
    // Fewer rows may leave the position past the last page.
    position_ = std::min(position_, MaxPosition());
    applied_ = position_;
    scrollBarPending_ = true;
    LayoutLater();
    if (hasCursor_)
        if (auto cursor = rows_.find(cursor_); cursor != rows_.end())
            cursor->second->SetMarks(focused_, true);
    return 1;
}

int SkinMultimediaList::SetItemState(int state, win::UINT key)
{
    auto found = rows_.find(key);
    if (found == rows_.end() || !found->second->Valid())
        return 0;
    if (state == 3)
        win::PostMessage(found->second->Window(), win::WM_LBUTTONDOWN, 0, win::MAKEPOINTLPARAM(0, 0));
    return 1;
}

int SkinMultimediaList::SetItemInfo(const std::wstring& info, win::UINT key)
{
    auto found = rows_.find(key);
    if (found == rows_.end() || !found->second->Valid())
        return 0;
    found->second->SetInfo(info);
    return 1;
}

int SkinMultimediaList::SetItemReason(const std::wstring& reason, win::UINT key)
{
    auto found = rows_.find(key);
    if (found == rows_.end() || !found->second->Valid())
        return 0;
    found->second->SetReason(reason);
    return 1;
}

int SkinMultimediaList::FindFirstChecked() const
{
    for (const auto& [key, row] : rows_)
        if (row->Valid() && row->Checked())
            return static_cast<int>(key);
    return -1;
}

int SkinMultimediaList::FindNextChecked(win::UINT key) const
{
    for (auto it = rows_.upper_bound(key); it != rows_.end(); ++it)
        if (it->second->Valid() && it->second->Checked())
            return static_cast<int>(it->first);
    return -1;
}

int SkinMultimediaList::RowTop(win::UINT key) const
{
    auto found = rows_.find(key);
    if (found == rows_.end())
        return -1;
    return static_cast<int>(std::distance(rows_.begin(), found)) * rowHeight_;
}

bool SkinMultimediaList::RowInView(win::UINT key) const
{
    int top = RowTop(key);
    return top >= 0 && top >= position_ && top + rowHeight_ <= position_ + PageHeight();
}

int SkinMultimediaList::FollowItem(win::UINT key, bool restart)
{
    int top = RowTop(key);
    if (top < 0)
        return 0;
    // A row that went away cannot tell whether the person looked elsewhere.
    bool following = restart || !hasFollowed_ || RowTop(followed_) < 0 || RowInView(followed_);
    followed_ = key;
    hasFollowed_ = true;
    if (!following || RowInView(key))
        return 1;
    // The row comes in at the bottom, so the rows done before it stay in view.
    int page = PageHeight();
    ScrollTo(top < position_ ? top : top + rowHeight_ - page);
    return 1;
}
