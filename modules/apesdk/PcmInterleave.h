// Turns one decoded frame into interleaved little-endian PCM of the file's
// own width.
#pragma once

#include <cstdint>
#include <vector>

struct AVFrame;

// Appends samples [first, frame->nb_samples) of `frame` to `out`.
// `bytesPerSample` is the file's width: 1 (unsigned), 2, 3 or 4 (signed).
// False when the frame's sample format cannot carry that width.
bool AppendInterleaved(const AVFrame* frame, int first, int channels, int bytesPerSample,
                       std::vector<unsigned char>& out);
