// Whether a source's PCM can become an MP3 file at all, asked as soon as the
// source is open: audio the encoder cannot take fails its row with the
// reason before anything is decoded, instead of after a whole decode.
#pragma once

#include "modules/apesdk/WaveFormat.h"

#include <string>

// "" or the reason (see Mp3InputProblem). Sources of more than two
// channels are brought down to stereo before they reach the encoder, so
// only their rate and width count here.
std::wstring Mp3SourceProblem(const WAVEFORMATEX& format);
