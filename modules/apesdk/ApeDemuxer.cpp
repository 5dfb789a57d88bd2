#include "modules/apesdk/ApeDemuxer.h"

extern "C" {
#include <libavformat/avformat.h>
}

ApeDemuxer::~ApeDemuxer() { avformat_close_input(&format_); }

bool ApeDemuxer::Open(const std::string& utf8Path)
{
    if (avformat_open_input(&format_, utf8Path.c_str(), nullptr, nullptr) < 0)
        return false;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    return stream_ >= 0;
}

const AVStream* ApeDemuxer::Stream() const { return format_->streams[stream_]; }

bool ApeDemuxer::Read(AVPacket* packet)
{
    for (;;) {
        if (av_read_frame(format_, packet) < 0)
            return false;
        if (packet->stream_index == stream_)
            return true;
        av_packet_unref(packet);
    }
}

bool ApeDemuxer::Seek(std::int64_t block)
{
    return av_seek_frame(format_, stream_, block, AVSEEK_FLAG_BACKWARD) >= 0;
}
