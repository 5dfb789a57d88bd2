// SsrcEngine::Convert, shared by the up- and down-sampling routines; only
// their two files include it.
#pragma once

#include "resample/KaiserDesign.h"
#include "resample/OutputStage.h"
#include "resample/SsrcEngine.h"
#include "resample/Trace.h"

#include <new>

template <class Stream, class Design>
double SsrcEngine::Convert(const Design& d, int divided, std::FILE* in, std::FILE* out, int channels,
                           int sourceWidth, int targetWidth, double gain, std::uint32_t frames,
                           int ditherKind, bool postProgress)
{
    outcome_ = Outcome::Done;
    if (d.refused) {
        Refuse(d.sourceRate, d.targetRate, divided, d.ratio, d.ratio != 0 && d.oversampling == 0,
               d.reason.c_str());
        return 0;
    }
    if (!Accepts(channels, sourceWidth, targetWidth, ditherKind))
        return 0;
    try {
        Stream stream(d, channels, sourceWidth, frames, ssrc::KaiserAlpha(settings_.attenuation));
        ssrc::OutputStage output(out, channels, targetWidth, gain, ditherKind, dither_, d.sourceRate,
                                 d.targetRate, d.delay, stream.MaxOutputFrames());
        return RunBlocks(stream, output, in, [&](double fraction) {
            if (postProgress)
                PostProgress(static_cast<int>(fraction * 100));
            ProgressUpdate(fraction);
        });
    } catch (const std::bad_alloc&) {
        ssrc::Trace("Out of memory for resampling %dHz to %dHz.\n", d.sourceRate, d.targetRate);
        outcome_ = Outcome::OutOfMemory;
        return 0;
    }
}
