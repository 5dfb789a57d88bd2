#include "platform/controls/internal/EditText.h"

#include <algorithm>

namespace win::internal {

void EditText::SetText(const std::wstring& text)
{
    text_ = text;
    caret_ = anchor_ = 0;
}

void EditText::Select(long long start, long long end)
{
    long long length = static_cast<long long>(text_.size());
    if (start < 0) {
        anchor_ = caret_;
        return;
    }
    if (end < 0 || end > length)
        end = length;
    start = std::min(start, length);
    anchor_ = static_cast<std::size_t>(start);
    caret_ = static_cast<std::size_t>(end);
}

bool EditText::Insert(const std::wstring& text)
{
    std::size_t start = SelectionStart(), end = SelectionEnd();
    std::size_t room = limit_ - std::min(limit_, text_.size() - (end - start));
    std::wstring piece = text.substr(0, std::min(room, text.size()));
    if (piece.empty() && start == end)
        return false;
    text_.replace(start, end - start, piece);
    caret_ = anchor_ = start + piece.size();
    return !piece.empty() || start != end;
}

bool EditText::Backspace()
{
    if (HasSelection())
        return Insert(L"");
    if (caret_ == 0)
        return false;
    text_.erase(caret_ - 1, 1);
    anchor_ = --caret_;
    return true;
}

bool EditText::Delete()
{
    if (HasSelection())
        return Insert(L"");
    if (caret_ >= text_.size())
        return false;
    text_.erase(caret_, 1);
    return true;
}

void EditText::MoveTo(std::size_t position, bool extend)
{
    caret_ = std::min(position, text_.size());
    if (!extend)
        anchor_ = caret_;
}

void EditText::Left(bool extend)
{
    if (HasSelection() && !extend)
        MoveTo(SelectionStart(), false);
    else
        MoveTo(caret_ > 0 ? caret_ - 1 : 0, extend);
}

void EditText::Right(bool extend)
{
    if (HasSelection() && !extend)
        MoveTo(SelectionEnd(), false);
    else
        MoveTo(caret_ + 1, extend);
}

}  // namespace win::internal
