#include "resample/WavResampler.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"
#include "resample/FileReplace.h"
#include "resample/Trace.h"
#include "resample/TrailingChunks.h"
#include "resample/WavHeader.h"
#include "resample/WavInput.h"

#include <cerrno>
#include <cmath>
#include <vector>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr int kTargetRate = 44100;
constexpr int kTargetWidth = 2;
constexpr double kNoiseAmplitude = 0.18;  // of one output step
constexpr double kAttenuationDb = 0;

// 16-bit PCM at 44100 Hz with the input's channels.
WavFormat OutputFormat(int channels)
{
    WavFormat format;
    format.channels = static_cast<std::uint16_t>(channels);
    format.samplesPerSec = kTargetRate;
    format.blockAlign = static_cast<std::uint16_t>(kTargetWidth * channels);
    format.avgBytesPerSec = kTargetRate * format.blockAlign;
    format.bitsPerSample = 8 * kTargetWidth;
    return format;
}

// Fills in the RIFF size from the file's length and the data size, which
// chunks after the samples keep from being the rest of the file; false on
// an I/O error.
bool FinishHeader(std::FILE* out, const WavFormat& format, std::uint64_t dataBytes)
{
    if (std::fflush(out) != 0 || fseeko(out, 0, SEEK_END) != 0)
        return false;
    const long long length = ftello(out);
    if (length < static_cast<long long>(format.HeaderBytes()) || std::uint64_t(length) - 8 > kMaxWavBytes)
        return false;
    return WriteWavHeader(out, format, static_cast<std::uint64_t>(length), dataBytes) && std::fflush(out) == 0;
}

// The output frames a conversion produces for `frames` input frames.
std::uint64_t OutputFrames(const ssrc::WavInput& in)
{
    if (in.rate == kTargetRate)
        return in.frames;
    return static_cast<std::uint64_t>(std::floor(double(in.frames) * kTargetRate / in.rate)) + 2;
}

}  // namespace

WavResampler::WavResampler(win::HWND notifyWindow)
    : engine_(notifyWindow),
      windowListener_(notifyWindow),
      listener_(&windowListener_)
{
}

void WavResampler::SetListener(ResampleListener* listener)
{
    listener_ = listener;
    engine_.SetListener(listener);
}

WavResampler::~WavResampler()
{
    Discard();
}

int WavResampler::Fail(std::wstring reason)
{
    if (reason_.empty())
        reason_ = std::move(reason);
    return 0;
}

int WavResampler::Open(const wchar_t* in, const wchar_t* out)
{
    if (!in || !out || input_ || stream_)
        return 0;
    inputPath_ = in;
    outputPath_ = out;
    succeeded_ = false;
    reason_.clear();
    inPlace_ = ssrc::SameFile(inputPath_, outputPath_) ? 1 : 0;

    input_ = win::_wfopen(in, L"rb");
    if (!input_)
        return Fail(L"resampling failed: " + win::FromUtf8(std::strerror(errno)));
    if (output_.Create(outputPath_)) {
        stream_ = output_.Stream();
        struct stat st;
        if (inPlace_ && fstat(fileno(input_), &st) == 0)
            output_.SetMode(st.st_mode);
    }
    if (!stream_) {
        std::fclose(input_);
        input_ = nullptr;
        return Fail(L"resampling failed: " + win::FromUtf8(output_.ErrorText()));
    }
    if (listener_)
        listener_->ResampleStarted();
    return 1;
}

int WavResampler::Run()
{
    succeeded_ = false;
    if (!input_ || !stream_)
        return 0;
    ssrc::WavInput info;
    if (!ssrc::ReadWavInput(input_, engine_, &info))
        return Fail(L"kept as it was: not a PCM WAV file that can be resampled");
    rate_ = info.rate;
    const std::wstring kept = L"kept at " + std::to_wstring(info.rate) + L" Hz: ";
    // Tags that followed the audio follow it again.
    const long long samplesAt = ftello(input_);
    const std::vector<unsigned char> trailing =
        samplesAt < 0 ? std::vector<unsigned char>() : ssrc::ReadTrailingChunks(input_, samplesAt, info.dataLength);
    if (samplesAt < 0 || fseeko(input_, samplesAt, SEEK_SET) != 0)
        return Fail(L"kept as it was: the file cannot be read");
    const WavFormat format = OutputFormat(info.channels);
    const std::uint64_t dataBytes = OutputFrames(info) * info.channels * kTargetWidth;
    const std::uint64_t outputBytes = format.HeaderBytes() + dataBytes + dataBytes % 2 + trailing.size();
    if (outputBytes - 8 > kMaxWavBytes) {
        ssrc::Trace("Error: the converted file would be too long for a WAV file.\n");
        return Fail(kept + L"the resampled file would be too long for a WAV file");
    }
    const int ditherKind = kTargetWidth >= info.width ? ssrc::kPlainDither : ssrc::kRateShaping;
    if (!WriteWavHeader(stream_, format, 0))
        return Fail(L"resampling failed: " + win::FromUtf8(output_.ErrorText()));

    engine_.DitherSetup(kTargetRate, info.channels, -32768, 32767, ditherKind, ssrc::kRectangular,
                        kNoiseAmplitude);
    const double gain = std::pow(10.0, -kAttenuationDb / 20);
    double peak;
    if (info.rate < kTargetRate)
        peak = engine_.ResampleUp(input_, stream_, info.channels, info.width, kTargetWidth,
                                  info.rate, kTargetRate, gain, info.frames, 0, ditherKind);
    else if (info.rate == kTargetRate)
        peak = engine_.RequantizeOnly(input_, stream_, info.channels, info.width, kTargetWidth,
                                      gain, info.frames, 0, ditherKind);
    else
        peak = engine_.ResampleDown(input_, stream_, info.channels, info.width, kTargetWidth,
                                    info.rate, kTargetRate, gain, info.frames, 0, ditherKind);
    engine_.DitherRelease(info.channels);
    if (peak > 1)
        ssrc::Trace("clipped: the peak was %g times full scale\n", peak);

    switch (engine_.LastOutcome()) {
    case SsrcEngine::Outcome::Done: break;
    case SsrcEngine::Outcome::Refused: return Fail(kept + L"no resampling design for this rate");
    case SsrcEngine::Outcome::OutOfMemory: return Fail(L"resampling failed: out of memory");
    case SsrcEngine::Outcome::Cancelled: return Fail(kept + L"resampling cancelled");
    case SsrcEngine::Outcome::WriteFailed:
        return Fail(L"resampling failed: " + win::FromUtf8(output_.Error() ? output_.ErrorText() : "a write failed"));
    }
    const long long samplesEnd = ftello(stream_);
    const std::uint64_t written = samplesEnd > 0 ? std::uint64_t(samplesEnd) - format.HeaderBytes() : 0;
    const unsigned char pad = 0;
    if (samplesEnd < static_cast<long long>(format.HeaderBytes()) ||
        (written % 2 == 1 && std::fwrite(&pad, 1, 1, stream_) != 1) ||
        (!trailing.empty() && std::fwrite(trailing.data(), 1, trailing.size(), stream_) != trailing.size()) ||
        !FinishHeader(stream_, format, written))
        return Fail(L"resampling failed: " + win::FromUtf8(output_.Error() ? output_.ErrorText() : "a write failed"));
    succeeded_ = true;
    return 1;
}

void WavResampler::Close()
{
    if (!input_ && !stream_)
        return;
    std::fclose(input_);
    input_ = nullptr;
    stream_ = nullptr;
    // One rename: at every moment the name holds either the whole old file
    // or the whole new one.
    bool complete = succeeded_ && output_.Commit();
    if (succeeded_ && !complete)
        Fail(L"resampling failed: " + win::FromUtf8(output_.ErrorText()));
    if (!complete) {
        output_.Abandon();
        Fail(L"kept as it was: the resampling did not finish");
    }
    if (reasonSink_)
        *reasonSink_ = complete ? std::wstring() : reason_;
    if (listener_)
        listener_->ResampleDone(complete);
}

void WavResampler::Discard()
{
    if (input_)
        std::fclose(input_);
    input_ = nullptr;
    stream_ = nullptr;
    output_.Abandon();
}
