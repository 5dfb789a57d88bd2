#include "engine/RowConversion.h"

#include "engine/Mp3SourceCheck.h"
#include "engine/FlacSink.h"
#include "engine/OpusSink.h"
#include "engine/OutputTags.h"
#include "resample/FileReplace.h"
#include "resample/WavInput.h"
#include "resample/WavResampler.h"

#include "platform/core/Files.h"
#include "platform/core/PathParts.h"
#include "platform/core/Strings.h"

#include <cstdio>
#include <cwchar>

namespace {

std::wstring CouldNotWrite(const std::string& why)
{
    return why.empty() ? L"could not be written" : L"could not be written: " + win::FromUtf8(why);
}

}  // namespace

win::DWORD RowConversion::Run()
{
    item_.failureReason.clear();
    item_.notice.clear();
    item_.warning.clear();
    item_.albumGainWritten = false;
    DeriveOutputPath();
    if (!PrepareSource())
        return 0;
    if (ape_ && item_.outputKind != kOutputMp3 && item_.outputKind != kOutputWav &&
        item_.outputKind != kOutputWavBesideSource && item_.outputKind != kOutputFlac &&
        item_.outputKind != kOutputOpus)
        ape_.reset();  // no sink: nothing to convert
    if (ape_) {
        sourceOpen_ = ape_->Open(item_.sourcePath.c_str()) == 1;
        if (sourceOpen_ && ape_->Info(SOURCE_INFO_LOSSY_PART))
            item_.notice = L"the audio comes from the lossy part of a hybrid WavPack file (a correction file is not read)";
        sinkProblem_ = item_.problem.empty() ? Refusal() : item_.problem;
        if (sinkProblem_.empty() && sourceOpen_ && item_.outputKind == kOutputMp3)
            sinkProblem_ = Mp3SourceProblem(*ape_->PcmFormat());
    }
    // Free now, the name is claimed: a file that appears there before the
    // output is complete stays, unless the user agreed to replace any.
    const bool nameFree = !win::NameTaken(item_.outputPath);
    PrepareSink();
    if (sink_)
        sink_->replaceExisting = !nameFree || settings_.replaceAppearingFiles;
    win::DWORD result = 0;
    if (Converts())
        result = Convert();
    if (wav_ && converted_ && settings_.stored.resamplingFlag && !noResampling_)
        Resample();
    AlbumRowOver();
    if (reported_)
        events_.RowFinished(Key(), converted_ && !resampleFailed_, item_.failureReason);
    return result;
}

bool RowConversion::PrepareSource()
{
    switch (item_.inputKind) {
    case kInputRealMedia:
        // Such rows only get their length from the module; loading it here
        // and letting it go at the end is all a row does with it.
        brook_ = std::make_unique<BrookSource>();
        return brook_->Load(L"Brook_R") == 1;
    case kInputWav:
        // A WAV row whose output is its own file only resamples it.
        if (ssrc::SameFile(item_.outputPath, item_.sourcePath))
            return true;
        break;
    }
    // Every other file goes to the decoders, which read it or say why not
    // (a lossy file, a file that is no sound at all).
    ape_ = std::make_unique<ApeSource>();
    ape_->SetStopFlag(item_.cancel);
    ape_->SetRawImage(item_.rawImage);
    return true;
}

// WAV beside the source takes the source's name with "wav" for its
// extension; a file name without "." gets ".wav" added, so the file stays
// beside the source instead of landing on "wav" in the folder.
void RowConversion::DeriveOutputPath()
{
    if (item_.outputKind != kOutputWavBesideSource)
        return;
    std::wstring_view name = FileNameOf(item_.sourcePath);
    if (name.find(L'.') == std::wstring_view::npos)
        item_.outputPath = item_.sourcePath + L".wav";
    else
        item_.outputPath = std::wstring(*UpToLastDot(item_.sourcePath)) + L"wav";
}

// Writing the output would destroy the source: a link, a hard link or the
// very same name.
std::wstring RowConversion::Refusal()
{
    bool own = ssrc::SameFile(item_.outputPath, item_.sourcePath) ||
               (!ape_->ImagePath().empty() && ssrc::SameFile(item_.outputPath, ape_->ImagePath()));
    return own ? L"the output is the source file itself; it was not touched" : L"";
}

void RowConversion::PrepareSink()
{
    switch (item_.outputKind) {
    case kOutputMp3:
        mp3_ = std::make_unique<Mp3Sink>();
        if (!mp3_->Load(L"lame_enc")) {
            mp3_.reset();
            if (sinkProblem_.empty())
                sinkProblem_ = L"the MP3 encoder module lame_enc cannot be loaded";
            return;
        }
        sink_ = mp3_.get();
        if (sinkProblem_.empty() && win::NameTaken(item_.outputPath) && !events_.AskOverwrite(Key(), item_.outputPath))
            skipDecoding_ = noResampling_ = true;
        return;
    case kOutputFlac:
    case kOutputOpus:
        if (item_.outputKind == kOutputFlac) {
            encoded_ = std::make_unique<FlacSink>(settings_.flacLevel);
        } else {
            auto opus = std::make_unique<OpusSink>(settings_.opusKbps);
            opus_ = opus.get();
            encoded_ = std::move(opus);
        }
        sink_ = encoded_.get();
        if (sinkProblem_.empty() && win::NameTaken(item_.outputPath) && !events_.AskOverwrite(Key(), item_.outputPath))
            skipDecoding_ = noResampling_ = true;
        return;
    case kOutputWav: PrepareWav(true); return;
    case kOutputWavBesideSource: PrepareWav(false); return;
    }
}

// An existing file is kept when the user says so (or, beside the source,
// always): nothing is decoded into it, and it is not resampled either: it
// is the user's file, and nobody agreed to have it rewritten.
void RowConversion::PrepareWav(bool ask)
{
    wav_ = std::make_unique<WavSink>();
    sink_ = wav_.get();
    if (!sinkProblem_.empty() || !win::NameTaken(item_.outputPath))
        return;
    if (ask && events_.AskOverwrite(Key(), item_.outputPath))
        return;
    skipDecoding_ = noResampling_ = true;
}

bool RowConversion::Converts() const
{
    return ape_ && !skipDecoding_;
}

win::DWORD RowConversion::Convert()
{
    const bool mp3 = item_.outputKind == kOutputMp3;
    reported_ = true;
    events_.RowStarted(Key(), item_.outputKind);
    win::DWORD result = 0;
    std::wstring reason = sinkProblem_;
    auto callback = [this](const unsigned char* data, int bytes, std::int64_t positionMs) {
        PcmCallback(data, bytes, positionMs);
    };
    if (reason.empty() && (!sourceOpen_ || !ape_->SetCallback(callback))) {
        reason = L"cannot read the source: " + ape_->OpenError();
        result = static_cast<win::DWORD>(-1);
    }
    if (reason.empty())
        reason = RangeProblem();
    if (reason.empty())
        reason = mp3 ? DecodeToMp3() : encoded_ ? DecodeToEncoded() : DecodeToWav();
    ape_->Close();
    if (mp3_)
        mp3_->Unload();
    converted_ = reason.empty();
    item_.failureReason = reason;
    events_.RowDone(Key(), item_.outputKind, converted_, item_.failureReason);
    return result;
}

void RowConversion::PcmCallback(const unsigned char* data, int bytes, std::int64_t positionMs)
{
    if (sink_ && bytes > 0) {
        sink_->Write(data, static_cast<std::size_t>(bytes));
        Measure(data, bytes);
    }
    events_.RowProgress(Key(), positionMs);
}

// Checked before any file is made: a track that holds nothing gives nothing.
std::wstring RowConversion::RangeProblem()
{
    auto start = static_cast<std::uint32_t>(static_cast<std::int32_t>(item_.startMs));
    auto end = static_cast<std::uint32_t>(static_cast<std::int32_t>(item_.endMs));
    ape_->SetRange(start, end);
    // A CUE track is cut where its sheet's frames say, to the sample.
    if (item_.startFrames >= 0)
        ape_->SetFrameRange(item_.startFrames, item_.endFrames);
    auto total = static_cast<std::int64_t>(ape_->Info(APE_DECOMPRESS_TOTAL_BLOCKS));
    if (total <= 0)
        return L"the source holds no audio";
    if (ape_->StartBlock() >= total)
        return L"the track starts past the end of its image";
    if (ape_->EndBlock() <= ape_->StartBlock())
        return L"the track's range is empty";
    return L"";
}

std::wstring RowConversion::DecodeToMp3()
{
    mp3_->InitDefaults();
    WAVEFORMATEX format = *ape_->PcmFormat();
    // MP3 holds two channels: more are mixed down, and the row says so.
    if (format.nChannels > 2 && format.nChannels <= DownmixSink::kMaxChannels) {
        int width = (format.wBitsPerSample + 7) / 8;
        downmix_ = std::make_unique<DownmixSink>(*mp3_, format.nChannels, width);
        sink_ = downmix_.get();
        item_.notice = L"mixed down from " + std::to_wstring(format.nChannels) + L" channels to stereo";
        format.nChannels = 2;
        format.nBlockAlign = static_cast<std::uint16_t>(2 * width);
        format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    }
    if (mp3_->Open(&format, item_.outputPath, settings_.stored) < 0) {
        std::wstring why = mp3_->FailureReason();
        return why.empty() ? CouldNotWrite("") : why;
    }
    ape_->Decode();
    if (std::wstring damage = Damage(); !damage.empty()) {
        mp3_->Abandon();
        return damage;
    }
    mp3_->beforeCommit = [this](win::OutputFile& output) { return TagFile(output); };
    if (mp3_->Finish() < 0) {
        std::wstring why = mp3_->FailureReason();
        return why.empty() ? CouldNotWrite("") : why;
    }
    return L"";
}

std::wstring RowConversion::DecodeToWav()
{
    wav_->Create(item_.outputPath.c_str());
    const WAVEFORMATEX* format = ape_->PcmFormat();
    wav_->SetFormat(format);
    if (format->nSamplesPerSec == 44100 && format->nChannels == 2 &&
        (!settings_.requireSixteenBit || format->wBitsPerSample == 16))
        noResampling_ = true;
    if (!wav_->IsOpen()) {
        std::wstring why = CouldNotWrite(wav_->ErrorText());
        wav_->Abandon();
        return why;
    }
    ape_->Decode();
    if (std::wstring damage = Damage(); !damage.empty()) {
        wav_->Abandon();
        return damage;
    }
    std::wstring tagProblem;
    wav_->beforeCommit = [this, &tagProblem](win::OutputFile& output) {
        return tagProblem = TagFile(output);
    };
    if (wav_->Close() != 1) {
        if (wav_->Appeared())
            return AppearedReason(item_.outputPath);
        return tagProblem.empty() ? CouldNotWrite(wav_->ErrorText()) : tagProblem;
    }
    return L"";
}

std::wstring RowConversion::DecodeToEncoded()
{
    const WAVEFORMATEX* format = ape_->PcmFormat();
    if (item_.outputKind == kOutputFlac && settings_.resampleFlac &&
        !(format->nSamplesPerSec == 44100 && format->wBitsPerSample == 16))
        return DecodeToResampledFlac();
    PlanNeighbours();
    if (!encoded_->Open(*ape_->PcmFormat(), item_.outputPath))
        return encoded_->FailureReason();
    HearBefore();
    ape_->Decode();
    if (std::wstring damage = Damage(); !damage.empty()) {
        encoded_->Abandon();
        return damage;
    }
    HearAfter();
    encoded_->beforeCommit = [this](win::OutputFile& output) { return TagFile(output); };
    if (!encoded_->Finish())
        return encoded_->FailureReason();
    return L"";
}

// A source that gives less than its range promised, or reports a damaged
// frame, makes no file: a short or broken result must not look finished.
std::wstring RowConversion::Damage()
{
    if (ape_->Stopped())
        return L"cancelled: the unfinished file was removed";
    double rate = ape_->PcmFormat()->nSamplesPerSec;
    auto seconds = [rate](std::int64_t blocks) {
        wchar_t text[32];
        std::swprintf(text, 32, L"%.1f s", rate > 0 ? static_cast<double>(blocks) / rate : 0.0);
        return std::wstring(text);
    };
    std::int64_t expected = ape_->BlocksExpected();
    if (ape_->BlocksDelivered() < expected)
        return L"damaged source: decoded " + seconds(ape_->BlocksDelivered()) + L" of " + seconds(expected);
    if (ape_->FirstErrorBlock() >= 0)
        return L"damaged source: a broken frame at " + seconds(ape_->FirstErrorBlock()) + L" of " + seconds(expected);
    return L"";
}

// The finished WAV file (or the one kept from before) becomes 16-bit
// 44100 Hz in place, at most once per row. When it cannot be, the file
// stays as it was and the resampling's done says so, with the reason in the
// row.
void RowConversion::Resample()
{
    WavResampler resampler;
    resampler.SetListener(this);
    resampler.SetCancelFlag(item_.cancel);
    resampler.SetReasonSink(&item_.failureReason);
    if (!resampler.Open(item_.outputPath.c_str(), item_.outputPath.c_str())) {
        item_.failureReason = resampler.FailureReason();
        ResampleDone(false);
        return;
    }
    resampler.Run();
    resampler.Close();
}

void RowConversion::ResampleStarted()
{
    reported_ = true;
    events_.ResampleStarted(Key());
}

void RowConversion::ResampleProgress(int percent) { events_.ResampleProgress(Key(), percent); }

void RowConversion::ResampleDone(bool converted)
{
    reported_ = true;
    resampleFailed_ = !converted;
    events_.ResampleDone(Key(), converted, item_.failureReason);
}
