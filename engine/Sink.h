// A sink receives a row's decoded PCM. Its kind comes first so the PCM
// callback can tell the writer kinds apart.
#pragma once

#include "engine/ModuleHost.h"
#include "platform/core/OutputFile.h"

#include <cstdint>
#include <functional>
#include <string>

enum SinkKind : std::int32_t {
    kSinkWav = 0,
    kSinkMp3 = 1,
};

class Sink : public ModuleHost {
public:
    std::int32_t sinkKind = -1;
    // Called with the finished file, still under its temporary name, just
    // before it takes its final one (to tag it through the file's own
    // stream). A non-empty result says why it failed: the file is then
    // dropped and the row fails.
    std::function<std::wstring(win::OutputFile& output)> beforeCommit;
};
