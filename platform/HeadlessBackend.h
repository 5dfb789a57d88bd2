// The back-end without a display: questions are answered from a script that
// tests (or a front end without a terminal) fill beforehand.
#pragma once

#include "platform/Backend.h"

#include <deque>
#include <mutex>
#include <vector>

namespace win {

class HeadlessBackend : public Backend {
public:
    struct Question {
        std::wstring text;
        std::wstring caption;
        UINT type = 0;
    };

    // Answers are used in order; when none is left, the default answer is
    // given (IDCANCEL for boxes with a Cancel button, IDNO for Yes/No ones,
    // IDOK otherwise) unless SetDefaultAnswer chose one.
    void PushAnswer(int answer);
    void SetDefaultAnswer(int answer);
    std::vector<Question> Questions() const;
    void Reset();

    int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                   UINT type) override;

private:
    mutable std::mutex mutex_;
    std::deque<int> answers_;
    int defaultAnswer_ = 0;
    std::vector<Question> asked_;
};

// The process's headless back-end (also the default one).
HeadlessBackend& Headless();

}  // namespace win
