// Runs a batch: one thread walks the row table in key order and converts
// each marked row on a worker thread, one row at a time, then tells the
// main window the batch is done.
#pragma once

#include "engine/ConversionItem.h"

#include "platform/Types.h"

#include <atomic>

class BatchController {
public:
    BatchController() = default;
    ~BatchController();
    BatchController(const BatchController&) = delete;
    BatchController& operator=(const BatchController&) = delete;

    int SetRows(RowTable* rows);
    // 0 when no row table was set or a batch is running; otherwise starts the batch thread and
    // returns 1 at once. The window argument is not used: workers report to
    // the published main window.
    int Start(int mode, win::HWND window);
    // Waits until the running batch (if any) has finished, handling messages
    // sent to the caller meanwhile.
    void Wait();
    // Asks the running batch to stop; returns at once.
    void Cancel() { cancel_ = true; }
    bool IsRunning() const { return running_; }

private:
    static win::DWORD BatchThread(void* controller);

    RowTable* rows_ = nullptr;
    win::HANDLE worker_ = nullptr;
    int mode_ = 0;
    win::HANDLE batch_ = nullptr;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> running_{false};
};
