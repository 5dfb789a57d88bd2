// Ctrl-C, SIGTERM, SIGHUP and SIGQUIT end kolvex-convert cleanly: a running
// batch is asked to stop after its current chunk (or resampling block),
// which removes its unfinished temporary file, and the run ends with its
// summary. Before the batch starts there is nothing to clean up and the run
// ends at once; a second signal ends it at once too, removing the
// unfinished files first. SIGPIPE is ignored:
// a closed output shows up as a write error instead.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

class BatchController;

class SignalWatcher {
public:
    // Call before any other thread starts: the signals are blocked in this
    // thread (and so in every thread started later) and taken by a thread
    // of the watcher's own.
    SignalWatcher();
    ~SignalWatcher();
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

    // The batch a signal cancels; null when none runs. Once Watch(nullptr)
    // returns, the watcher no longer touches the batch it had.
    void Watch(BatchController* batch);
    // The signal that arrived, 0 when none.
    int Signal() const { return signal_.load(); }

private:
    void Run();

    std::thread thread_;
    std::mutex lock_;
    BatchController* batch_ = nullptr;
    std::atomic<int> signal_{0};
};
