// Runs one task per channel on a few threads at once. The helper threads
// are started once per conversion and wait between blocks, so a block
// costs one wake-up, not a thread start. Channels never share state, so
// the result is the same on any number of threads; with one thread (or one
// channel) everything runs on the caller's thread, as serial code would.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ssrc {

class ChannelTeam {
public:
    // Uses up to `threads` threads (the caller's included), never more
    // than there are channels. When a helper cannot be started the team
    // works with the threads it has.
    ChannelTeam(int channels, int threads);
    ChannelTeam(const ChannelTeam&) = delete;
    ChannelTeam& operator=(const ChannelTeam&) = delete;
    ~ChannelTeam();

    // Calls task(ch, slot) once for every channel and returns when all are
    // done; `slot` (0 .. Threads() - 1) tells the threads apart, so that a
    // task can use scratch memory of its thread's own instead of one per
    // channel. The task must not throw.
    void ForEachChannel(const std::function<void(int, int)>& task);

    int Threads() const { return static_cast<int>(helpers_.size()) + 1; }

private:
    void Help(int slot);
    // Takes channels until none is left; true when this call finished the last.
    bool TakeChannels(int slot);

    int channels_;
    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    const std::function<void(int, int)>* task_ = nullptr;
    unsigned round_ = 0;   // counts ForEachChannel calls, so helpers see new work
    int next_ = 0;         // first channel nobody has taken
    int unfinished_ = 0;   // channels taken or not, still running or waiting
    bool stopping_ = false;
};

}  // namespace ssrc
