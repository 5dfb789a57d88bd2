// IAPEDecompress for the lossless formats FFmpeg reads beside Monkey's
// Audio (FLAC, WavPack, TTA, ALAC, TAK, WAV/RF64/W64, AIFF): PCM in the
// file's own width, interleaved, in the file's own channel order; sample-
// exact seeks by decoding from the frame before and discarding.
#pragma once

#include "modules/apesdk/ApeDecompress.h"
#include "modules/lossless/LosslessDemuxer.h"

#include <cstdint>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

class LosslessDecompress : public IAPEDecompress {
public:
    LosslessDecompress() = default;
    ~LosslessDecompress() override;
    LosslessDecompress(const LosslessDecompress&) = delete;
    LosslessDecompress& operator=(const LosslessDecompress&) = delete;

    // ERROR_SUCCESS, or the code with a sentence for users in `reason`.
    // `demuxer` is FFmpeg's name for the container, null to recognise it.
    int Open(const std::string& utf8Path, const char* demuxer, std::string& reason);

    int GetData(unsigned char* buffer, int blocks, int* retrieved) override;
    int Seek(std::int64_t block) override;
    std::intptr_t GetInfo(APE_DECOMPRESS_FIELDS field, std::intptr_t param1, std::intptr_t param2) override;

private:
    int OpenDecoder(std::string& reason);
    int LearnFormat(std::string& reason);
    bool CountBlocks();
    // The next decoded frame in frame_; false once the input has ended.
    bool ReceiveFrame();
    // Makes decoded blocks pending; false at the end.
    bool DecodeMore();
    // Takes frame_'s blocks from discardUntil_ on into the pending PCM.
    void TakeFrame();
    bool SeekInput(std::int64_t block);
    std::int64_t BlockOf(std::int64_t timestamp) const;
    std::size_t PendingBlocks() const { return (pcm_.size() - pcmAt_) / std::size_t(blockAlign_); }
    void KeepError(int error)
    {
        if (firstError_ == ERROR_SUCCESS)
            firstError_ = error;
    }

    LosslessDemuxer demuxer_;
    AVCodecContext* codec_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;

    WAVEFORMATEX wave_;
    int blockAlign_ = 0;
    int channels_ = 0;
    int sampleFormat_ = -1;  // FFmpeg's, of the first frame: every frame must match
    bool eightInSixteen_ = false;
    bool lossyPart_ = false;
    std::int64_t startTimestamp_ = 0;
    std::int64_t totalBlocks_ = 0;

    std::vector<unsigned char> pcm_;  // decoded, not yet delivered from pcmAt_ on
    std::size_t pcmAt_ = 0;
    std::int64_t currentBlock_ = 0;   // block that GetData delivers next
    std::int64_t decodedBlock_ = 0;   // block of the next decoded sample
    std::int64_t discardUntil_ = 0;   // after a seek: drop decoded blocks below this
    bool syncAfterSeek_ = false;      // the next frame's timestamp gives decodedBlock_
    bool lostPosition_ = false;       // ...but it had none
    bool drained_ = false;            // the decoder was told the input ended
    bool inputEnded_ = false;
    int firstError_ = ERROR_SUCCESS;
};
