// Windows without a display that receive the engine's messages for
// kolvex-convert and pass them on to an observer, until the batch ends.
// Every marked row reports to a window of its own, so that messages which
// carry no row key (resampling) still name their row while rows convert
// side by side. A row's progress goes to a window its own worker thread
// opens, so that the progress the worker must wait for is handled at once,
// on that thread: the observer hears of it there.
#pragma once

#include "engine/ConversionItem.h"
#include "engine/ProgressWindows.h"

#include "platform/core/Types.h"

#include <cstdint>
#include <list>
#include <mutex>

// RowProgress comes on the row's worker thread, everything else on the
// thread that runs the report window.
class BatchObserver {
public:
    virtual ~BatchObserver() = default;
    virtual void RowStarted(std::int32_t key) = 0;
    virtual void RowProgress(std::int32_t key, std::int64_t positionMs) = 0;
    virtual void RowDone(std::int32_t key, bool written) = 0;
    virtual void ResampleStarted(std::int32_t key) = 0;
    virtual void ResampleProgress(std::int32_t key, int percent) = 0;
    virtual void ResampleDone(std::int32_t key, bool converted) = 0;
};

class ReportWindow : public ProgressWindows {
public:
    // Points every marked row of `rows` at a window of its own until the
    // report window goes.
    ReportWindow(BatchObserver& observer, RowTable& rows);
    ~ReportWindow() override;
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    // The window the batch's own messages go to.
    win::HWND Handle() const { return windows_.front().hwnd; }
    // Pumps messages until the batch-done message arrives.
    void RunUntilBatchDone();

    win::HWND OpenProgressWindow(const ConversionItem& row) override;
    void CloseProgressWindow(win::HWND window) override;

private:
    // One window and the row it speaks for (-1: the batch).
    struct Target {
        ReportWindow* owner = nullptr;
        std::int32_t key = -1;
        win::HWND hwnd = nullptr;
    };

    win::HWND Open(std::int32_t key);
    static win::LRESULT WindowProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
    win::LRESULT OnMessage(const Target& target, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);

    BatchObserver& observer_;
    RowTable& rows_;
    std::mutex windowsLock_;     // worker threads add and remove their windows
    std::list<Target> windows_;  // stable addresses: each window holds its own
    bool batchDone_ = false;
};
