// Rewrites a finished WAV file as 16-bit PCM at 44100 Hz with the same
// channels. Called as: construct, Open, and only when Open succeeded, Run
// then Close. The output is written to a temporary file that replaces the
// output's name only after a complete, successful Run; on any failure
// (converting in place or not) the name keeps exactly what it had.
#pragma once

#include "platform/core/OutputFile.h"
#include "platform/core/Types.h"
#include "resample/ResampleListener.h"
#include "resample/SsrcEngine.h"

#include <atomic>
#include <cstdio>
#include <string>

class WavResampler {
public:
    // `notifyWindow` receives WM_SSRC_START, WM_SSRC_PROGRESS and
    // WM_SSRC_DONE (posted); null posts nothing.
    explicit WavResampler(win::HWND notifyWindow = nullptr);
    // Start, progress and done go to `listener` instead (null: nobody); it
    // must outlive the resampler.
    void SetListener(ResampleListener* listener);
    WavResampler(const WavResampler&) = delete;
    WavResampler& operator=(const WavResampler&) = delete;
    // Releases what a missing Close left open, keeping the input as it is.
    virtual ~WavResampler();

    // 1 when both files are open (and WM_SSRC_START posted), else 0.
    int Open(const wchar_t* in, const wchar_t* out);
    // 1 when the whole output was written and its header completed.
    int Run();
    // Closes both files; the output replaces its name only when Run
    // succeeded and it reached the disk, otherwise it is discarded and the
    // name keeps what it had. Posts WM_SSRC_DONE with lParam 0 when the file
    // was converted, 1 when it was kept as it was.
    void Close();

    // Run stops after the block during which `*cancel` became true.
    void SetCancelFlag(const std::atomic<bool>* cancel) { engine_.SetCancelFlag(cancel); }
    // Close stores its FailureReason here before it posts WM_SSRC_DONE, so
    // whoever hears of it can read why.
    void SetReasonSink(std::wstring* reason) { reasonSink_ = reason; }
    // Why the file was kept as it was ("kept at 31500 Hz: no resampling
    // design for this rate"); empty while nothing failed.
    const std::wstring& FailureReason() const { return reason_; }

private:
    void Discard();
    int Fail(std::wstring reason);

    std::wstring inputPath_;
    std::wstring outputPath_;
    std::FILE* input_ = nullptr;
    win::OutputFile output_;
    std::FILE* stream_ = nullptr;  // output_'s
    int inPlace_ = 0;
    int rate_ = 0;
    SsrcEngine engine_;
    WindowResampleListener windowListener_;
    ResampleListener* listener_;
    bool succeeded_ = false;
    std::wstring reason_;
    std::wstring* reasonSink_ = nullptr;
};
