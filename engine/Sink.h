// A sink receives a row's decoded PCM. Its kind comes first so the PCM
// callback can tell the writer kinds apart.
#pragma once

#include "engine/ModuleHost.h"

#include <cstdint>

enum SinkKind : std::int32_t {
    kSinkWav = 0,
    kSinkMp3 = 1,
};

class Sink : public ModuleHost {
public:
    std::int32_t sinkKind = -1;
};
