// The metadata blocks of a FLAC stream that can carry a CUE sheet: the
// CUESHEET block (track offsets in samples) and a CUESHEET=... comment in
// the VORBIS_COMMENT block, with the sample rate from STREAMINFO.
#pragma once

#include "modules/lossless/BoundedFile.h"

#include <cstdint>
#include <string>
#include <vector>

struct FlacSheetSources {
    std::uint32_t sampleRate = 0;
    std::vector<unsigned char> cueSheetBlock;  // the block's body, empty when none
    std::string cueSheetComment;               // the comment's value, empty when none
};

// `offset` is where "fLaC" stands. False when it does not.
bool ReadFlacSheetSources(BoundedFile& file, std::int64_t offset, FlacSheetSources& out);
