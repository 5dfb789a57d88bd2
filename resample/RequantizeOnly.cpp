// Same rate in and out: each sample is only rescaled to the target width
// and quantised, one block of samples at a time.
#include "resample/SsrcEngine.h"

#include "resample/SampleCodec.h"
#include "resample/Trace.h"

#include <algorithm>
#include <cmath>
#include <vector>

double SsrcEngine::RequantizeOnly(std::FILE* in, std::FILE* out, int channels, int sourceWidth,
                                  int targetWidth, double gain, std::uint32_t frames, int twoPass,
                                  int ditherKind)
{
    (void)twoPass;
    outcome_ = Outcome::Done;
    if (!Accepts(channels, sourceWidth, targetWidth, ditherKind))
        return 0;
    ProgressStart();
    constexpr std::uint64_t kProgressEvery = 0x40000;  // samples
    const std::uint64_t total = std::uint64_t(frames) * channels;
    const std::size_t blockFrames = std::max(1, 16384 / channels);
    const std::size_t blockSamples = blockFrames * channels;
    std::vector<unsigned char> rawIn(blockSamples * sourceWidth);
    std::vector<double> samples(blockSamples);
    std::vector<unsigned char> rawOut(blockSamples * targetWidth);
    const double scale = ssrc::OutputScale(targetWidth) * gain;
    const int lo = ssrc::OutputMin(targetWidth), hi = ssrc::OutputMax(targetWidth);

    double peak = 0;
    std::uint64_t done = 0;
    while (done < total) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(blockFrames, (total - done) / channels));
        const std::size_t frameBytes = std::size_t(sourceWidth) * channels;
        const std::size_t got = std::fread(rawIn.data(), frameBytes, want, in);
        const std::size_t count = got * channels;
        ssrc::DecodeSamples(rawIn.data(), sourceWidth, count, samples.data());
        for (std::size_t i = 0; i < count; ++i) {
            const double v = samples[i] * scale;
            int q;
            if (ditherKind != ssrc::kNoDither) {
                q = DitherQuantize(v, &peak, ditherKind, static_cast<int>(i % channels));
            } else {
                // Full scale maps inside the range, so only rounding is needed.
                q = static_cast<int>(std::clamp(v >= 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5),
                                                double(lo), double(hi)));
            }
            ssrc::EncodeSample(q, targetWidth, rawOut.data() + i * targetWidth);
        }
        if (std::fwrite(rawOut.data(), std::size_t(targetWidth) * channels, got, out) != got) {
            ssrc::Trace("fwrite error: the requantised samples could not be written.\n");
            outcome_ = Outcome::WriteFailed;
            break;
        }
        const std::uint64_t before = done;
        done += count;
        if (done / kProgressEvery != before / kProgressEvery)
            ProgressUpdate(double(done) / double(total));
        if (got < want)
            break;  // the file ends before its data chunk says
        if (CancelRequested()) {
            outcome_ = Outcome::Cancelled;
            break;
        }
    }
    ProgressUpdate(1.0);
    return peak;
}
