#include "resample/ChannelTeam.h"

#include <algorithm>
#include <system_error>

namespace ssrc {

ChannelTeam::ChannelTeam(int channels, int threads)
    : channels_(channels)
{
    const int helpers = std::min(threads, channels) - 1;
    for (int i = 0; i < helpers; ++i) {
        try {
            helpers_.emplace_back([this, i] { Help(i + 1); });
        } catch (const std::system_error&) {
            break;  // the threads already started share the work
        }
    }
}

ChannelTeam::~ChannelTeam()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : helpers_)
        t.join();
}

bool ChannelTeam::TakeChannels(int slot)
{
    std::unique_lock<std::mutex> lock(mutex_);
    bool finishedLast = false;
    while (next_ < channels_) {
        const int ch = next_++;
        const std::function<void(int, int)>& task = *task_;
        lock.unlock();
        task(ch, slot);
        lock.lock();
        finishedLast = --unfinished_ == 0;
    }
    return finishedLast;
}

void ChannelTeam::ForEachChannel(const std::function<void(int, int)>& task)
{
    if (helpers_.empty()) {
        for (int ch = 0; ch < channels_; ++ch)
            task(ch, 0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        task_ = &task;
        next_ = 0;
        unfinished_ = channels_;
        ++round_;
    }
    wake_.notify_all();
    TakeChannels(0);
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return unfinished_ == 0; });
    task_ = nullptr;
}

void ChannelTeam::Help(int slot)
{
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || round_ != seen; });
            if (stopping_)
                return;
            seen = round_;
        }
        if (TakeChannels(slot))
            finished_.notify_one();
    }
}

}  // namespace ssrc
