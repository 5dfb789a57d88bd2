// Checks for a stream joined from segments, made from the outside: strict
// decodes by two independent decoders, the residual of a pure tone, and the
// information frame read back and recomputed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace mp3test {

struct StrictDecode {
    std::vector<float> samples;  // interleaved, as ffmpeg decodes the file
    int channels = 0;
    std::string ffmpegSays;      // ffmpeg's warnings and errors
    std::size_t mpg123Frames = 0;
    std::string mpg123Says;
};
StrictDecode DecodeStrictly(const std::filesystem::path& mp3);

// Level in dB of what is left of each 1152-sample window once the sine of
// `hz` that best fits the whole signal (amplitude, phase, offset) is taken
// away; the louder channel counts.
std::vector<double> ResidualLevels(const std::vector<float>& interleaved, int channels, double hz, int rate);

struct InfoTag {
    bool found = false;
    std::uint32_t frames = 0, bytes = 0, musicLength = 0;
    int delay = 0, padding = 0;
    std::uint16_t musicCrc = 0, tagCrc = 0;
    // Recomputed from the file: frames after the information frame, the
    // file's size, the CRCs of the audio frames and of the tag.
    std::uint32_t actualFrames = 0, actualBytes = 0;
    std::uint16_t actualMusicCrc = 0, actualTagCrc = 0;
};
InfoTag ReadInfoTag(const std::filesystem::path& mp3);

}  // namespace mp3test
