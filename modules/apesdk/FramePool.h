// Decodes frames ahead on a few threads, each with a decoder context of its
// own, and hands them out in file order. The reader's thread reads the
// demuxer and queues each packet; it waits only when the frame it needs next
// is still being decoded. At most `ahead` frames are read and not yet handed
// out, which bounds the memory one stream may hold.
#pragma once

#include "modules/apesdk/ApeDemuxer.h"
#include "modules/apesdk/FrameDecoder.h"
#include "modules/apesdk/FrameSource.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class FramePool : public FrameSource {
public:
    static constexpr const char* kThreadName = "ape decode";

    // One thread per decoder.
    FramePool(ApeDemuxer& demuxer, std::vector<std::unique_ptr<FrameDecoder>> decoders, std::size_t ahead);
    // Frames in flight are abandoned half-way and the threads joined.
    ~FramePool() override;

    bool Next(DecodedFrame& frame) override;
    void Restart() override;

private:
    // One packet on its way through the pool. `done` and the job queue are
    // guarded by mutex_; the frame belongs to the decoding thread until
    // `done`, then to the reader.
    struct Job {
        ~Job();
        AVPacket* packet = nullptr;
        DecodedFrame frame;
        std::atomic<bool> cancel{false};
        bool done = false;
    };

    void ReadAhead();
    void Work(FrameDecoder& decoder);
    void CancelAll();

    ApeDemuxer& demuxer_;
    std::vector<std::unique_ptr<FrameDecoder>> decoders_;
    std::size_t ahead_;

    // The reader's alone.
    std::deque<std::shared_ptr<Job>> order_;          // read, not handed out, file order
    std::vector<std::vector<unsigned char>> spare_;  // PCM buffers to reuse
    bool inputEnded_ = false;

    std::mutex mutex_;
    std::condition_variable work_;   // a job was queued, or stop_
    std::condition_variable ready_;  // a job is done
    std::deque<std::shared_ptr<Job>> queue_;  // not started yet
    bool stop_ = false;
    std::vector<std::thread> threads_;  // last: started once all else is ready
};
