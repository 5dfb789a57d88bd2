// Opens a sound file of any format we decode (Monkey's Audio, FLAC, WavPack,
// TTA, WAV, AIFF, ALAC, TAK), or the image a CUE sheet names (all of them,
// one after another, when it names several), and delivers its decoded PCM
// in chunks to a callback, optionally limited to a range of milliseconds:
// one track of an album image.
#pragma once

#include "cue/CueReader.h"
#include "engine/ImageDecoder.h"
#include "engine/ModuleHost.h"
#include "modules/apesdk/ApeDecompress.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// (chunk, byte count, decode position in milliseconds). The chunk is valid
// only during the call.
using PcmCallbackFn = std::function<void(const unsigned char* data, int bytes, std::int64_t positionMs)>;

class ApeSource : public ModuleHost {
public:
    static constexpr int kChunkBlocks = 1024;

    ~ApeSource() override;
    int Load(const wchar_t*) override { return 1; }

    // A raw CD image has no header: only its sheet says it is one. Set
    // before Open for a row whose source is such an image itself.
    void SetRawImage(RawImage raw) { raw_ = raw; }
    int Open(const wchar_t* path);
    // Why the last Open failed, for the user; empty after a success.
    const std::wstring& OpenError() const { return openError_; }
    // The file that is decoded: the path itself, or the image a sheet names.
    const std::wstring& ImagePath() const { return image_; }
    int SetCallback(PcmCallbackFn callback);
    void SetRange(std::uint32_t startMs, std::uint32_t endMs);
    // A range in CD frames (1/75 s) instead, as a CUE sheet gives it: the
    // cuts fall at frame x rate / 75 exactly, so neighbouring tracks tile
    // the image to the sample. A negative end: to the end. SetRange goes
    // back to milliseconds.
    void SetFrameRange(std::int64_t startFrames, std::int64_t endFrames);
    // Delivers [block of start, block of end) — both ends through BlockAt,
    // so adjacent ranges tile the stream exactly. Returns the last decoder
    // error, or -1 when nothing is open.
    int Decode();
    // Delivers the blocks [start, end) to `to` instead, leaving what Decode
    // reported as it was: audio around a track that an encoder should hear
    // but the track does not hold. Returns the blocks delivered; a damaged
    // stretch just gives fewer.
    std::int64_t DecodeAside(std::int64_t start, std::int64_t end, const PcmCallbackFn& to);
    void Close();
    // Decode stops after the chunk during which `*stop` became true.
    void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }
    bool Stopped() const { return stopped_; }

    // What the last Decode promised and delivered, in blocks, and where the
    // decoder first reported an error (-1: never).
    std::int64_t BlocksExpected() const { return blocksExpected_; }
    std::int64_t BlocksDelivered() const { return blocksDelivered_; }
    std::int64_t FirstErrorBlock() const { return firstErrorBlock_; }
    // The block range [start, end) the range covers, in milliseconds or in
    // CD frames; the end is at most the end of the stream.
    std::int64_t StartBlock();
    std::int64_t EndBlock();

    const WAVEFORMATEX* PcmFormat();
    std::intptr_t Info(APE_DECOMPRESS_FIELDS field);
    // The block where a position in milliseconds begins.
    std::int64_t BlockAt(std::uint32_t ms);
    // The range's end block as given, -1 for the end of the stream.
    std::int64_t RangeEndBlock();

    // A CUE sheet was read: the one opened, or the one beside an APE file.
    int HasCueSheet() const { return cueFlag_; }
    // The sheet's tracks when there is one, else null. They stay valid
    // after the source is gone.
    const CueTrackList* CueTracks() const { return cueFlag_ ? cueReader_.Tracks() : nullptr; }

private:
    int OpenSheet(const std::wstring& path);
    // Seeks to `position` and delivers up to `end` (-1: the stream's end);
    // `stoppable`: the stop flag ends it early.
    int Deliver(std::int64_t position, std::int64_t end, const PcmCallbackFn& to, bool stoppable);
    int OpenImage();

    std::unique_ptr<IAPEDecompress> decompressor_;
    RawImage raw_ = RawImage::None;
    int blockAlign_ = 0;
    std::vector<unsigned char> chunk_;
    int blocksRead_ = 1;
    PcmCallbackFn callback_;
    WAVEFORMATEX format_;
    CueReader cueReader_;
    int cueFlag_ = 0;
    std::uint32_t rangeStart_ = 0;
    std::uint32_t rangeEnd_ = 0;  // 0: to the end
    std::wstring image_;
    std::wstring openError_;
    const std::atomic<bool>* stop_ = nullptr;
    bool stopped_ = false;
    std::int64_t blocksExpected_ = 0;
    std::int64_t blocksDelivered_ = 0;
    std::int64_t firstErrorBlock_ = -1;
    std::int64_t frameStart_ = -1;  // -1: the range is in milliseconds
    std::int64_t frameEnd_ = -1;
};
