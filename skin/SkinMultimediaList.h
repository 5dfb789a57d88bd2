// The skinned list of files and tracks ("mmlist"): a "MiniWnd" control whose
// rows are child windows, each a name and an information text over a row
// face, toggled by a click. A skinned scroll bar at its right edge scrolls
// the rows; the mouse wheel scrolls three rows a notch. The application
// reaches it only through SkinManager's list operations, by row key.
#pragma once

#include "skin/SkinElement.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/ScrollInfo.h"
#include "platform/messaging/Messages.h"

class SkinMultimediaListCell;
class SkinScrollBar;

class SkinMultimediaList : public SkinElement {
public:
    SkinMultimediaList(const SkinFile& file, std::wstring section, std::wstring skinDirectory);
    ~SkinMultimediaList() override;

    bool Load() override;
    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;

    // The list operations (see SkinManager).
    int AddItem(const std::wstring& name, win::UINT key);
    int RemoveItem(win::UINT key);
    int SetItemState(int state, win::UINT key);
    int SetItemInfo(const std::wstring& info, win::UINT key);
    int SetItemReason(const std::wstring& reason, win::UINT key);
    int FindFirstChecked() const;
    int FindNextChecked(win::UINT key) const;
    // Scrolls `key`'s row into view while the list follows a batch: it
    // follows from `restart` on, and stops once the person has scrolled the
    // row it last showed out of view (and follows again when they bring it
    // back). 1 when the row exists.
    int FollowItem(win::UINT key, bool restart);

    // For the render tool and tests.
    const SkinRect& FrameSize() const { return frameSize_; }
    int RowHeight() const;
    int ScrollPosition() const { return position_; }
    win::HWND ScrollBarWindow() const;
    // The row window under `key`, or null.
    win::HWND RowWindow(win::UINT key) const;
    // The keyboard's row (Up/Down, Page Up/Down, Home/End move it, Space
    // ticks it); -1 when the list has no rows.
    int CursorKey() const;

    // Sizes the control to the skin's place and makes its scroll bar; runs
    // when the dialog first asks the control for its code, and when the
    // list is taken over after that.
    void Setup();

private:
    enum { Left, Centre, Right };
    int ContentHeight() const;
    int PageHeight() const;
    int MaxPosition() const;
    void Layout();
    void LayoutLater();
    void Later();
    void UpdateScrollBar();
    void ScrollTo(int position);
    // The row's top with no scrolling; -1 when there is no such row.
    int RowTop(win::UINT key) const;
    bool RowInView(win::UINT key) const;
    // MultimediaListKeys.cpp
    bool OnKey(win::UINT key);
    void MoveCursor(int index);
    int CursorIndex() const;
    void ShowMarks();

    SkinRect frameSize_;
    SkinPiece background_;
    SkinPiece items_[3][3];  // face (normal, hover, down) × (left, centre, right)
    SkinPiece faces_[3];     // composed row faces
    SkinPiece thumbTop_, thumbCentre_, thumbBottom_, trackTop_, trackCentre_, trackBottom_;
    int rowHeight_ = 0;
    int rowWidth_ = 0;
    std::unique_ptr<SkinScrollBar> scrollBar_;
    std::map<win::UINT, std::unique_ptr<SkinMultimediaListCell>> rows_;
    // Rows displaced by a re-used key: still on the list, out of reach.
    std::vector<std::unique_ptr<SkinMultimediaListCell>> displaced_;
    win::UINT cursor_ = 0;
    bool hasCursor_ = false;
    bool focused_ = false;
    int position_ = 0;
    int applied_ = 0;
    bool layoutPending_ = false;
    bool scrollBarPending_ = false;
    bool posted_ = false;
    // Private to the list: lay the rows out once.
    static constexpr win::UINT kLayoutMessage = win::WM_USER + 0x2A1;
    win::UINT followed_ = 0;
    bool hasFollowed_ = false;
    win::SCROLLINFO shown_;
};
