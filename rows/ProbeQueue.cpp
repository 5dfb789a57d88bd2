#include "rows/ProbeQueue.h"

#include "rows/FileInfoThread.h"

#include <algorithm>

ProbeQueue::ProbeQueue(std::function<void()> ready, int threads) : ready_(std::move(ready))
{
    for (int i = 0; i < std::max(1, threads); ++i)
        threads_.emplace_back([this] { Run(); });
}

ProbeQueue::~ProbeQueue()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

// Probing is mostly waiting on the disk; a couple of threads keep it going
// without taking the machine from a batch or the window.
int ProbeQueue::DefaultThreads()
{
    unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 2u, 4u));
}

void ProbeQueue::Push(const std::vector<std::wstring>& paths)
{
    {
        std::lock_guard lock(mutex_);
        for (const std::wstring& path : paths) {
            auto job = std::make_shared<Job>();
            job->probe = std::make_unique<ConversionItem>();
            job->probe->SetPath(path);
            jobs_.push_back(std::move(job));
        }
    }
    work_.notify_all();
}

std::vector<std::unique_ptr<ConversionItem>> ProbeQueue::TakeReady()
{
    std::vector<std::unique_ptr<ConversionItem>> ready;
    std::lock_guard lock(mutex_);
    while (!jobs_.empty() && jobs_.front()->done) {
        ready.push_back(std::move(jobs_.front()->probe));
        jobs_.pop_front();
        --next_;
    }
    return ready;
}

bool ProbeQueue::Busy() const
{
    std::lock_guard lock(mutex_);
    return !jobs_.empty();
}

void ProbeQueue::Run()
{
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(mutex_);
            work_.wait(lock, [this] { return stopping_ || next_ < jobs_.size(); });
            if (stopping_)
                return;
            job = jobs_[next_++];
        }
        // The record is this thread's alone until it is marked done.
        FileInfoThread(job->probe.get());
        bool front;
        {
            std::lock_guard lock(mutex_);
            job->done = true;
            front = !jobs_.empty() && jobs_.front() == job;
        }
        // Only a finished front lets the adding thread take anything.
        if (front)
            ready_();
    }
}
