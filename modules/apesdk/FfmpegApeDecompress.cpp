#include "modules/apesdk/FfmpegApeDecompress.h"

#include "modules/apesdk/PcmInterleave.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstring>

namespace {

// The largest frame (294912 blocks of two 32-bit channels) is under 3 MB.
constexpr std::size_t kMaxLibraryAllocation = 32u << 20;

}  // namespace

FfmpegApeDecompress::~FfmpegApeDecompress()
{
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

int FfmpegApeDecompress::Open(const std::string& utf8Path)
{
    // A damaged header can name frames of gigabytes and tables of millions of
    // entries, which the library would allocate as asked; no real file needs
    // a single block of this size.
    av_max_alloc(kMaxLibraryAllocation);
    // Only Monkey's Audio: left to guess, the library would also take a
    // playlist or a concatenation list and open the files it names.
    if (avformat_open_input(&format_, utf8Path.c_str(), av_find_input_format("ape"), nullptr) < 0)
        return ERROR_INVALID_INPUT_FILE;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream_ < 0)
        return ERROR_INVALID_INPUT_FILE;
    AVStream* stream = format_->streams[stream_];
    const AVCodecParameters* par = stream->codecpar;
    if (par->codec_id != AV_CODEC_ID_APE)
        return ERROR_UNSUPPORTED_FILE_TYPE;

    int bits = par->bits_per_raw_sample ? par->bits_per_raw_sample : par->bits_per_coded_sample;
    int channels = par->ch_layout.nb_channels;
    if (bits % 8 != 0 || bits < 8 || bits > 32 || channels < 1 || channels > 32 || par->sample_rate <= 0)
        return ERROR_INVALID_INPUT_FILE;
    if (FillWaveFormatEx(&wave_, par->sample_rate, bits, channels) != 0)
        return ERROR_INVALID_INPUT_FILE;
    blockAlign_ = wave_.nBlockAlign;
    totalBlocks_ = stream->duration > 0 ? stream->duration : 0;

    const AVCodec* decoder = avcodec_find_decoder(par->codec_id);
    codec_ = decoder ? avcodec_alloc_context3(decoder) : nullptr;
    if (!codec_ || avcodec_parameters_to_context(codec_, par) < 0)
        return ERROR_UNSUPPORTED_FILE_TYPE;
    codec_->pkt_timebase = stream->time_base;
    if (avcodec_open2(codec_, decoder, nullptr) < 0)
        return ERROR_UNSUPPORTED_FILE_TYPE;
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    return packet_ && frame_ ? ERROR_SUCCESS : ERROR_BAD_PARAMETER;
}

bool FfmpegApeDecompress::ReadPacket()
{
    for (;;) {
        if (int read = av_read_frame(format_, packet_); read < 0) {
            // Not the end: a frame that cannot be read (cut short, or larger
            // than any real frame) is damage, not a clean end of the stream.
            if (read != AVERROR_EOF)
                KeepError(ERROR_DECOMPRESSING_FRAME);
            return false;
        }
        if (packet_->stream_index == stream_) {
            if (syncAfterSeek_ && packet_->pts != AV_NOPTS_VALUE) {
                decodedBlock_ = packet_->pts;
                syncAfterSeek_ = false;
            }
            return true;
        }
        av_packet_unref(packet_);
    }
}

bool FfmpegApeDecompress::DecodeMore()
{
    while (!decoderDrained_) {
        int got = avcodec_receive_frame(codec_, frame_);
        if (got == 0) {
            std::int64_t first = decodedBlock_;
            decodedBlock_ += frame_->nb_samples;
            int skip = static_cast<int>(std::clamp<std::int64_t>(discardUntil_ - first, 0, frame_->nb_samples));
            if (skip < frame_->nb_samples &&
                !AppendInterleaved(frame_, skip, wave_.nChannels, blockAlign_ / wave_.nChannels, pending_))
                KeepError(ERROR_UNSUPPORTED_FILE_TYPE);
            av_frame_unref(frame_);
            if (PendingBlocks() > 0)
                return true;
            continue;
        }
        if (got == AVERROR_EOF) {
            decoderDrained_ = true;
            break;
        }
        if (got != AVERROR(EAGAIN)) {
            KeepError(ERROR_DECOMPRESSING_FRAME);
            continue;
        }
        if (inputEnded_) {
            decoderDrained_ = true;  // a decoder that neither drains nor ends
            break;
        }
        if (!ReadPacket()) {
            inputEnded_ = true;
            avcodec_send_packet(codec_, nullptr);
            continue;
        }
        int sent = avcodec_send_packet(codec_, packet_);
        av_packet_unref(packet_);
        if (sent < 0 && sent != AVERROR(EAGAIN))
            KeepError(ERROR_DECOMPRESSING_FRAME);  // damaged frame: go on with the next
    }
    return false;
}

int FfmpegApeDecompress::GetData(unsigned char* buffer, int blocks, int* retrieved)
{
    if (retrieved)
        *retrieved = 0;
    if (!buffer || blocks < 0 || !retrieved)
        return ERROR_BAD_PARAMETER;
    // Never run past the length the header promises, whatever the demuxer
    // still finds in a damaged file.
    std::int64_t want = std::min<std::int64_t>(blocks, std::max<std::int64_t>(0, totalBlocks_ - currentBlock_));
    std::int64_t done = 0;
    while (done < want) {
        if (PendingBlocks() == 0) {
            pending_.clear();
            pendingPos_ = 0;
            if (!DecodeMore())
                break;
        }
        std::int64_t take = std::min<std::int64_t>(want - done, static_cast<std::int64_t>(PendingBlocks()));
        std::size_t bytes = static_cast<std::size_t>(take) * std::size_t(blockAlign_);
        std::memcpy(buffer + done * blockAlign_, pending_.data() + pendingPos_, bytes);
        pendingPos_ += bytes;
        done += take;
    }
    currentBlock_ += done;
    *retrieved = static_cast<int>(done);
    return firstError_;
}

int FfmpegApeDecompress::Seek(std::int64_t block)
{
    if (block < 0)
        return ERROR_BAD_PARAMETER;
    block = std::min(block, totalBlocks_);
    if (block == currentBlock_)
        return ERROR_SUCCESS;
    // Within what is already decoded: just move the read position.
    std::int64_t pendingFirst = currentBlock_;
    std::int64_t pendingEnd = currentBlock_ + static_cast<std::int64_t>(PendingBlocks());
    if (block > pendingFirst && block <= pendingEnd) {
        pendingPos_ += static_cast<std::size_t>(block - pendingFirst) * std::size_t(blockAlign_);
        currentBlock_ = block;
        return ERROR_SUCCESS;
    }
    if (av_seek_frame(format_, stream_, block, AVSEEK_FLAG_BACKWARD) < 0)
        return ERROR_IO_READ;
    avcodec_flush_buffers(codec_);
    pending_.clear();
    pendingPos_ = 0;
    inputEnded_ = false;
    decoderDrained_ = false;
    syncAfterSeek_ = true;
    decodedBlock_ = 0;
    discardUntil_ = block;
    currentBlock_ = block;
    return ERROR_SUCCESS;
}

std::int64_t FfmpegApeDecompress::Milliseconds(std::int64_t block) const
{
    return block * 1000 / wave_.nSamplesPerSec;
}

std::intptr_t FfmpegApeDecompress::GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1, std::intptr_t)
{
    switch (field) {
    case APE_INFO_BLOCK_ALIGN: return blockAlign_;
    case APE_INFO_LENGTH_MS:
    case APE_DECOMPRESS_LENGTH_MS: return static_cast<std::intptr_t>(Milliseconds(totalBlocks_));
    case APE_INFO_WAVEFORMATEX:
        if (!param1)
            return ERROR_BAD_PARAMETER;
        std::memcpy(reinterpret_cast<WAVEFORMATEX*>(param1), &wave_, sizeof wave_);
        return ERROR_SUCCESS;
    case APE_DECOMPRESS_CURRENT_MS: return static_cast<std::intptr_t>(Milliseconds(currentBlock_));
    case APE_DECOMPRESS_TOTAL_BLOCKS: return static_cast<std::intptr_t>(totalBlocks_);
    }
    return 0;
}
