// Answers the questions about existing files for kolvex-convert: from the
// command line's choice, or by asking on the terminal before the batch
// starts (yes, no, all, none); without a terminal the answer is No.
#pragma once

#include "cli/CommandLine.h"

#include <mutex>
#include <set>
#include <string>

class OverwriteAnswers {
public:
    explicit OverwriteAnswers(CommandLine::Answer answer) : answer_(answer) { }

    // Before the batch: whether the existing file at `path` stays as it is.
    bool Keep(const std::wstring& path);
    // The engine's own question, on a worker thread, comes only for files
    // the user agreed to replace, or that appeared since: those stay unless
    // the answer is "yes" for every file.
    bool Replace(const std::wstring& path);
    // The file at `path` is replaced without a question (the run made it before).
    void Agree(const std::wstring& path);

private:
    bool Ask(const std::wstring& path);

    CommandLine::Answer answer_;
    std::mutex lock_;
    std::set<std::wstring> replace_;
};
