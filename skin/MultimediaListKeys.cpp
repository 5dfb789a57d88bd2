// The list from the keyboard: a cursor row that Up/Down, Page Up/Down and
// Home/End move (the view follows it), and Space ticks it as a click would.
#include "skin/SkinMultimediaList.h"

#include "skin/SkinMultimediaListCell.h"

#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Input.h"

#include <algorithm>
#include <iterator>

int SkinMultimediaList::CursorKey() const { return hasCursor_ ? static_cast<int>(cursor_) : -1; }

int SkinMultimediaList::CursorIndex() const
{
    auto found = rows_.find(cursor_);
    return hasCursor_ && found != rows_.end() ? static_cast<int>(std::distance(rows_.begin(), found)) : 0;
}

bool SkinMultimediaList::OnKey(win::UINT key)
{
    int count = static_cast<int>(rows_.size());
    int page = rowHeight_ > 0 ? std::max(1, PageHeight() / rowHeight_ - 1) : 1;
    int at = CursorIndex();
    switch (key) {
    case win::VK_UP: MoveCursor(at - 1); return true;
    case win::VK_DOWN: MoveCursor(at + 1); return true;
    case win::VK_PRIOR: MoveCursor(at - page); return true;
    case win::VK_NEXT: MoveCursor(at + page); return true;
    case win::VK_HOME: MoveCursor(0); return true;
    case win::VK_END: MoveCursor(count - 1); return true;
    case win::VK_SPACE: {
        auto found = rows_.find(cursor_);
        if (hasCursor_ && found != rows_.end() && found->second->Valid())
            win::SendMessage(found->second->Window(), win::WM_LBUTTONDOWN, 0, win::MAKEPOINTLPARAM(0, 0));
        return true;
    }
    default: return false;
    }
}

void SkinMultimediaList::MoveCursor(int index)
{
    if (rows_.empty())
        return;
    index = std::clamp(index, 0, static_cast<int>(rows_.size()) - 1);
    cursor_ = std::next(rows_.begin(), index)->first;
    hasCursor_ = true;
    // Into view: to the top when above it, to the bottom when below.
    int top = index * rowHeight_;
    if (top < position_)
        ScrollTo(top);
    else if (top + rowHeight_ > position_ + PageHeight())
        ScrollTo(top + rowHeight_ - PageHeight());
    ShowMarks();
}

void SkinMultimediaList::ShowMarks()
{
    for (auto& [key, row] : rows_)
        if (row->Valid())
            row->SetMarks(focused_, hasCursor_ && key == cursor_);
}
