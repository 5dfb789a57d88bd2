#include "modules/apesdk/FrameDecoder.h"

#include "modules/apesdk/ApeDecompress.h"
#include "modules/apesdk/PcmInterleave.h"

#include <cstdint>

extern "C" {
#include <libavcodec/avcodec.h>
}

FrameDecoder::~FrameDecoder()
{
    av_frame_free(&frame_);
    avcodec_free_context(&codec_);
}

bool FrameDecoder::Open(const AVCodecParameters* parameters, const AVRational& timeBase, int channels,
                        int bytesPerSample)
{
    const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
    codec_ = decoder ? avcodec_alloc_context3(decoder) : nullptr;
    if (!codec_ || avcodec_parameters_to_context(codec_, parameters) < 0)
        return false;
    codec_->pkt_timebase = timeBase;
    if (avcodec_open2(codec_, decoder, nullptr) < 0)
        return false;
    frame_ = av_frame_alloc();
    channels_ = channels;
    bytesPerSample_ = bytesPerSample;
    return frame_ != nullptr;
}

namespace {

// No encoder writes frames longer than this (the extra-high level's); a
// damaged header can claim millions of blocks for one frame, which the
// library would decode, from a few bytes, into tens of megabytes of noise.
constexpr std::uint32_t kMaxFrameBlocks = 73728 * 4;

// The demuxer puts the frame's block count, little-endian, in front of
// every packet it hands out.
std::uint32_t FrameBlocks(const AVPacket* packet)
{
    if (packet->size < 4)
        return 0;
    const std::uint8_t* p = packet->data;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

void FrameDecoder::Decode(const AVPacket* packet, DecodedFrame& out, const std::atomic<bool>* cancel)
{
    if (FrameBlocks(packet) > kMaxFrameBlocks) {
        out.events.push_back({0, false, ERROR_DECOMPRESSING_FRAME});
        return;
    }
    int sent = avcodec_send_packet(codec_, packet);
    if (sent < 0 && sent != AVERROR(EAGAIN))
        out.events.push_back({0, false, ERROR_DECOMPRESSING_FRAME});  // damaged: the rest goes on
    Receive(out, cancel);
}

void FrameDecoder::Drain(DecodedFrame& out)
{
    avcodec_send_packet(codec_, nullptr);
    Receive(out, nullptr);
}

void FrameDecoder::Flush() { avcodec_flush_buffers(codec_); }

// Takes chunks until the context wants more input (or has ended after a
// drain). An error is noted and the context asked again: it goes on with
// what follows the damage.
void FrameDecoder::Receive(DecodedFrame& out, const std::atomic<bool>* cancel)
{
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return;
        int got = avcodec_receive_frame(codec_, frame_);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
            return;
        if (got < 0) {
            out.events.push_back({0, false, ERROR_DECOMPRESSING_FRAME});
            continue;
        }
        bool convertible = AppendInterleaved(frame_, 0, channels_, bytesPerSample_, out.pcm);
        out.events.push_back({frame_->nb_samples, convertible, ERROR_SUCCESS});
        av_frame_unref(frame_);
    }
}
