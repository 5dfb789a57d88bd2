#include "modules/apesdk/SerialFrameSource.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

SerialFrameSource::SerialFrameSource(ApeDemuxer& demuxer, std::unique_ptr<FrameDecoder> decoder)
    : demuxer_(demuxer), decoder_(std::move(decoder)), packet_(av_packet_alloc())
{
}

SerialFrameSource::~SerialFrameSource() { av_packet_free(&packet_); }

bool SerialFrameSource::Next(DecodedFrame& frame)
{
    frame.Clear();
    if (drained_ || !packet_)
        return false;
    if (!demuxer_.Read(packet_)) {
        // What the context may still hold comes as one last frame.
        drained_ = true;
        decoder_->Drain(frame);
        return !frame.events.empty();
    }
    frame.hasPts = packet_->pts != AV_NOPTS_VALUE;
    frame.pts = packet_->pts;
    decoder_->Decode(packet_, frame);
    av_packet_unref(packet_);
    return true;
}

void SerialFrameSource::Restart()
{
    decoder_->Flush();
    drained_ = false;
}
