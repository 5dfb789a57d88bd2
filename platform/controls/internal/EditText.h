// The text of a single-line edit box with its caret and selection: what
// typing, deleting and moving do, apart from drawing. Only platform code
// includes this.
#pragma once

#include <cstddef>
#include <string>

namespace win::internal {

class EditText {
public:
    const std::wstring& Text() const { return text_; }
    std::size_t Caret() const { return caret_; }
    std::size_t SelectionStart() const { return std::min(anchor_, caret_); }
    std::size_t SelectionEnd() const { return std::max(anchor_, caret_); }
    bool HasSelection() const { return anchor_ != caret_; }

    // Replaces everything; the caret goes to the start.
    void SetText(const std::wstring& text);
    // A negative start removes the selection; a negative end means the end.
    void Select(long long start, long long end);
    void SetLimit(std::size_t limit) { limit_ = limit; }
    std::size_t Limit() const { return limit_; }

    // Replaces the selection with as much of `text` as the limit allows;
    // false when nothing could be inserted.
    bool Insert(const std::wstring& text);
    bool Backspace();
    bool Delete();
    // Moves the caret; `extend` keeps the selection's other end.
    void MoveTo(std::size_t position, bool extend);
    void Left(bool extend);
    void Right(bool extend);

private:
    std::wstring text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    std::size_t limit_ = 0x7FFFFFFE;
};

}  // namespace win::internal
