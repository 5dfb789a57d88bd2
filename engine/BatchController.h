// Runs a batch: one thread walks the row table in key order and converts
// each marked row on a worker thread of its own, then reports that the
// batch is done. By default one row at a time; a caller may let several
// rows convert side by side, each through its own worker. Everything it and
// its rows report goes to the RowEvents given to Start.
#pragma once

#include "engine/ConversionItem.h"
#include "engine/RowEvents.h"
#include "engine/BatchSettings.h"

#include "engine/AlbumGains.h"
#include "engine/Worker.h"

#include "platform/core/Types.h"

#include <atomic>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>

class BatchController {
public:
    BatchController() = default;
    // Cancels a running batch and waits for it: no thread outlives the
    // rows it reads.
    ~BatchController();
    BatchController(const BatchController&) = delete;
    BatchController& operator=(const BatchController&) = delete;

    int SetRows(RowTable* rows);
    // How many rows may convert at once (values below 1 count as 1). Each
    // row still sends start, progress and done in that order, but the
    // messages of different rows interleave; the batch's done comes after
    // every row's. 0 while a batch runs (nothing changes), else 1.
    int SetRowsAtOnce(int rows);
    // 0 when no row table was set or a batch is still running; otherwise
    // starts the batch thread and returns 1 at once. The batch converts with
    // a copy of `settings`, whatever happens to the caller's afterwards, and
    // reports to `events`, which must outlive it (see Wait).
    int Start(const BatchSettings& settings, RowEvents& events);
    // Asks the running batch to stop after the current chunk (or resampling
    // block) of every running row; their unfinished outputs are removed and
    // no further row starts. Returns at once; safe to call from any thread.
    void Cancel();
    // Waits until the running batch (if any) has finished, handling messages
    // sent to the caller meanwhile.
    void Wait();
    bool IsRunning() const { return running_.load(); }

private:
    // One row's worker while it runs.
    struct RowRun {
        BatchController* batch = nullptr;
        RowJob job;
        win::DWORD threadId = 0;
        win::HANDLE thread = nullptr;
        bool ended = false;  // under lock_
    };

    static win::DWORD BatchThread(void* controller);
    static win::DWORD RowThread(void* run);
    void StartRow(ConversionItem* item);
    // Returns once fewer than `limit` rows run, closing the ended ones.
    void WaitForRowsBelow(std::size_t limit);

    RowTable* rows_ = nullptr;
    BatchSettings settings_;
    RowEvents* events_ = nullptr;
    std::unique_ptr<AlbumGains> albums_;
    int rowsAtOnce_ = 1;
    win::HANDLE batch_ = nullptr;
    std::atomic<bool> running_{false};
    std::atomic<bool> cancelled_{false};
    std::mutex lock_;
    std::condition_variable rowEnded_;
    std::list<RowRun> workers_;  // touched by the batch thread; `ended` by the rows
};
