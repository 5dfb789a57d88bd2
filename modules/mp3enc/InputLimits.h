// What PCM the MP3 encoder can take, and in words why it cannot take the
// rest. The module refuses these inputs itself; a program asks first so it
// can tell its user why a row cannot become an MP3 file.
#pragma once

#include <cstdint>
#include <string>

namespace mp3_limits {

// MP3's own lowest rate. Below it LAME has to upsample by more than it can
// hold in its frame buffer: it asserts or writes past its buffers (seen
// from about 1000 Hz down), taking the whole process with it.
constexpr std::uint32_t kLowestRate = 8000;
// LAME brings any rate up to this down to an MP3 rate (48000 at most).
constexpr std::uint32_t kHighestRate = 768000;

}  // namespace mp3_limits

// "" when the encoder takes PCM of this rate, channel count and width
// (8-bit unsigned or 16/24/32-bit signed), else the reason for a user, as
// "sample rate 1000 Hz is below what MP3 can hold".
std::wstring Mp3InputProblem(std::uint32_t sampleRate, unsigned channels, unsigned bitsPerSample);
