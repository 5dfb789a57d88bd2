// To a higher rate: a short polyphase filter interpolates the source to
// R x K, a long FFT filter at that rate cuts everything above S / 2, and
// every K-th sample goes to the output stage.
#include "resample/SsrcEngine.h"

#include "platform/core/WorkThreads.h"
#include "resample/ChannelTeam.h"
#include "resample/Conversion.h"
#include "resample/FftFilter.h"
#include "resample/KaiserDesign.h"
#include "resample/PolyphaseFilter.h"
#include "resample/PolyphaseLoop.h"
#include "resample/SampleCodec.h"
#include "resample/UpsampleDesign.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using ssrc::UpsampleDesign;

// Input frames one block of H stage-two samples spans.
int FramesPerBlock(const UpsampleDesign& d)
{
    return static_cast<int>(std::floor(double(d.half) * d.sourceRate / double(d.f2)));
}

// The filters, buffers and running state of one up-sampling conversion.
class UpStream {
public:
    UpStream(const UpsampleDesign& d, int channels, int sourceWidth, std::uint32_t frameCount,
             double alpha)
        : d_(d),
          channels_(channels),
          sourceWidth_(sourceWidth),
          frameCount_(frameCount),
          stageOne_(ssrc::DesignPolyphase(d.length1, d.cutoff1, double(d.f1),
                                          double(d.f1) / d.sourceRate, d.phases1, alpha)),
          stageTwo_(d.length2, d.cutoff2, double(d.f2), 1.0, d.fftLength, alpha),
          // The most frames a block can leave in the history, one frame of
          // padding after them.
          capacity_(std::max(d.historyFrames, FramesPerBlock(d) + 1 + d.taps1) + 1),
          history_(channels, std::vector<double>(capacity_, 0.0)),
          historyLength_(d.historyFrames),
          overlap_(channels, std::vector<double>(d.half / d.oversampling + 1, 0.0)),
          rawIn_(static_cast<std::size_t>(capacity_) * channels * sourceWidth),
          output_(static_cast<std::size_t>(d.half / d.oversampling + 1) * channels),
          ends_(channels),
          team_(channels, win::RowThreads()),
          position_(d.startPosition),
          phase_(d.startPhase),
          offset_(d.startOffset)
    {
        for (int slot = 0; slot < team_.Threads(); ++slot)
            work_.emplace_back(d.fftLength, 0.0);
    }

    // Appends the input frames this block needs to the history, zeros
    // past the end of the input.
    void ReadBlock(std::FILE* in)
    {
        const int requested = std::max(0, FramesPerBlock(d_) + 1 + d_.taps1 - historyLength_);
        const std::uint64_t left = frameCount_ - std::min<std::uint64_t>(framesRead_, frameCount_);
        const std::size_t toRead = static_cast<std::size_t>(std::min<std::uint64_t>(requested, left));
        const std::size_t frameBytes = std::size_t(channels_) * sourceWidth_;
        const std::size_t got = toRead ? std::fread(rawIn_.data(), frameBytes, toRead, in) : 0;
        // The channels' tasks decode the samples into their histories.
        appendAt_ = historyLength_;
        got_ = got;
        requested_ = requested;
        historyLength_ += requested;
        framesRead_ += got;
        endOfInput_ = got < toRead || framesRead_ >= frameCount_;
    }

    // Both filter stages and the quantiser for every channel, channels on
    // the team's threads; returns the block's output frames.
    int FilterBlock(ssrc::OutputStage& output)
    {
        team_.ForEachChannel([&](int ch, int slot) {
            ends_[ch] = FilterChannel(ch, work_[slot].data());
            output.QuantiseChannel(output_.data(), ends_[ch].frames, ch);
        });
        // Every channel ends where the first does.
        phase_ = ends_[0].phase;
        offset_ = ends_[0].offset;
        position_ += static_cast<std::int64_t>(d_.ratio) * d_.half / d_.oversampling;
        return ends_[0].frames;
    }

    // Forgets the input frames no later output can reach.
    void Advance()
    {
        const std::int64_t s = (position_ - 1) / d_.phases1;
        for (auto& h : history_)
            std::memmove(h.data(), h.data() + s, sizeof(double) * (historyLength_ - s));
        historyLength_ -= static_cast<int>(s);
        position_ -= s * d_.phases1;
    }

    int MaxOutputFrames() const { return d_.half / d_.oversampling + 1; }
    std::uint64_t FramesRead() const { return framesRead_; }
    bool EndOfInput() const { return endOfInput_; }
    double Fraction() const { return frameCount_ ? double(framesRead_) / frameCount_ : 1.0; }

private:
    // Where a channel's pass through the block left the running state.
    struct ChannelEnd {
        int frames = 0;
        int phase = 0;
        int offset = 0;
    };

    // `work` is scratch of the thread's own.
    ChannelEnd FilterChannel(int ch, double* work)
    {
        const int K = d_.oversampling;
        const int H = d_.half, L = d_.fftLength;
        const ssrc::PolyphaseSchedule schedule{d_.order.data(), d_.inputStep.data(),
                                               static_cast<int>(d_.order.size())};
        ChannelEnd end;
        double* history = history_[ch].data();
        double* appended = history + appendAt_;
        ssrc::DecodeChannel(rawIn_.data(), sourceWidth_, channels_, ch, got_, appended);
        // One frame more: the last output of a block may reach one frame
        // past the history with a tap that is padding (zero).
        std::fill(appended + got_, appended + requested_ + 1, 0.0);

        std::int64_t frame = (d_.sourceRate * (position_ - 1) + d_.f1) / d_.f1;
        end.phase = phase_;
        ssrc::RunPolyphase(stageOne_, schedule, history, &frame, INT64_MAX, H, &end.phase, work, 1);

        stageTwo_.Apply(work);

        double* overlap = overlap_[ch].data();
        int i = offset_, j = 0;
        for (; i < H; i += K, ++j)
            output_[std::size_t(j) * channels_ + ch] = overlap[j] + work[i];
        end.frames = j;
        end.offset = i - H;
        for (int m = 0; i < L; i += K, ++m)
            overlap[m] = work[i];
        return end;
    }

    const UpsampleDesign& d_;
    int channels_;
    int sourceWidth_;
    std::uint64_t frameCount_;
    ssrc::PolyphaseFilter stageOne_;
    ssrc::FftFilter stageTwo_;
    int capacity_;  // frames of history per channel
    std::vector<std::vector<double>> history_;
    int historyLength_;
    std::vector<std::vector<double>> work_;  // per thread of the team
    std::vector<std::vector<double>> overlap_;
    std::vector<unsigned char> rawIn_;
    int appendAt_ = 0;       // where this block's frames go in the histories
    std::size_t got_ = 0;    // frames read for this block
    int requested_ = 0;      // frames this block adds, padding included
    std::vector<double> output_;
    std::vector<ChannelEnd> ends_;
    ssrc::ChannelTeam team_;
    std::uint64_t framesRead_ = 0;
    bool endOfInput_ = false;
    std::int64_t position_;  // stage one, in F1 ticks
    int phase_;
    int offset_;  // first F2 sample of the next block to keep
};

}  // namespace

double SsrcEngine::ResampleUp(std::FILE* in, std::FILE* out, int channels, int sourceWidth,
                              int targetWidth, int sourceRate, int targetRate, double gain,
                              std::uint32_t frames, int twoPass, int ditherKind)
{
    (void)twoPass;
    return Convert<UpStream>(ssrc::DesignUpsample(sourceRate, targetRate, settings_), sourceRate, in,
                             out, channels, sourceWidth, targetWidth, gain, frames, ditherKind, true);
}
