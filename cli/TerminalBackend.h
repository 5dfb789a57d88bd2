// Answers the questions a conversion asks (may an existing file be
// overwritten?) from the command line's choice, or by asking on the
// terminal; without a terminal the answer is No. Everything else stays
// headless.
#pragma once

#include "cli/CommandLine.h"

#include "platform/backend/HeadlessBackend.h"

#include <mutex>
#include <string>

class TerminalBackend : public win::HeadlessBackend {
public:
    explicit TerminalBackend(CommandLine::Answer answer) : answer_(answer) { }

    int MessageBox(win::HWND owner, const std::wstring& text, const std::wstring& caption,
                   win::UINT type) override;

private:
    int Ask(const std::wstring& text, win::UINT type);

    CommandLine::Answer answer_;
    std::mutex terminal_;
};
