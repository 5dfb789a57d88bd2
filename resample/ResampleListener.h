// Who hears how a resampling goes. Every call comes on the thread that
// resamples: started once the files are open, progress while up-sampling
// (whole percent), done once the file is finished, converted or not.
#pragma once

#include "platform/core/Types.h"

class ResampleListener {
public:
    virtual ~ResampleListener() = default;
    virtual void ResampleStarted() = 0;
    virtual void ResampleProgress(int percent) = 0;
    virtual void ResampleDone(bool converted) = 0;
};

// Posts WM_SSRC_START, WM_SSRC_PROGRESS and WM_SSRC_DONE to a window, the
// way a window that watches the resampler hears of it. A null window hears
// nothing.
class WindowResampleListener : public ResampleListener {
public:
    explicit WindowResampleListener(win::HWND window) : window_(window) { }
    void ResampleStarted() override;
    void ResampleProgress(int percent) override;
    void ResampleDone(bool converted) override;

private:
    win::HWND window_;
};
