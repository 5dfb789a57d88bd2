// WavPack's hybrid mode splits a file in two: a lossy .wv and a correction
// file (.wvc) that makes it whole again. FFmpeg reads the .wv alone, so a
// hybrid file decodes to its lossy part whether or not the correction file
// lies beside it; the decoder says so instead of passing it off as lossless.
#pragma once

#include <string>

// True when the first block of the WavPack file at `utf8Path` is hybrid.
bool IsWavPackHybrid(const std::string& utf8Path);
