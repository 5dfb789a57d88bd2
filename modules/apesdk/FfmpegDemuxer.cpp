#include "modules/apesdk/FfmpegDemuxer.h"

extern "C" {
#include <libavformat/avformat.h>
}

FfmpegDemuxer::~FfmpegDemuxer() { avformat_close_input(&format_); }

bool FfmpegDemuxer::FindAudioStream()
{
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    return stream_ >= 0;
}

const AVStream* FfmpegDemuxer::Stream() const { return format_->streams[stream_]; }

FfmpegDemuxer::ReadResult FfmpegDemuxer::Read(AVPacket* packet)
{
    for (;;) {
        int read = av_read_frame(format_, packet);
        // Only a real end of file ends the stream: anything else would let a
        // file that breaks off half-way pass for a whole one.
        if (read == AVERROR_EOF)
            return ReadResult::End;
        if (read < 0)
            return ReadResult::Failed;
        if (packet->stream_index == stream_)
            return ReadResult::Packet;
        av_packet_unref(packet);
    }
}

bool FfmpegDemuxer::Seek(std::int64_t timestamp)
{
    return av_seek_frame(format_, stream_, timestamp, AVSEEK_FLAG_BACKWARD) >= 0;
}
