// IAPEDecompress on FFmpeg's Monkey's Audio demuxer and decoder. Frames come
// decoded from a FrameSource, chunk by chunk as the decoder made them, and
// GetData drains them; a seek goes to the frame holding the target and
// discards the blocks before it. Whether frames are decoded on the caller's
// thread or ahead on a pool, the caller gets the same bytes and the same
// result codes at the same calls.
#pragma once

#include "modules/apesdk/ApeDecompress.h"
#include "modules/apesdk/ApeDemuxer.h"
#include "modules/apesdk/DecodedFrame.h"
#include "modules/apesdk/FrameDecoder.h"
#include "modules/apesdk/FrameSource.h"

#include <memory>
#include <string>

class FfmpegApeDecompress : public IAPEDecompress {
public:
    FfmpegApeDecompress() = default;
    ~FfmpegApeDecompress() override;

    // ERROR_SUCCESS or the reason the file cannot be decoded.
    int Open(const std::string& utf8Path);

    int GetData(unsigned char* buffer, int blocks, int* retrieved) override;
    int Seek(std::int64_t block) override;
    std::intptr_t GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1,
                          std::intptr_t param2) override;

private:
    // Makes the next decoded chunk with blocks to deliver pending; false at
    // the end.
    bool DecodeMore();
    bool NextFrame();
    // Serial with one row thread, else a pool; made when decoding starts, so
    // that a file opened only for its properties starts no threads.
    std::unique_ptr<FrameSource> MakeSource();
    std::unique_ptr<FrameDecoder> OpenDecoder() const;
    // The first error stays: a later clean frame does not make a damaged
    // stream whole.
    void KeepError(int error)
    {
        if (firstError_ == ERROR_SUCCESS)
            firstError_ = error;
    }
    std::size_t PendingBlocks() const { return pendingBytes_ / std::size_t(blockAlign_); }

    ApeDemuxer demuxer_;
    std::unique_ptr<FrameDecoder> firstDecoder_;  // opened with the file, until decoding starts
    std::unique_ptr<FrameSource> source_;

    WAVEFORMATEX wave_;
    int blockAlign_ = 0;
    std::int64_t totalBlocks_ = 0;

    DecodedFrame frame_;               // the frame being delivered
    std::size_t nextEvent_ = 0;        // its first event not yet replayed
    std::size_t nextPcm_ = 0;          // where that event's PCM starts
    const unsigned char* pending_ = nullptr;  // decoded, not yet delivered
    std::size_t pendingBytes_ = 0;
    std::int64_t currentBlock_ = 0;       // block that GetData delivers next
    std::int64_t decodedBlock_ = 0;       // block of the next decoded sample
    std::int64_t discardUntil_ = 0;       // after a seek: drop decoded blocks below this
    bool syncAfterSeek_ = false;          // next frame's timestamp gives decodedBlock_
    bool inputEnded_ = false;
    int firstError_ = ERROR_SUCCESS;
};
