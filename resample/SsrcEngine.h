// The sample-rate converter behind WavResampler: three conversion routines
// that stream PCM from one file to another, the dither stage they all
// quantise through, and their progress reporting.
#pragma once

#include "platform/core/Types.h"
#include "resample/Dither.h"
#include "resample/FilterSettings.h"
#include "resample/ResampleListener.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <ctime>

class SsrcEngine {
public:
    // How the last conversion routine ended.
    enum class Outcome {
        Done,
        Refused,       // the rate pair (or a format) is not supported; nothing was read or written
        WriteFailed,   // the output could not take every byte; it stopped there
        OutOfMemory,   // the filters or buffers could not be allocated
        Cancelled,     // the cancel flag was raised; it stopped after a block
    };

    // `notifyWindow` receives WM_SSRC_PROGRESS while up-sampling; null for none.
    explicit SsrcEngine(win::HWND notifyWindow = nullptr);
    // Up-sampling progress goes to `listener` instead (null: nobody); it
    // must outlive the conversions.
    void SetListener(ResampleListener* listener) { listener_ = listener; }
    SsrcEngine(const SsrcEngine&) = delete;
    SsrcEngine& operator=(const SsrcEngine&) = delete;
    virtual ~SsrcEngine();

    // Each routine reads `frames` frames of `channels` interleaved samples
    // of `sourceWidth` bytes from `in` (standing at the first sample) and
    // writes samples of `targetWidth` bytes (1 to 3) to `out`; it returns
    // the peak the quantiser recorded (above 1 means clipping). The
    // two-pass switch is accepted and ignored: that mode is not offered.
    double RequantizeOnly(std::FILE* in, std::FILE* out, int channels, int sourceWidth,
                          int targetWidth, double gain, std::uint32_t frames, int twoPass,
                          int ditherKind);
    double ResampleUp(std::FILE* in, std::FILE* out, int channels, int sourceWidth,
                      int targetWidth, int sourceRate, int targetRate, double gain,
                      std::uint32_t frames, int twoPass, int ditherKind);
    double ResampleDown(std::FILE* in, std::FILE* out, int channels, int sourceWidth,
                        int targetWidth, int sourceRate, int targetRate, double gain,
                        std::uint32_t frames, int twoPass, int ditherKind);
    Outcome LastOutcome() const { return outcome_; }
    // The routines stop after the block during which `*cancel` became true.
    void SetCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }

    int DitherSetup(int targetRate, int channels, int clipMin, int clipMax, int kind, int density,
                    double amplitude);
    int DitherQuantize(double value, double* peak, int kind, int channel);
    void DitherRelease(int channels);

    void ProgressStart();
    void ProgressUpdate(double fraction);
    int ReportError(int number);

private:
    // Checks what every routine takes; refuses (and records it) otherwise.
    bool Accepts(int channels, int sourceWidth, int targetWidth, int ditherKind);
    void PostProgress(int percent);
    bool CancelRequested() const { return cancel_ && cancel_->load(); }
    // Records a refused rate pair and writes why to the trace; `divided` is
    // the rate whose ratio to the common divisor had to be 2 or 3.
    void Refuse(int sourceRate, int targetRate, int divided, int ratio, bool noFactor, const char* reason);
    // Both resampling routines around their block loop (resample/Conversion.h):
    // refuses a refused design or an unsupported layout, builds the
    // Stream and the output stage, runs the blocks and reports running
    // out of memory. `divided` is the rate whose ratio to the common
    // divisor had to be 2 or 3; `postProgress` also posts the percentage.
    template <class Stream, class Design>
    double Convert(const Design& d, int divided, std::FILE* in, std::FILE* out, int channels,
                   int sourceWidth, int targetWidth, double gain, std::uint32_t frames,
                   int ditherKind, bool postProgress);
    // The block loop of both resampling routines: read, filter and hand each
    // block to the output stage until it has written the last frame;
    // `everyEighthBlock` is told the fraction read so far.
    template <class Stream, class Output, class Report>
    double RunBlocks(Stream& stream, Output& output, std::FILE* in, Report&& everyEighthBlock)
    {
        ProgressStart();
        for (unsigned block = 0;; ++block) {
            stream.ReadBlock(in);
            const int n = stream.FilterBlock(output);
            if (!output.Put(n, stream.FramesRead(), stream.EndOfInput()))
                break;
            stream.Advance();
            if ((block & 7) == 7)
                everyEighthBlock(stream.Fraction());
            if (CancelRequested())
                break;
        }
        ProgressUpdate(1.0);
        if (output.WriteFailed())
            outcome_ = Outcome::WriteFailed;
        else if (CancelRequested())
            outcome_ = Outcome::Cancelled;
        return output.Peak();
    }

    ssrc::FilterSettings settings_;
    int quiet_ = 0;
    ssrc::Dither dither_;
    int lastPercent_ = -1;
    std::time_t startTime_ = 0;
    long lastElapsed_ = 0;
    WindowResampleListener windowListener_;
    ResampleListener* listener_;
    Outcome outcome_ = Outcome::Done;
    const std::atomic<bool>* cancel_ = nullptr;
};
