// INDEX times "mm:ss:ff": minutes, seconds and frames of 1/75 second.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct CueTimeParts {
    long long minutes = 0, seconds = 0, frames = 0;
};

// As the old reading takes any text: each part as atoi reads it (white
// space, sign, digits up to the first other character; none gives 0),
// missing parts 0.
CueTimeParts SplitCueTime(std::wstring_view text);

// The time in CD frames when `text` is a sound time: three parts of digits
// only, seconds below 60, frames below 75 (minutes may pass 99, as on long
// images); nothing otherwise.
std::optional<std::int64_t> IndexFrames(std::wstring_view text);
