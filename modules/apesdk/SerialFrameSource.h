// Decodes each frame on the reader's thread when it is asked for: the plain
// path, used when a row may have one thread only.
#pragma once

#include "modules/apesdk/ApeDemuxer.h"
#include "modules/apesdk/FrameDecoder.h"
#include "modules/apesdk/FrameSource.h"

#include <memory>

class SerialFrameSource : public FrameSource {
public:
    SerialFrameSource(ApeDemuxer& demuxer, std::unique_ptr<FrameDecoder> decoder);
    ~SerialFrameSource() override;

    bool Next(DecodedFrame& frame) override;
    void Restart() override;

private:
    ApeDemuxer& demuxer_;
    std::unique_ptr<FrameDecoder> decoder_;
    AVPacket* packet_ = nullptr;
    bool drained_ = false;
};
