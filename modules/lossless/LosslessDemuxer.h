// An FFmpeg demuxer on one sound file, chosen by what the file holds (see
// SourceSniffer.h) and never one that would open other files or URLs
// (playlists, concatenation lists): only the file itself is read.
#pragma once

#include "modules/apesdk/FfmpegDemuxer.h"

#include <string>

class LosslessDemuxer : public FfmpegDemuxer {
public:
    // `demuxer` null: let FFmpeg recognise the file among the sound
    // containers. False when it cannot be opened or holds no audio stream.
    bool Open(const std::string& utf8Path, const char* demuxer);
};
