// Encodes one stream on several threads: the PCM is cut into segments of
// some seconds, each encoded by an encoder of its own, and the segments'
// frames are joined, in order, into one stream that decodes like the one a
// single encoder makes (same frame grid, same length, a continuous signal).
// A join that cannot be made bit-correct is never made: the earlier segment's
// encoder then encodes on into its successor's audio until one can.
//
// Threads: the caller's (Encode cuts and queues segments, TakeFrames), and
// the pool's (each encodes one segment at a time, then joins whatever is
// ready, under the lock). Memory stays bounded: no more than threads + 2
// segments are queued, encoding or waiting to be joined until the input
// ends (two more than threads, so that a segment done before the one ahead
// of it cannot leave a thread without work).
#pragma once

#include "modules/mp3enc/EncoderStream.h"
#include "modules/mp3enc/Segment.h"
#include "modules/mp3enc/StreamSummary.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct SegmentPlan {
    // Every frame a segment encodes but does not keep costs time: a few of
    // each kind is enough for the encoder to settle and for a join to be
    // found in most windows (a window without one costs another window).
    int frames = 576;  // frames a segment contributes once the first short ones are past (about 15 s at 44.1 kHz)
    int priming = 6;   // frames encoded before that, only to settle the encoder
    int window = 6;    // frames past the nominal hand-over where a join may fall
    int tail = 3;      // frames past the window, so the encoder has put out all of it
};

class SegmentPipeline : public EncoderStream {
public:
    using Factory = std::function<std::int32_t(std::unique_ptr<Mp3Encoder>&)>;

    // `first` encodes the first segment; `make` creates the others alike.
    SegmentPipeline(std::unique_ptr<Mp3Encoder> first, Factory make, int blockAlign, int threads, SegmentPlan plan);
    ~SegmentPipeline() override;

    std::int32_t Encode(const std::uint8_t* pcm, std::int32_t size) override;
    const std::vector<std::uint8_t>& TakeFrames() override;
    std::int32_t Finish(FILE* output) override;

private:
    using Lock = std::unique_lock<std::mutex>;

    void Run();
    std::int32_t EncodeSegment(Segment& segment);
    std::int64_t ShortestFrames() const;
    std::size_t TargetBytes(const Segment& segment) const;
    void Queue(bool last);
    void Advance();
    bool JoinHead();
    void ContinueHead();
    void Emit(Segment& segment, std::size_t from, std::size_t to);
    std::vector<std::uint8_t> Spare();
    void Recycle(std::vector<std::uint8_t>& bytes);
    void Stop();

    Factory make_;
    const int blockAlign_;
    const int frameSamples_;
    const int delay_;
    const SegmentPlan plan_;
    const std::size_t inFlight_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<Segment> filling_;                 // the caller's, until queued
    std::deque<std::unique_ptr<Segment>> segments_;    // in stream order; the front is joined up to its keepFrom
    std::deque<Segment*> queue_;                       // waiting for a thread
    std::atomic<bool> stopping_{false};
    bool finishing_ = false;
    std::int32_t error_ = 0;
    std::int64_t bytesIn_ = 0;
    std::vector<std::uint8_t> ready_;
    std::vector<std::uint8_t> taken_;
    std::vector<std::vector<std::uint8_t>> spare_;  // cleared buffers, their memory kept

    StreamSummary summary_;
    std::vector<std::uint8_t> informationFrame_;
    bool joined_ = false;  // the stream is made of more than one encoding

    std::vector<std::thread> threads_;
};
