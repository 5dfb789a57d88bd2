#include "modules/lossless/LosslessDecompress.h"

#include "modules/apesdk/StreamInfo.h"
#include "modules/apesdk/PcmInterleave.h"
#include "modules/lossless/CodecPolicy.h"
#include "modules/lossless/EightBitPcm.h"
#include "modules/lossless/SampleWidth.h"
#include "modules/lossless/WavPackHybrid.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMaxChannels = 32;
// A decoder that fails this many frames in a row is given up on.
constexpr int kMaxErrorsInARow = 64;

}  // namespace

LosslessDecompress::~LosslessDecompress()
{
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    avcodec_free_context(&codec_);
}

int LosslessDecompress::Open(const std::string& utf8Path, const char* demuxer, std::string& reason)
{
    if (!demuxer_.Open(utf8Path, demuxer)) {
        reason = "not a readable sound file";
        return ERROR_INVALID_INPUT_FILE;
    }
    const AVStream* stream = demuxer_.Stream();
    switch (JudgeCodec(stream->codecpar->codec_id, reason)) {
    case CodecVerdict::Lossy: return ERROR_LOSSY_SOURCE;
    case CodecVerdict::Unsupported: return ERROR_UNSUPPORTED_FILE_TYPE;
    case CodecVerdict::Lossless: break;
    }
    if (stream->codecpar->codec_id == AV_CODEC_ID_WAVPACK)
        lossyPart_ = IsWavPackHybrid(utf8Path);
    if (int code = OpenDecoder(reason); code != ERROR_SUCCESS)
        return code;

    int rate = stream->codecpar->sample_rate;
    AVRational base = stream->time_base;
    if (base.num != 1 || base.den <= 0 || base.den % rate != 0) {
        // Matroska's milliseconds: neither the length nor a track's start
        // could be known to the sample without decoding everything first.
        reason = "this container times its sound too coarsely to cut tracks at the sample";
        return ERROR_UNSUPPORTED_FILE_TYPE;
    }
    startTimestamp_ = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    if (stream->duration > 0 && stream->duration != AV_NOPTS_VALUE)
        totalBlocks_ = av_rescale_q(stream->duration, base, AVRational{1, rate});
    else if (!CountBlocks()) {
        reason = "the length of the sound cannot be read";
        return ERROR_INVALID_INPUT_FILE;
    }
    return LearnFormat(reason);
}

int LosslessDecompress::OpenDecoder(std::string& reason)
{
    const AVStream* stream = demuxer_.Stream();
    const AVCodecParameters* par = stream->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(par->codec_id);
    channels_ = par->ch_layout.nb_channels;
    if (channels_ < 1 || channels_ > kMaxChannels || par->sample_rate <= 0) {
        reason = "not a readable sound file";
        return ERROR_INVALID_INPUT_FILE;
    }
    codec_ = decoder ? avcodec_alloc_context3(decoder) : nullptr;
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!codec_ || !frame_ || !packet_ || avcodec_parameters_to_context(codec_, par) < 0) {
        reason = "this FFmpeg cannot decode the file's codec";
        return ERROR_UNSUPPORTED_FILE_TYPE;
    }
    codec_->pkt_timebase = stream->time_base;
    // A frame whose checksum fails is damage to report, not samples to
    // pass on as if they were the file's.
    codec_->err_recognition |= AV_EF_CRCCHECK;
    codec_->thread_count = 1;
    if (avcodec_open2(codec_, decoder, nullptr) < 0) {
        reason = "this FFmpeg cannot decode the file's codec";
        return ERROR_UNSUPPORTED_FILE_TYPE;
    }
    return ERROR_SUCCESS;
}

// Some files do not state their length (a FLAC file written to a pipe):
// the packets' own durations add up to it.
bool LosslessDecompress::CountBlocks()
{
    const AVStream* stream = demuxer_.Stream();
    std::int64_t duration = 0;
    for (;;) {
        LosslessDemuxer::ReadResult read = demuxer_.Read(packet_);
        if (read != LosslessDemuxer::ReadResult::Packet)
            break;
        duration += std::max<std::int64_t>(0, packet_->duration);
        av_packet_unref(packet_);
    }
    totalBlocks_ = av_rescale_q(duration, stream->time_base, AVRational{1, stream->codecpar->sample_rate});
    return totalBlocks_ > 0 && demuxer_.Seek(startTimestamp_);
}

// The width of the samples is the decoder's to say, and some say it only
// with their first frame: that frame is decoded now and kept for GetData.
int LosslessDecompress::LearnFormat(std::string& reason)
{
    AVSampleFormat format = codec_->sample_fmt;
    bool gotFrame = ReceiveFrame();
    if (gotFrame)
        format = static_cast<AVSampleFormat>(frame_->format);
    else if (totalBlocks_ > 0 || format == AV_SAMPLE_FMT_NONE) {
        reason = "the file holds no sound that can be decoded";
        return firstError_ != ERROR_SUCCESS ? firstError_ : ERROR_INVALID_INPUT_FILE;
    }
    SampleWidth width = WidthOf(format, codec_->bits_per_raw_sample, reason);
    if (width.bits == 0)
        return ERROR_UNSUPPORTED_FILE_TYPE;
    eightInSixteen_ = width.eightInSixteen;
    sampleFormat_ = format;
    if (FillWaveFormatEx(&wave_, demuxer_.Stream()->codecpar->sample_rate, width.bits, channels_) != 0) {
        reason = "not a readable sound file";
        return ERROR_INVALID_INPUT_FILE;
    }
    blockAlign_ = wave_.nBlockAlign;
    if (gotFrame)
        TakeFrame();
    return ERROR_SUCCESS;
}

std::int64_t LosslessDecompress::BlockOf(std::int64_t timestamp) const
{
    return av_rescale_q(timestamp - startTimestamp_, demuxer_.Stream()->time_base,
                        AVRational{1, static_cast<int>(wave_.nSamplesPerSec)});
}

bool LosslessDecompress::ReceiveFrame()
{
    int errorsInARow = 0;
    for (;;) {
        int got = avcodec_receive_frame(codec_, frame_);
        if (got == 0)
            return true;
        if (got == AVERROR_EOF)
            return false;
        if (got != AVERROR(EAGAIN)) {
            // Damage: noted, and decoding goes on with what follows it.
            KeepError(ERROR_DECOMPRESSING_FRAME);
            if (++errorsInARow > kMaxErrorsInARow)
                return false;
            continue;
        }
        if (drained_)
            return false;
        LosslessDemuxer::ReadResult read = demuxer_.Read(packet_);
        if (read == LosslessDemuxer::ReadResult::Packet) {
            int sent = avcodec_send_packet(codec_, packet_);
            av_packet_unref(packet_);
            if (sent < 0 && sent != AVERROR(EAGAIN)) {
                KeepError(ERROR_DECOMPRESSING_FRAME);
                if (++errorsInARow > kMaxErrorsInARow)
                    return false;
            }
            continue;
        }
        if (read == LosslessDemuxer::ReadResult::Failed)
            KeepError(ERROR_IO_READ);
        avcodec_send_packet(codec_, nullptr);  // what the decoder still holds comes next
        drained_ = true;
    }
}

void LosslessDecompress::TakeFrame()
{
    if (syncAfterSeek_) {
        syncAfterSeek_ = false;
        if (frame_->pts != AV_NOPTS_VALUE)
            decodedBlock_ = BlockOf(frame_->pts);
        else
            lostPosition_ = true;
    }
    std::int64_t first = decodedBlock_;
    int count = frame_->nb_samples;
    decodedBlock_ += count;
    if (frame_->format != sampleFormat_ || frame_->ch_layout.nb_channels != channels_ ||
        (frame_->sample_rate > 0 && std::uint32_t(frame_->sample_rate) != wave_.nSamplesPerSec)) {
        KeepError(ERROR_UNSUPPORTED_FILE_TYPE);  // a stream that changes its format half-way
        return;
    }
    int skip = static_cast<int>(std::clamp<std::int64_t>(discardUntil_ - first, 0, count));
    if (skip == count)
        return;
    if (pcmAt_ == pcm_.size()) {
        pcm_.clear();
        pcmAt_ = 0;
    }
    bool appended = eightInSixteen_ ? AppendEightBitFromS16(frame_, skip, channels_, pcm_)
                                    : AppendInterleaved(frame_, skip, channels_, blockAlign_ / channels_, pcm_);
    if (!appended)
        KeepError(ERROR_UNSUPPORTED_FILE_TYPE);
}

bool LosslessDecompress::DecodeMore()
{
    while (!inputEnded_ && PendingBlocks() == 0) {
        if (!ReceiveFrame()) {
            inputEnded_ = true;
            break;
        }
        TakeFrame();
        av_frame_unref(frame_);
    }
    return PendingBlocks() > 0;
}

int LosslessDecompress::GetData(unsigned char* buffer, int blocks, int* retrieved)
{
    if (retrieved)
        *retrieved = 0;
    if (!buffer || blocks < 0 || !retrieved)
        return ERROR_BAD_PARAMETER;
    // Never past the length the header states, whatever else the file holds.
    std::int64_t want = std::min<std::int64_t>(blocks, std::max<std::int64_t>(0, totalBlocks_ - currentBlock_));
    std::int64_t done = 0;
    while (done < want) {
        if (PendingBlocks() == 0 && !DecodeMore()) {
            // The stream broke off before its stated length: a truncated
            // file, which must not pass for a whole one.
            KeepError(ERROR_IO_READ);
            break;
        }
        std::int64_t take = std::min<std::int64_t>(want - done, static_cast<std::int64_t>(PendingBlocks()));
        std::size_t bytes = static_cast<std::size_t>(take) * std::size_t(blockAlign_);
        std::memcpy(buffer + done * blockAlign_, pcm_.data() + pcmAt_, bytes);
        pcmAt_ += bytes;
        done += take;
    }
    currentBlock_ += done;
    *retrieved = static_cast<int>(done);
    return firstError_;
}

bool LosslessDecompress::SeekInput(std::int64_t block)
{
    std::int64_t timestamp = startTimestamp_ + av_rescale_q(block, AVRational{1, static_cast<int>(wave_.nSamplesPerSec)},
                                                            demuxer_.Stream()->time_base);
    if (!demuxer_.Seek(timestamp))
        return false;
    avcodec_flush_buffers(codec_);
    pcm_.clear();
    pcmAt_ = 0;
    drained_ = inputEnded_ = false;
    decodedBlock_ = 0;
    syncAfterSeek_ = true;
    discardUntil_ = block;
    return true;
}

int LosslessDecompress::Seek(std::int64_t block)
{
    if (block < 0)
        return ERROR_BAD_PARAMETER;
    block = std::min(block, totalBlocks_);
    if (block == currentBlock_)
        return ERROR_SUCCESS;
    // Within what is already decoded: just move the read position.
    if (block > currentBlock_ && block <= currentBlock_ + static_cast<std::int64_t>(PendingBlocks())) {
        pcmAt_ += static_cast<std::size_t>(block - currentBlock_) * std::size_t(blockAlign_);
        currentBlock_ = block;
        return ERROR_SUCCESS;
    }
    // The demuxer may fail to seek, land after the target (an index that
    // is off), or on a frame that does not say where it is (Ogg pages time
    // only their last packet): then the only exact way there is from the
    // start.
    bool landed = SeekInput(block);
    if (landed) {
        lostPosition_ = false;
        bool decoded = DecodeMore();
        landed = !lostPosition_ && !(decoded && decodedBlock_ - static_cast<std::int64_t>(PendingBlocks()) > block);
    }
    if (!landed) {
        if (!SeekInput(0)) {
            // Nothing read from here on could be trusted to be in place.
            KeepError(ERROR_IO_READ);
            pcm_.clear();
            pcmAt_ = 0;
            inputEnded_ = true;
            currentBlock_ = block;
            return ERROR_IO_READ;
        }
        syncAfterSeek_ = false;
    }
    discardUntil_ = block;
    currentBlock_ = block;
    return ERROR_SUCCESS;
}

std::intptr_t LosslessDecompress::GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1, std::intptr_t)
{
    if (field == SOURCE_INFO_LOSSY_PART)
        return lossyPart_ ? 1 : 0;
    return StreamInfo{wave_, blockAlign_, totalBlocks_, currentBlock_}.Answer(field, param1);
}
