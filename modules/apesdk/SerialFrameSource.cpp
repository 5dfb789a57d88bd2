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
    ApeDemuxer::ReadResult read = demuxer_.Read(packet_);
    if (read != ApeDemuxer::ReadResult::Packet) {
        // What the context may still hold comes as one last frame, followed
        // by the failure to read on.
        drained_ = true;
        decoder_->Drain(frame);
        if (read == ApeDemuxer::ReadResult::Failed)
            frame.events.push_back(DecodedFrame::ReadFailure());
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
