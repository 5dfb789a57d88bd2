// FFmpeg's Monkey's Audio demuxer on one file; its timestamps are blocks.
#pragma once

#include "modules/apesdk/FfmpegDemuxer.h"

#include <string>

class ApeDemuxer : public FfmpegDemuxer {
public:
    // False when the file cannot be opened or holds no audio stream.
    bool Open(const std::string& utf8Path);
};
