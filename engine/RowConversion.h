// What the worker does for one row: picks the source and the sink, asks
// before an existing file is replaced, decodes, and resamples a WAV result.
//
// A row whose APE source it starts to convert always reports its start and
// then its done, also when it fails before decoding; the reason is in the
// row's failureReason before done is reported. Rows whose existing file the
// user kept report nothing. Nothing is ever written over the row's own
// source.
#pragma once

#include "engine/AlbumGains.h"
#include "engine/ApeSource.h"
#include "engine/LoudnessMeter.h"
#include "engine/BrookSource.h"
#include "engine/ConversionItem.h"
#include "engine/Downmix.h"
#include "engine/EncodedFileSink.h"
#include "engine/Mp3Sink.h"
#include "engine/OpusSink.h"
#include "engine/RowEvents.h"
#include "engine/WavSink.h"
#include "resample/ResampleListener.h"
#include "engine/BatchSettings.h"

#include "platform/core/Types.h"

#include <memory>
#include <optional>
#include <string>

class RowConversion : private ResampleListener {
public:
    RowConversion(ConversionItem& item, const BatchSettings& settings, RowEvents& events)
        : item_(item), settings_(settings), events_(events) { }

    // The batch's album measurement, when it has one; the row hands its
    // meter in when it is over.
    void SetAlbums(AlbumGains* albums) { albums_ = albums; }

    // The thread result: 0, or (DWORD)-1 when the source could not be opened.
    win::DWORD Run();

private:
    bool PrepareSource();
    void DeriveOutputPath();
    void PrepareSink();
    void PrepareWav(bool ask);
    bool Converts() const;
    win::DWORD Convert();
    // Each returns the reason the row cannot be written, or an empty text.
    std::wstring Refusal();
    std::wstring RangeProblem();
    std::wstring DecodeToMp3();
    std::wstring DecodeToWav();
    // FLAC and Opus: encoded into a file of their own.
    std::wstring DecodeToEncoded();
    // FLAC at 16-bit 44100 Hz: the decoded audio goes through a temporary
    // WAV file that the resampler rewrites, then into the encoder.
    std::wstring DecodeToResampledFlac();
    // An Opus track of an image hears a little of the tracks around it.
    void PlanNeighbours();
    void HearBefore();
    void HearAfter();
    // The row's tags as its output gets them: with the source's front cover
    // when the batch embeds covers (a picture skipped is noted in the row's
    // warning). Found once per row.
    const TagRecord& OutputTags();
    std::wstring TagFile(win::OutputFile& output);
    // Every chunk the sink gets is measured too, when the batch wants gains.
    void Measure(const unsigned char* data, int bytes);
    // Hands the row's meter (none when it made no file) to the album.
    void AlbumRowOver();
    std::wstring Damage();
    void Resample();
    // Every decoded chunk: into the row's sink, then its position reported.
    void PcmCallback(const unsigned char* data, int bytes, std::int64_t positionMs);
    void ResampleStarted() override;
    void ResampleProgress(int percent) override;
    void ResampleDone(bool converted) override;
    std::int32_t Key() const { return item_.rowKey; }

    ConversionItem& item_;
    const BatchSettings& settings_;
    RowEvents& events_;
    Sink* sink_ = nullptr;
    std::unique_ptr<ApeSource> ape_;
    std::unique_ptr<BrookSource> brook_;
    std::unique_ptr<WavSink> wav_;
    std::unique_ptr<Mp3Sink> mp3_;
    std::unique_ptr<DownmixSink> downmix_;
    std::unique_ptr<EncodedFileSink> encoded_;
    OpusSink* opus_ = nullptr;  // encoded_, when it is Opus
    std::int64_t leadFrames_ = 0;
    std::int64_t tailFrames_ = 0;
    std::optional<TagRecord> outputTags_;
    std::unique_ptr<LoudnessMeter> meter_;
    AlbumGains* albums_ = nullptr;
    bool sourceOpen_ = false;
    std::wstring sinkProblem_;
    bool skipDecoding_ = false;
    bool noResampling_ = false;
    bool converted_ = true;
    bool reported_ = false;        // the row said anything at all
    bool resampleFailed_ = false;
};
