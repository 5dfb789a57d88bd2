#include "resample/WavResampler.h"

#include "platform/core/Files.h"
#include "platform/messaging/Message.h"
#include "resample/FileReplace.h"
#include "resample/SsrcMessages.h"
#include "resample/Trace.h"
#include "resample/WavHeader.h"
#include "resample/WavInput.h"

#include <cmath>

namespace {

constexpr int kTargetRate = 44100;
constexpr int kTargetWidth = 2;
constexpr double kNoiseAmplitude = 0.18;  // of one output step
constexpr double kAttenuationDb = 0;

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
      notifyWindow_(notifyWindow)
{
}

WavResampler::~WavResampler()
{
    Discard();
}

int WavResampler::Open(const wchar_t* in, const wchar_t* out)
{
    if (!in || !out || input_ || output_)
        return 0;
    inputPath_ = in;
    outputPath_ = out;
    temporaryPath_.clear();
    succeeded_ = false;
    inPlace_ = ssrc::SameFile(inputPath_, outputPath_) ? 1 : 0;

    input_ = win::_wfopen(in, L"rb");
    if (!input_)
        return 0;
    if (inPlace_) {
        output_ = ssrc::CreateTemporary(outputPath_, &temporaryPath_);
        if (output_)
            ssrc::CopyPermissions(input_, output_);
    } else {
        output_ = win::_wfopen(out, L"w+b");
    }
    if (!output_) {
        std::fclose(input_);
        input_ = nullptr;
        return 0;
    }
    if (notifyWindow_)
        win::PostMessage(notifyWindow_, WM_SSRC_START, 0, 0);
    return 1;
}

int WavResampler::Run()
{
    succeeded_ = false;
    if (!input_ || !output_)
        return 0;
    ssrc::WavInput info;
    if (!ssrc::ReadWavInput(input_, engine_, &info))
        return 0;
    const std::uint64_t outputBytes =
        ssrc::kHeaderBytes + OutputFrames(info) * info.channels * kTargetWidth;
    if (outputBytes - 8 > ssrc::kMaxWavBytes) {
        ssrc::Trace("Error: the converted file would be too long for a WAV file.\n");
        return 0;
    }
    const int ditherKind = kTargetWidth >= info.width ? ssrc::kPlainDither : ssrc::kRateShaping;
    if (!ssrc::WriteOutputHeader(output_, info.channels))
        return 0;

    engine_.DitherSetup(kTargetRate, info.channels, -32768, 32767, ditherKind, ssrc::kRectangular,
                        kNoiseAmplitude);
    const double gain = std::pow(10.0, -kAttenuationDb / 20);
    double peak;
    if (info.rate < kTargetRate)
        peak = engine_.ResampleUp(input_, output_, info.channels, info.width, kTargetWidth,
                                  info.rate, kTargetRate, gain, info.frames, 0, ditherKind);
    else if (info.rate == kTargetRate)
        peak = engine_.RequantizeOnly(input_, output_, info.channels, info.width, kTargetWidth,
                                      gain, info.frames, 0, ditherKind);
    else
        peak = engine_.ResampleDown(input_, output_, info.channels, info.width, kTargetWidth,
                                    info.rate, kTargetRate, gain, info.frames, 0, ditherKind);
    engine_.DitherRelease(info.channels);
    if (peak > 1)
        ssrc::Trace("clipped: the peak was %g times full scale\n", peak);

    if (engine_.LastOutcome() != SsrcEngine::Outcome::Done || !ssrc::FinishOutputHeader(output_))
        return 0;
    succeeded_ = true;
    return 1;
}

void WavResampler::Close()
{
    if (!input_ && !output_)
        return;
    std::fclose(input_);
    input_ = nullptr;
    const bool ordinary = ssrc::IsRegularFile(output_);
    const bool complete = ssrc::CommitAndClose(output_) && succeeded_;
    output_ = nullptr;
    if (inPlace_) {
        // One rename: at every moment the name holds either the whole old
        // file or the whole new one.
        if (!complete || win::_wrename(temporaryPath_.c_str(), outputPath_.c_str()) != 0)
            win::_wremove(temporaryPath_.c_str());
    } else if (!complete && ordinary) {
        win::_wremove(outputPath_.c_str());
    }
    if (notifyWindow_)
        win::PostMessage(notifyWindow_, WM_SSRC_DONE, 0, 0);
}

void WavResampler::Discard()
{
    if (input_)
        std::fclose(input_);
    if (output_) {
        const bool ordinary = ssrc::IsRegularFile(output_);
        std::fclose(output_);
        if (inPlace_)
            win::_wremove(temporaryPath_.c_str());
        else if (ordinary)
            win::_wremove(outputPath_.c_str());
    }
    input_ = nullptr;
    output_ = nullptr;
}
