// IAPEDecompress on FFmpeg's Monkey's Audio demuxer and decoder. Frames are
// decoded on demand into an interleaved buffer that GetData drains; a seek
// goes to the frame holding the target and discards the blocks before it.
#pragma once

#include "modules/apesdk/ApeDecompress.h"

#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;

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
    // Decodes the next frame into the pending buffer; false at the end.
    bool DecodeMore();
    bool ReadPacket();
    std::int64_t Milliseconds(std::int64_t block) const;
    // The first error stays: a later clean frame does not make a damaged
    // stream whole.
    void KeepError(int error)
    {
        if (firstError_ == ERROR_SUCCESS)
            firstError_ = error;
    }
    std::size_t PendingBlocks() const { return (pending_.size() - pendingPos_) / blockAlign_; }

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int stream_ = -1;

    WAVEFORMATEX wave_;
    int blockAlign_ = 0;
    std::int64_t totalBlocks_ = 0;

    std::vector<unsigned char> pending_;  // decoded, not yet delivered
    std::size_t pendingPos_ = 0;
    std::int64_t currentBlock_ = 0;       // block that GetData delivers next
    std::int64_t decodedBlock_ = 0;       // block of the next decoded sample
    std::int64_t discardUntil_ = 0;       // after a seek: drop decoded blocks below this
    bool syncAfterSeek_ = false;          // next packet's timestamp gives decodedBlock_
    bool inputEnded_ = false;
    bool decoderDrained_ = false;
    int firstError_ = ERROR_SUCCESS;
};
