#include "modules/apesdk/FramePool.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <pthread.h>

#include <algorithm>
#include <system_error>

FramePool::Job::~Job() { av_packet_free(&packet); }

FramePool::FramePool(ApeDemuxer& demuxer, std::vector<std::unique_ptr<FrameDecoder>> decoders,
                     std::size_t ahead)
    : demuxer_(demuxer), decoders_(std::move(decoders)), ahead_(std::max<std::size_t>(ahead, 1))
{
    for (auto& decoder : decoders_) {
        try {
            threads_.emplace_back([this, d = decoder.get()] { Work(*d); });
            // Told apart from the row's other threads in profiles and in
            // /proc, from the moment the pool exists.
            pthread_setname_np(threads_.back().native_handle(), kThreadName);
        } catch (const std::system_error&) {
            break;  // the system has no more threads to give: fewer do the work
        }
    }
}

FramePool::~FramePool()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        CancelAll();
    }
    work_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

// Under mutex_.
void FramePool::CancelAll()
{
    for (auto& job : order_)
        job->cancel.store(true, std::memory_order_relaxed);
    queue_.clear();
}

void FramePool::Work(FrameDecoder& decoder)
{
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(mutex_);
            work_.wait(lock, [this] { return stop_ || !queue_.empty(); });
            if (stop_)
                return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        // Each frame starts from a clean context, whatever this thread
        // decoded before.
        decoder.Flush();
        decoder.Decode(job->packet, job->frame, &job->cancel);
        {
            std::lock_guard lock(mutex_);
            job->done = true;
        }
        ready_.notify_one();
    }
}

void FramePool::ReadAhead()
{
    while (!inputEnded_ && order_.size() < ahead_) {
        auto job = std::make_shared<Job>();
        job->packet = av_packet_alloc();
        ApeDemuxer::ReadResult read = job->packet ? demuxer_.Read(job->packet) : ApeDemuxer::ReadResult::End;
        if (read != ApeDemuxer::ReadResult::Packet) {
            inputEnded_ = true;
            if (read == ApeDemuxer::ReadResult::Failed) {
                // The failure takes its place in file order, after every
                // frame read before it, as in a serial read; nothing to decode.
                job->frame.events.push_back(DecodedFrame::ReadFailure());
                job->done = true;
                order_.push_back(std::move(job));
            }
            return;
        }
        job->frame.hasPts = job->packet->pts != AV_NOPTS_VALUE;
        job->frame.pts = job->packet->pts;
        if (!spare_.empty()) {
            job->frame.pcm = std::move(spare_.back());
            spare_.pop_back();
        }
        order_.push_back(job);
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(job));
        }
        work_.notify_one();
    }
}

bool FramePool::Next(DecodedFrame& frame)
{
    ReadAhead();
    if (order_.empty())
        return false;
    std::shared_ptr<Job> job = std::move(order_.front());
    order_.pop_front();
    if (threads_.empty() && !job->done) {
        // Not a single thread could be started: decode here, in order.
        {
            std::lock_guard lock(mutex_);
            queue_.pop_front();  // it is `job`: jobs are queued in file order
        }
        decoders_.front()->Flush();
        decoders_.front()->Decode(job->packet, job->frame);
        job->done = true;  // no other thread to tell
    }
    {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return job->done; });
    }
    std::swap(frame, job->frame);
    // The caller's previous frame came back in the swap: its buffer serves
    // a frame read later.
    job->frame.pcm.clear();
    spare_.push_back(std::move(job->frame.pcm));
    ReadAhead();
    return true;
}

void FramePool::Restart()
{
    {
        std::lock_guard lock(mutex_);
        CancelAll();
    }
    // Jobs being decoded finish early and go with their last owner.
    order_.clear();
    inputEnded_ = false;
}
