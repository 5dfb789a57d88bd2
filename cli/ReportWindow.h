// A window without a display that receives the engine's messages for
// kolvex-convert and passes them on to an observer, until the batch ends.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>

class BatchObserver {
public:
    virtual ~BatchObserver() = default;
    virtual void RowStarted(std::int32_t key) = 0;
    virtual void RowProgress(std::int64_t positionMs) = 0;
    virtual void RowDone(std::int32_t key, bool written) = 0;
    virtual void ResampleStarted() = 0;
    virtual void ResampleProgress(int percent) = 0;
    virtual void ResampleDone(bool converted) = 0;
};

class ReportWindow {
public:
    explicit ReportWindow(BatchObserver& observer);
    ~ReportWindow();
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    win::HWND Handle() const { return hwnd_; }
    // Pumps messages until the batch-done message arrives.
    void RunUntilBatchDone();

private:
    static win::LRESULT WindowProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
    win::LRESULT OnMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);

    BatchObserver& observer_;
    win::HWND hwnd_ = nullptr;
    bool batchDone_ = false;
};
