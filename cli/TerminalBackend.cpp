#include "cli/TerminalBackend.h"

#include "platform/core/MessageBox.h"
#include "platform/core/Strings.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

int TerminalBackend::MessageBox(win::HWND, const std::wstring& text, const std::wstring&, win::UINT type)
{
    bool yesNo = (type & win::MB_TYPEMASK) == win::MB_YESNO;
    if (!yesNo)
        return win::IDOK;
    if (answer_ == CommandLine::Answer::Yes)
        return win::IDYES;
    if (answer_ == CommandLine::Answer::No || !isatty(STDIN_FILENO))
        return win::IDNO;
    return Ask(text, type);
}

int TerminalBackend::Ask(const std::wstring& text, win::UINT)
{
    std::lock_guard lock(terminal_);
    std::fprintf(stderr, "\n%s [y/N] ", win::ToUtf8(text).c_str());
    std::fflush(stderr);
    std::string reply;
    std::getline(std::cin, reply);
    return !reply.empty() && (reply[0] == 'y' || reply[0] == 'Y') ? win::IDYES : win::IDNO;
}
