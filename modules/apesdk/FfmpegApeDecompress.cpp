#include "modules/apesdk/FfmpegApeDecompress.h"

#include "modules/apesdk/StreamInfo.h"
#include "modules/apesdk/FramePool.h"
#include "modules/apesdk/SerialFrameSource.h"
#include "platform/core/WorkThreads.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstring>

namespace {

// More threads than this gain nothing against one demuxer and one writer,
// and each holds frames in memory.
constexpr int kMaxDecodeThreads = 8;
// Frames read ahead per decoding thread: one being decoded, one waiting.
constexpr std::size_t kFramesAheadPerThread = 2;

}  // namespace

// The source and its threads go before the demuxer they read.
FfmpegApeDecompress::~FfmpegApeDecompress() { source_.reset(); }

int FfmpegApeDecompress::Open(const std::string& utf8Path)
{
    if (!demuxer_.Open(utf8Path))
        return ERROR_INVALID_INPUT_FILE;
    const AVStream* stream = demuxer_.Stream();
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

    firstDecoder_ = OpenDecoder();
    return firstDecoder_ ? ERROR_SUCCESS : ERROR_UNSUPPORTED_FILE_TYPE;
}

std::unique_ptr<FrameDecoder> FfmpegApeDecompress::OpenDecoder() const
{
    const AVStream* stream = demuxer_.Stream();
    auto decoder = std::make_unique<FrameDecoder>();
    if (!decoder->Open(stream->codecpar, stream->time_base, wave_.nChannels, blockAlign_ / wave_.nChannels))
        return nullptr;
    return decoder;
}

std::unique_ptr<FrameSource> FfmpegApeDecompress::MakeSource()
{
    int threads = std::min(win::RowThreads(), kMaxDecodeThreads);
    std::vector<std::unique_ptr<FrameDecoder>> decoders;
    decoders.push_back(std::move(firstDecoder_));
    for (int i = 1; i < threads; ++i) {
        auto decoder = OpenDecoder();
        if (!decoder)
            break;  // fewer threads, same bytes
        decoders.push_back(std::move(decoder));
    }
    if (decoders.size() == 1)
        return std::make_unique<SerialFrameSource>(demuxer_, std::move(decoders.front()));
    std::size_t ahead = decoders.size() * kFramesAheadPerThread;
    return std::make_unique<FramePool>(demuxer_, std::move(decoders), ahead);
}

bool FfmpegApeDecompress::NextFrame()
{
    if (!source_)
        source_ = MakeSource();
    if (!source_->Next(frame_))
        return false;
    nextEvent_ = 0;
    nextPcm_ = 0;
    if (syncAfterSeek_ && frame_.hasPts) {
        decodedBlock_ = frame_.pts;
        syncAfterSeek_ = false;
    }
    return true;
}

// Replays the frame's events in order, exactly as a decoder working chunk
// by chunk meets them.
bool FfmpegApeDecompress::DecodeMore()
{
    while (!inputEnded_) {
        if (nextEvent_ == frame_.events.size()) {
            inputEnded_ = !NextFrame();
            continue;
        }
        const DecodedFrame::Event& event = frame_.events[nextEvent_++];
        if (event.error != ERROR_SUCCESS) {
            KeepError(event.error);
            continue;
        }
        std::int64_t first = decodedBlock_;
        decodedBlock_ += event.blocks;
        std::size_t at = nextPcm_;
        if (event.convertible)
            nextPcm_ += std::size_t(event.blocks) * std::size_t(blockAlign_);
        int skip = static_cast<int>(std::clamp<std::int64_t>(discardUntil_ - first, 0, event.blocks));
        if (skip == event.blocks)
            continue;
        if (!event.convertible) {
            KeepError(ERROR_UNSUPPORTED_FILE_TYPE);
            continue;
        }
        pending_ = frame_.pcm.data() + at + std::size_t(skip) * std::size_t(blockAlign_);
        pendingBytes_ = std::size_t(event.blocks - skip) * std::size_t(blockAlign_);
        return true;
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
        if (pendingBytes_ == 0 && !DecodeMore())
            break;
        std::int64_t take = std::min<std::int64_t>(want - done, static_cast<std::int64_t>(PendingBlocks()));
        std::size_t bytes = static_cast<std::size_t>(take) * std::size_t(blockAlign_);
        std::memcpy(buffer + done * blockAlign_, pending_, bytes);
        pending_ += bytes;
        pendingBytes_ -= bytes;
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
    std::int64_t pendingEnd = currentBlock_ + static_cast<std::int64_t>(PendingBlocks());
    if (block > currentBlock_ && block <= pendingEnd) {
        std::size_t bytes = static_cast<std::size_t>(block - currentBlock_) * std::size_t(blockAlign_);
        pending_ += bytes;
        pendingBytes_ -= bytes;
        currentBlock_ = block;
        return ERROR_SUCCESS;
    }
    if (!demuxer_.Seek(block))
        return ERROR_IO_READ;
    if (source_)
        source_->Restart();
    else
        firstDecoder_->Flush();
    frame_.Clear();
    nextEvent_ = nextPcm_ = 0;
    pending_ = nullptr;
    pendingBytes_ = 0;
    inputEnded_ = false;
    syncAfterSeek_ = true;
    decodedBlock_ = 0;
    discardUntil_ = block;
    currentBlock_ = block;
    return ERROR_SUCCESS;
}

std::intptr_t FfmpegApeDecompress::GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1, std::intptr_t)
{
    return StreamInfo{wave_, blockAlign_, totalBlocks_, currentBlock_}.Answer(field, param1);
}
