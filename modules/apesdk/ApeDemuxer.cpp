#include "modules/apesdk/ApeDemuxer.h"

extern "C" {
#include <libavformat/avformat.h>
}

ApeDemuxer::~ApeDemuxer() { avformat_close_input(&format_); }

namespace {

// The largest frame (294912 blocks of two 32-bit channels) is under 3 MB.
constexpr std::size_t kMaxLibraryAllocation = 32u << 20;

}  // namespace

bool ApeDemuxer::Open(const std::string& utf8Path)
{
    // A damaged header can name frames of gigabytes and tables of millions of
    // entries, which the library would allocate as asked; no real file needs
    // a single block of this size.
    av_max_alloc(kMaxLibraryAllocation);
    // Only Monkey's Audio: left to guess, the library would also take a
    // playlist or a concatenation list and open the files it names.
    if (avformat_open_input(&format_, utf8Path.c_str(), av_find_input_format("ape"), nullptr) < 0)
        return false;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    return stream_ >= 0;
}

const AVStream* ApeDemuxer::Stream() const { return format_->streams[stream_]; }

ApeDemuxer::ReadResult ApeDemuxer::Read(AVPacket* packet)
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

bool ApeDemuxer::Seek(std::int64_t block)
{
    return av_seek_frame(format_, stream_, block, AVSEEK_FLAG_BACKWARD) >= 0;
}
