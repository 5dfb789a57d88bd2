#include "cli/OverwriteAnswers.h"

#include "cli/DisplayText.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

bool OverwriteAnswers::Keep(const std::wstring& path)
{
    bool keep = answer_ == CommandLine::Answer::No ||
                (answer_ == CommandLine::Answer::Ask && (!isatty(STDIN_FILENO) || Ask(path)));
    if (!keep) {
        std::lock_guard guard(lock_);
        replace_.insert(path);
    }
    return keep;
}

// True when the file stays. "all" and "none" answer every later question too.
bool OverwriteAnswers::Ask(const std::wstring& path)
{
    for (;;) {
        std::fprintf(stderr, "%s already exists. Replace it? [y]es, [n]o, [a]ll, none: ", DisplayText(path).c_str());
        std::fflush(stderr);
        std::string reply;
        if (!std::getline(std::cin, reply))
            return true;
        if (reply == "y" || reply == "Y" || reply == "yes")
            return false;
        if (reply.empty() || reply == "n" || reply == "N" || reply == "no")
            return true;
        if (reply == "a" || reply == "all") {
            answer_ = CommandLine::Answer::Yes;
            return false;
        }
        if (reply == "none") {
            answer_ = CommandLine::Answer::No;
            return true;
        }
    }
}

bool OverwriteAnswers::Replace(const std::wstring& path)
{
    std::lock_guard guard(lock_);
    return answer_ == CommandLine::Answer::Yes || replace_.count(path) > 0;
}

void OverwriteAnswers::Agree(const std::wstring& path)
{
    std::lock_guard guard(lock_);
    replace_.insert(path);
}
