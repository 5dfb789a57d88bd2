// 8-bit sources that a decoder hands out as 16-bit samples with the bits in
// the top byte (WavPack's): back to the file's own width, unsigned as WAV
// files hold 8-bit samples.
#pragma once

#include <vector>

struct AVFrame;

// Appends samples [first, frame->nb_samples) of an S16 or S16P frame as
// interleaved unsigned bytes. False for any other sample format.
bool AppendEightBitFromS16(const AVFrame* frame, int first, int channels, std::vector<unsigned char>& out);
