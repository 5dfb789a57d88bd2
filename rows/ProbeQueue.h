// Probes added paths off the adding thread: a few threads learn what each
// file holds (FileInfoThread), and the adding thread takes the finished
// probes in the order the paths were given, whenever it is told some are
// ready. A window stays responsive while thousands of files are examined.
#pragma once

#include "engine/ConversionItem.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ProbeQueue {
public:
    // `ready` is called on a probing thread when the probe at the front of
    // the queue has finished; it should only wake the adding thread (it may
    // be called again before that thread has taken anything).
    explicit ProbeQueue(std::function<void()> ready, int threads = DefaultThreads());
    // Drops what is not probed yet and waits for the probes under way.
    ~ProbeQueue();
    ProbeQueue(const ProbeQueue&) = delete;
    ProbeQueue& operator=(const ProbeQueue&) = delete;

    void Push(const std::vector<std::wstring>& paths);
    // The finished probes at the front of the queue, in the order pushed.
    std::vector<std::unique_ptr<ConversionItem>> TakeReady();
    // True while a pushed path has not been taken yet.
    bool Busy() const;

    static int DefaultThreads();

private:
    struct Job {
        std::unique_ptr<ConversionItem> probe;
        bool done = false;
    };
    void Run();

    std::function<void()> ready_;
    mutable std::mutex mutex_;
    std::condition_variable work_;
    // Jobs in the order pushed; `next_` counts those already handed out.
    std::deque<std::shared_ptr<Job>> jobs_;
    std::size_t next_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};
