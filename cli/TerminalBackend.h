// Answers the questions about existing files for kolvex-convert: from the
// command line's choice, or by asking on the terminal before the batch
// starts (yes, no, all, none); without a terminal the answer is No.
// Everything else stays headless.
#pragma once

#include "cli/CommandLine.h"

#include "platform/backend/HeadlessBackend.h"

#include <mutex>
#include <set>
#include <string>

class TerminalBackend : public win::HeadlessBackend {
public:
    explicit TerminalBackend(CommandLine::Answer answer) : answer_(answer) { }

    // Whether the existing file at `path` stays as it is.
    bool Keep(const std::wstring& path);
    // The engine's own question comes only for files the user agreed to
    // replace, or that appeared since: those stay unless the answer is
    // "yes" for every file.
    int MessageBox(win::HWND owner, const std::wstring& text, const std::wstring& caption,
                   win::UINT type) override;

private:
    bool Ask(const std::wstring& path);

    CommandLine::Answer answer_;
    std::mutex lock_;
    std::set<std::wstring> replace_;
};
