// Rewrites a finished WAV file as 16-bit PCM at 44100 Hz with the same
// channels. Called as: construct, Open, and only when Open succeeded, Run
// then Close. Converting a file onto itself goes through a temporary file
// that replaces the original only after a complete, successful Run; on any
// failure the original stays exactly as it was.
#pragma once

#include "platform/core/Types.h"
#include "resample/SsrcEngine.h"

#include <cstdio>
#include <string>

class WavResampler {
public:
    // `notifyWindow` receives WM_SSRC_START, WM_SSRC_PROGRESS and
    // WM_SSRC_DONE (posted); null posts nothing.
    explicit WavResampler(win::HWND notifyWindow = nullptr);
    WavResampler(const WavResampler&) = delete;
    WavResampler& operator=(const WavResampler&) = delete;
    // Releases what a missing Close left open, keeping the input as it is.
    virtual ~WavResampler();

    // 1 when both files are open (and WM_SSRC_START posted), else 0.
    int Open(const wchar_t* in, const wchar_t* out);
    // 1 when the whole output was written and its header completed.
    int Run();
    // Closes both files; replaces the input by the output when converting
    // in place and Run succeeded, otherwise discards the output. Posts
    // WM_SSRC_DONE.
    void Close();

private:
    void Discard();

    std::wstring inputPath_;
    std::wstring outputPath_;
    std::wstring temporaryPath_;
    std::FILE* input_ = nullptr;
    std::FILE* output_ = nullptr;
    int inPlace_ = 0;
    SsrcEngine engine_;
    win::HWND notifyWindow_;
    bool succeeded_ = false;
};
