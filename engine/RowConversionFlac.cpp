// A FLAC row that is to be 16-bit 44100 Hz. The resampler works on a whole
// WAV file, so the row's audio is first decoded into one under a temporary
// name beside the output (cleared by a later run if this one is killed),
// resampled there in place, and then read into the FLAC encoder.
#include "engine/RowConversion.h"

#include "engine/OutputTags.h"
#include "engine/WavPcmReader.h"
#include "resample/WavResampler.h"

#include "platform/core/Strings.h"
#include "platform/core/TemporaryFiles.h"

#include <cstdio>
#include <vector>

namespace {

// Hears only whether the resampling made its file.
class ResampleOutcome : public ResampleListener {
public:
    void ResampleStarted() override { }
    void ResampleProgress(int) override { }
    void ResampleDone(bool converted) override { converted_ = converted; }
    bool Converted() const { return converted_; }

private:
    bool converted_ = false;
};

// The intermediate file goes whatever becomes of the row.
struct RemovedAtEnd {
    std::string path;
    ~RemovedAtEnd() { std::remove(path.c_str()); }
};

}  // namespace

std::wstring RowConversion::DecodeToResampledFlac()
{
    RemovedAtEnd intermediate{win::TemporaryNameFor(win::ToUtf8(item_.outputPath))};
    const std::wstring wavPath = win::FromUtf8(intermediate.path);
    {
        WavSink wav;
        wav.Create(wavPath.c_str());
        wav.SetFormat(ape_->PcmFormat());
        if (!wav.IsOpen())
            return L"could not be written: " + win::FromUtf8(wav.ErrorText());
        Sink* rowSink = sink_;
        sink_ = &wav;
        ape_->Decode();
        sink_ = rowSink;
        if (std::wstring damage = Damage(); !damage.empty()) {
            wav.Abandon();
            return damage;
        }
        if (wav.Close() != 1)
            return L"could not be written: " + win::FromUtf8(wav.ErrorText());
    }

    ResampleOutcome outcome;
    std::wstring why;
    {
        WavResampler resampler;
        resampler.SetListener(&outcome);
        resampler.SetCancelFlag(item_.cancel);
        resampler.SetReasonSink(&why);
        if (resampler.Open(wavPath.c_str(), wavPath.c_str())) {
            resampler.Run();
            resampler.Close();
        } else {
            why = resampler.FailureReason();
        }
    }
    if (item_.cancel && item_.cancel->load())
        return L"cancelled: the unfinished file was removed";
    if (!outcome.Converted())
        return why.empty() ? L"could not be resampled to 16-bit 44100 Hz" : why;

    WavPcmReader reader;
    if (!reader.Open(wavPath))
        return L"could not read back the resampled audio";
    if (!encoded_->Open(reader.Format(), item_.outputPath))
        return encoded_->FailureReason();
    std::vector<unsigned char> chunk(1 << 16);
    while (std::size_t got = reader.Read(chunk.data(), chunk.size()))
        encoded_->Write(chunk.data(), got);
    if (reader.Failed()) {
        encoded_->Abandon();
        return L"could not read back the resampled audio";
    }
    encoded_->beforeCommit = [this](win::OutputFile& output) { return TagFile(output); };
    if (!encoded_->Finish())
        return encoded_->FailureReason();
    return L"";
}
