// Runs one Mp3Encoder on a thread of its own, so that encoding overlaps the
// caller's decoding: Encode queues the PCM (waiting only while the queue is
// full) and TakeFrames hands over whatever MP3 bytes are ready so far. The
// order of the bytes is kept: frames taken before Finish, then the rest,
// which Finish writes itself.
#pragma once

#include "modules/mp3enc/EncoderStream.h"
#include "modules/mp3enc/Mp3Encoder.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class EncoderPipeline : public EncoderStream {
public:
    explicit EncoderPipeline(std::unique_ptr<Mp3Encoder> encoder);
    ~EncoderPipeline() override;
    EncoderPipeline(const EncoderPipeline&) = delete;
    EncoderPipeline& operator=(const EncoderPipeline&) = delete;

    std::int32_t Encode(const std::uint8_t* pcm, std::int32_t size) override;
    const std::vector<std::uint8_t>& TakeFrames() override;
    std::int32_t Finish(FILE* output) override;

private:
    // About three seconds of CD audio: enough to ride out uneven decoding,
    // little enough that progress shown for decoding stays close to the truth.
    static constexpr std::size_t kQueueBytes = 512 * 1024;
    // A full queue takes more once it has drained to this.
    static constexpr std::size_t kResumeBytes = kQueueBytes / 2;

    void Run();
    void Stop();

    std::unique_ptr<Mp3Encoder> encoder_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<std::uint8_t>> queue_;
    std::size_t queuedBytes_ = 0;
    bool busy_ = false;  // the thread is encoding a chunk it took
    bool callerWaiting_ = false;  // Encode waits for room in the queue
    bool stopping_ = false;
    std::int32_t error_ = 0;
    std::vector<std::uint8_t> ready_;
    std::vector<std::uint8_t> taken_;
    std::thread thread_;
};
