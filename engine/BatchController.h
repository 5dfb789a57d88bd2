// Runs a batch: one thread walks the row table in key order and converts
// each marked row on a worker thread, one row at a time, then tells the
// main window the batch is done.
#pragma once

#include "engine/ConversionItem.h"

#include "platform/core/Types.h"

#include <atomic>

class BatchController {
public:
    BatchController() = default;
    // Cancels a running batch and waits for it: no thread outlives the
    // rows it reads.
    ~BatchController();
    BatchController(const BatchController&) = delete;
    BatchController& operator=(const BatchController&) = delete;

    int SetRows(RowTable* rows);
    // 0 when no row table was set or a batch is still running; otherwise
    // starts the batch thread and returns 1 at once. The window argument is
    // not used: workers report to the published main window.
    int Start(int mode, win::HWND window);
    // Asks the running batch to stop after the current chunk (or resampling
    // block); the unfinished output is removed and no further row starts.
    // Returns at once; safe to call from any thread.
    void Cancel();
    // Waits until the running batch (if any) has finished, handling messages
    // sent to the caller meanwhile.
    void Wait();
    bool IsRunning() const { return running_.load(); }

private:
    static win::DWORD BatchThread(void* controller);

    RowTable* rows_ = nullptr;
    win::HANDLE batch_ = nullptr;
    std::atomic<bool> running_{false};
    std::atomic<bool> cancelled_{false};
};
