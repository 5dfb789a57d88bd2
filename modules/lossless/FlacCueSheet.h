// A FLAC CUESHEET metadata block written out as CUE sheet text: the tracks
// and their index points, at CD-frame times from the block's sample
// offsets, in a sheet whose FILE entry names the FLAC file itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `block` is the block's body; `sampleRate` the stream's (44100 for a CD).
// Empty when the block is malformed or holds no track.
std::string FlacCueSheetText(const std::vector<unsigned char>& block, std::uint32_t sampleRate,
                             const std::string& fileName);
