#include "resample/SsrcEngine.h"

#include "resample/Trace.h"

SsrcEngine::SsrcEngine(win::HWND notifyWindow)
    : windowListener_(notifyWindow),
      listener_(&windowListener_)
{
}

SsrcEngine::~SsrcEngine() = default;

int SsrcEngine::DitherSetup(int targetRate, int channels, int clipMin, int clipMax, int kind,
                            int density, double amplitude)
{
    return dither_.Setup(targetRate, channels, clipMin, clipMax, kind, density, amplitude);
}

int SsrcEngine::DitherQuantize(double value, double* peak, int kind, int channel)
{
    return dither_.Quantize(value, peak, kind, channel);
}

void SsrcEngine::DitherRelease(int channels)
{
    (void)channels;  // every channel's history goes at once
    dither_.Release();
}

void SsrcEngine::ProgressStart()
{
    startTime_ = std::time(nullptr);
    lastElapsed_ = 0;
    lastPercent_ = -1;
}

void SsrcEngine::ProgressUpdate(double fraction)
{
    if (quiet_)
        return;
    const long elapsed = static_cast<long>(std::time(nullptr) - startTime_);
    const int remaining = fraction > 0 ? static_cast<int>(elapsed * (1 - fraction) / fraction) : 0;
    const int percent = static_cast<int>(fraction * 100);
    if (percent != lastPercent_ || elapsed != lastElapsed_) {
        lastPercent_ = percent;
        ssrc::Trace(" %3d%% processed, ETA =%4dsec\n", percent, remaining);
    }
    lastElapsed_ = elapsed;
}

int SsrcEngine::ReportError(int number)
{
    ssrc::Trace("unkonwn error %d\n", number);
    return 0;
}

void SsrcEngine::Refuse(int sourceRate, int targetRate, int divided, int ratio, bool noFactor, const char* reason)
{
    ssrc::Trace("Resampling from %dHz to %dHz is not supported.\n", sourceRate, targetRate);
    if (noFactor)
        ssrc::Trace("%d/gcd(%d,%d)=%d must be divided by 2 or 3.\n", divided, sourceRate, targetRate, ratio);
    else
        ssrc::Trace("%s\n", reason);
    outcome_ = Outcome::Refused;
}

bool SsrcEngine::Accepts(int channels, int sourceWidth, int targetWidth, int ditherKind)
{
    const bool ok = channels > 0 && sourceWidth >= 1 && sourceWidth <= 4 && targetWidth >= 1 &&
                    targetWidth <= 3 && (ditherKind == 0 || dither_.Ready(channels));
    if (!ok) {
        ssrc::Trace("Error: unsupported sample layout or dither not set up.\n");
        outcome_ = Outcome::Refused;
    }
    return ok;
}

void SsrcEngine::PostProgress(int percent)
{
    if (listener_)
        listener_->ResampleProgress(percent);
}
