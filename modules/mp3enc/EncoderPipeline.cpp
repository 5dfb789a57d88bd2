#include "modules/mp3enc/EncoderPipeline.h"

#include "modules/mp3enc/LameEnc.h"

EncoderPipeline::EncoderPipeline(std::unique_ptr<Mp3Encoder> encoder)
    : encoder_(std::move(encoder)), thread_([this] { Run(); })
{
}

EncoderPipeline::~EncoderPipeline() { Stop(); }

void EncoderPipeline::Stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void EncoderPipeline::Run()
{
    for (;;) {
        std::vector<std::uint8_t> chunk;
        bool wake;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
            if (queue_.empty())
                return;
            chunk = std::move(queue_.front());
            queue_.pop_front();
            queuedBytes_ -= chunk.size();
            busy_ = true;
            // The caller waits for the queue to drain to half; woken for
            // every chunk taken, it would switch in and out once per chunk.
            wake = callerWaiting_ && queuedBytes_ <= kResumeBytes;
        }
        if (wake)
            changed_.notify_all();

        std::int32_t result = 0;
        for (std::size_t at = 0; at < chunk.size() && result >= 0;) {
            result = encoder_->Encode(chunk.data() + at, static_cast<std::int32_t>(chunk.size() - at));
            at += result > 0 ? static_cast<std::size_t>(result) : 0;
            if (result == 0)
                result = MP3_E_FAIL;  // an encoder that takes nothing would spin here
        }
        const auto& frames = encoder_->TakeFrames();
        {
            std::lock_guard lock(mutex_);
            ready_.insert(ready_.end(), frames.begin(), frames.end());
            if (result < 0 && error_ == 0)
                error_ = result;
            busy_ = false;
            // Only a failure or the end of the queue (Finish waits for it)
            // is news to the caller.
            wake = error_ < 0 || queue_.empty();
        }
        if (wake)
            changed_.notify_all();
    }
}

std::int32_t EncoderPipeline::Encode(const std::uint8_t* pcm, std::int32_t size)
{
    if (size < 0)
        return MP3_E_INVALIDARG;
    std::unique_lock lock(mutex_);
    if (error_ < 0)
        return error_;
    if (stopping_)
        return MP3_E_UNEXPECTED;
    if (size == 0)
        return 0;
    if (queuedBytes_ >= kQueueBytes) {
        callerWaiting_ = true;
        changed_.wait(lock, [this] { return queuedBytes_ <= kResumeBytes || error_ < 0; });
        callerWaiting_ = false;
    }
    if (error_ < 0)
        return error_;
    queue_.emplace_back(pcm, pcm + size);
    queuedBytes_ += static_cast<std::size_t>(size);
    lock.unlock();
    changed_.notify_all();
    return size;
}

const std::vector<std::uint8_t>& EncoderPipeline::TakeFrames()
{
    std::lock_guard lock(mutex_);
    taken_.swap(ready_);
    ready_.clear();
    return taken_;
}

std::int32_t EncoderPipeline::Finish(FILE* output)
{
    std::int32_t error;
    {
        std::unique_lock lock(mutex_);
        if (stopping_)
            return MP3_E_UNEXPECTED;
        changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
        error = error_;
    }
    Stop();
    if (error < 0)
        return error;
    // Frames the caller did not take yet come before the encoder's tail.
    if (output && !ready_.empty() && std::fwrite(ready_.data(), 1, ready_.size(), output) != ready_.size())
        return MP3_E_FAIL;
    ready_.clear();
    return encoder_->Finish(output);
}
