// To a lower rate: the source is zero-stuffed to S x K (K = 1 from 2 x R
// up), a long FFT filter at that rate cuts everything above R / 2, and a
// short polyphase filter takes the result to R. Stage one hands stage two
// H samples per block.
#include "resample/SsrcEngine.h"

#include "platform/core/WorkThreads.h"
#include "resample/ChannelTeam.h"
#include "resample/Conversion.h"
#include "resample/DownsampleDesign.h"
#include "resample/KaiserDesign.h"
#include "resample/PolyphaseFilter.h"
#include "resample/PolyphaseLoop.h"
#include "resample/SampleCodec.h"
#include "resample/StuffedFilter.h"

#include <algorithm>
#include <vector>

namespace {

using ssrc::DownsampleDesign;

// The most outputs one block of H stage-one samples can give: every output
// moves at least the schedule's smallest step through them.
int OutputsPerBlock(const DownsampleDesign& d)
{
    const int least = std::max(1, *std::min_element(d.increment.begin(), d.increment.end()));
    return (d.half + 1) / least + 2;
}

ssrc::PolyphaseFilter StageTwo(const DownsampleDesign& d, double alpha)
{
    if (d.oversampling == 1)
        return ssrc::IdentityPolyphase();
    return ssrc::DesignPolyphase(d.length2, d.cutoff2, double(d.f2), double(d.f2) / double(d.f1),
                                 d.phases, alpha);
}

// The filters, buffers and running state of one down-sampling conversion.
class DownStream {
public:
    DownStream(const DownsampleDesign& d, int channels, int sourceWidth, std::uint32_t frameCount,
               double alpha)
        : d_(d),
          channels_(channels),
          sourceWidth_(sourceWidth),
          frameCount_(frameCount),
          stageOne_(d.length1, d.cutoff1, double(d.f1), double(d.f1) / d.sourceRate, d.oversampling,
                    alpha),
          stageTwo_(StageTwo(d, alpha)),
          rawIn_(static_cast<std::size_t>(stageOne_.BlockFrames()) * channels * sourceWidth),
          output_(static_cast<std::size_t>(OutputsPerBlock(d)) * channels),
          ends_(channels),
          team_(channels, win::RowThreads()),
          position_(d.startPosition),
          phase_(d.startPhase)
    {
        stuffed_.reserve(channels);
        for (int ch = 0; ch < channels; ++ch)
            stuffed_.emplace_back(stageOne_, d.half, d.taps + 1);
        const std::size_t L = stageOne_.FftLength();
        for (int slot = 0; slot < team_.Threads(); ++slot)
            scratch_.push_back({std::vector<double>(L), std::vector<double>(d.oversampling > 1 ? L : 0)});
    }

    // Reads the next source block when stage one has fewer than H
    // outputs left; past the end of the input the filter sees silence.
    void ReadBlock(std::FILE* in)
    {
        convolve_ = ready_ < std::size_t(d_.half);
        if (!convolve_)
            return;
        const std::uint64_t left = frameCount_ - std::min<std::uint64_t>(framesRead_, frameCount_);
        const std::size_t toRead =
            static_cast<std::size_t>(std::min<std::uint64_t>(stageOne_.BlockFrames(), left));
        const std::size_t frameBytes = std::size_t(channels_) * sourceWidth_;
        got_ = toRead ? std::fread(rawIn_.data(), frameBytes, toRead, in) : 0;
        framesRead_ += got_;
        endOfInput_ = endOfInput_ || got_ < toRead || framesRead_ >= frameCount_;
        ready_ += std::size_t(d_.oversampling) * stageOne_.BlockFrames();
    }

    // Both filter stages and the quantiser for every channel, channels on
    // the team's threads; returns the block's output frames.
    int FilterBlock(ssrc::OutputStage& output)
    {
        team_.ForEachChannel([&](int ch, int slot) {
            ends_[ch] = FilterChannel(ch, scratch_[slot]);
            output.QuantiseChannel(output_.data(), ends_[ch].frames, ch);
        });
        // Every channel ends where the first does.
        const int n = ends_[0].frames;
        phase_ = ends_[0].phase;
        position_ += static_cast<std::int64_t>(n) * (d_.f2 / d_.targetRate);
        return n;
    }

    // Moves stage one's outputs on by what the block's outputs consumed.
    void Advance()
    {
        const std::int64_t s = std::min<std::int64_t>((position_ - 1) / d_.phases, d_.half);
        for (ssrc::StuffedChannel& stuffed : stuffed_)
            stuffed.Consume(static_cast<int>(s));
        ready_ -= static_cast<std::size_t>(s);
        position_ -= s * d_.phases;
    }

    int MaxOutputFrames() const { return static_cast<int>(output_.size() / channels_); }
    std::uint64_t FramesRead() const { return framesRead_; }
    bool EndOfInput() const { return endOfInput_; }
    double Fraction() const { return frameCount_ ? double(framesRead_) / frameCount_ : 1.0; }

private:
    // Where a channel's pass through the block left the running state.
    struct ChannelEnd {
        int frames = 0;
        int phase = 0;
    };

    // Transform buffers of one of the team's threads.
    struct Scratch {
        std::vector<double> block;
        std::vector<double> phase;
    };

    ChannelEnd FilterChannel(int ch, Scratch& scratch)
    {
        const int H = d_.half, P = d_.phases;
        const ssrc::PolyphaseSchedule schedule{d_.order.data(), d_.increment.data(), P};
        if (convolve_) {
            ssrc::DecodeChannel(rawIn_.data(), sourceWidth_, channels_, ch, got_, scratch.block.data());
            stuffed_[ch].Convolve(scratch.block.data(), got_, scratch.phase.data());
        }
        // T + 1 samples before the block, then the block's H.
        const double* history = stuffed_[ch].Window();
        ChannelEnd end;
        std::int64_t t = position_ / P + (position_ % P != 0);
        end.phase = phase_;
        end.frames = ssrc::RunPolyphase(stageTwo_, schedule, history, &t, H + 1, MaxOutputFrames(),
                                        &end.phase, output_.data() + ch, channels_);
        return end;
    }

    const DownsampleDesign& d_;
    int channels_;
    int sourceWidth_;
    std::uint64_t frameCount_;
    ssrc::StuffedFilter stageOne_;
    ssrc::PolyphaseFilter stageTwo_;
    std::vector<ssrc::StuffedChannel> stuffed_;
    std::vector<unsigned char> rawIn_;  // the block as read; each channel's task decodes its samples
    std::vector<double> output_;
    std::vector<ChannelEnd> ends_;
    ssrc::ChannelTeam team_;
    std::vector<Scratch> scratch_;  // per thread of the team
    std::uint64_t framesRead_ = 0;
    bool endOfInput_ = false;
    bool convolve_ = false;
    std::size_t got_ = 0;
    std::size_t ready_ = 0;   // stage-one outputs finished and not yet used, per channel
    std::int64_t position_;   // stage two, in F2 ticks
    int phase_;
};

}  // namespace

double SsrcEngine::ResampleDown(std::FILE* in, std::FILE* out, int channels, int sourceWidth,
                                int targetWidth, int sourceRate, int targetRate, double gain,
                                std::uint32_t frames, int twoPass, int ditherKind)
{
    (void)twoPass;
    return Convert<DownStream>(ssrc::DesignDownsample(sourceRate, targetRate, settings_), targetRate,
                               in, out, channels, sourceWidth, targetWidth, gain, frames, ditherKind,
                               false);
}
