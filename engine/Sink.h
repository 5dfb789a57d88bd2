// A sink receives a row's decoded PCM, in the source's format, and makes
// the row's output file of it.
#pragma once

#include "platform/core/OutputFile.h"

#include <cstddef>
#include <functional>
#include <string>

class Sink {
public:
    virtual ~Sink() = default;
    // One chunk of interleaved PCM; a sink that failed ignores the rest and
    // reports it when it finishes.
    virtual void Write(const unsigned char* data, std::size_t bytes) = 0;

    // Called with the finished file, still under its temporary name, just
    // before it takes its final one (to tag it through the file's own
    // stream). A non-empty result says why it failed: the file is then
    // dropped and the row fails.
    std::function<std::wstring(win::OutputFile& output)> beforeCommit;
    // Whether the finished file may replace one under its name. Off when
    // the name was free as the row started: a file that appears there
    // during the conversion is someone else's and stays (see
    // OutputFile::SetReplaceExisting).
    bool replaceExisting = true;
};

// The row's reason when a file appeared under its output's name while it
// converted (OutputFile::Appeared).
std::wstring AppearedReason(const std::wstring& path);
