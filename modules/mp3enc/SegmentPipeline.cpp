#include "modules/mp3enc/SegmentPipeline.h"

#include "modules/mp3enc/LameEnc.h"

#include <algorithm>

SegmentPipeline::SegmentPipeline(std::unique_ptr<Mp3Encoder> first, Factory make, int blockAlign, int threads,
                                 SegmentPlan plan)
    : make_(std::move(make)), blockAlign_(blockAlign), frameSamples_(first->FrameSamples()), delay_(first->Delay()),
      plan_(plan), inFlight_(static_cast<std::size_t>(threads) + 2)
{
    filling_ = std::make_unique<Segment>();
    filling_->encoder = std::move(first);
    // Short first segments set the threads going early; each one after is
    // twice as long, up to the plan's length.
    filling_->handOver = ShortestFrames();
    filling_->pcm.reserve(TargetBytes(*filling_));
    for (int i = 0; i < threads; ++i)
        threads_.emplace_back([this] { Run(); });
}

SegmentPipeline::~SegmentPipeline() { Stop(); }

void SegmentPipeline::Stop()
{
    {
        Lock lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (auto& thread : threads_) {
        if (thread.joinable())
            thread.join();
    }
}

// The length of the first segment and of the pieces the last one is cut
// into: long enough that a join can be found in it.
std::int64_t SegmentPipeline::ShortestFrames() const
{
    return std::max(plan_.frames / 8, 2 * (plan_.window + plan_.tail));
}

// The input a segment needs: up to the end of its join window and a few
// frames on, so that its encoder has put out every frame of the window.
std::size_t SegmentPipeline::TargetBytes(const Segment& segment) const
{
    std::int64_t end = (segment.handOver + plan_.window + plan_.tail) * frameSamples_;
    return static_cast<std::size_t>(end - segment.pcmStart) * static_cast<std::size_t>(blockAlign_);
}

std::int32_t SegmentPipeline::Encode(const std::uint8_t* pcm, std::int32_t size)
{
    if (size < 0)
        return MP3_E_INVALIDARG;
    Lock lock(mutex_);
    if (error_ < 0)
        return error_;
    if (stopping_ || finishing_)
        return MP3_E_UNEXPECTED;
    bytesIn_ += size;
    for (auto left = static_cast<std::size_t>(size); left > 0;) {
        Segment& segment = *filling_;
        std::size_t take = std::min(left, TargetBytes(segment) - segment.pcm.size());
        segment.pcm.insert(segment.pcm.end(), pcm, pcm + take);
        pcm += take;
        left -= take;
        if (segment.pcm.size() == TargetBytes(segment)) {
            changed_.wait(lock, [this] { return segments_.size() < inFlight_ || error_ < 0; });
            if (error_ < 0)
                return error_;
            Queue(false);
        }
    }
    return size;
}

// Hands the filling segment to the threads; unless it is the last, the next
// one starts with the audio the two share.
void SegmentPipeline::Queue(bool last)
{
    std::unique_ptr<Segment> segment = std::move(filling_);
    segment->last = last;
    if (!last) {
        auto next = std::make_unique<Segment>();
        next->pcm = Spare();
        next->keepFrom = segment->handOver;
        next->origin = next->keepFrom - plan_.priming;
        next->handOver = next->keepFrom + std::min<std::int64_t>(2 * (segment->handOver - segment->keepFrom), plan_.frames);
        next->pcmStart = next->origin * frameSamples_;
        next->pcm.reserve(TargetBytes(*next));
        auto shared = static_cast<std::size_t>(next->pcmStart - segment->pcmStart) * static_cast<std::size_t>(blockAlign_);
        next->pcm.assign(segment->pcm.begin() + static_cast<std::ptrdiff_t>(shared), segment->pcm.end());
        segment->pcm.resize(TargetBytes(*segment));
        filling_ = std::move(next);
    }
    if (segment->mp3.capacity() == 0)
        segment->mp3 = Spare();
    segment->state = Segment::State::Queued;
    queue_.push_back(segment.get());
    segments_.push_back(std::move(segment));
    changed_.notify_all();
}

void SegmentPipeline::Run()
{
    for (;;) {
        Segment* segment;
        {
            Lock lock(mutex_);
            changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
            if (stopping_)
                return;
            segment = queue_.front();
            queue_.pop_front();
            segment->state = Segment::State::Encoding;
        }
        std::int32_t result = EncodeSegment(*segment);
        {
            Lock lock(mutex_);
            segment->state = Segment::State::Done;
            if (result < 0 && error_ == 0)
                error_ = result;
            Advance();
        }
        changed_.notify_all();
    }
}

// Runs on a pool thread without the lock: while a segment is encoding, no
// other thread touches it.
std::int32_t SegmentPipeline::EncodeSegment(Segment& segment)
{
    std::int32_t result = segment.encoder ? MP3_S_OK : make_(segment.encoder);
    auto take = [&segment] {
        const auto& bytes = segment.encoder->TakeFrames();
        segment.mp3.insert(segment.mp3.end(), bytes.begin(), bytes.end());
    };
    while (result >= 0 && segment.fed < segment.pcm.size() && !stopping_) {
        // A bounded step at a time, so that a dropped stream stops soon.
        std::size_t step = std::min<std::size_t>(segment.pcm.size() - segment.fed, 64 * 1024);
        result = segment.encoder->Encode(segment.pcm.data() + segment.fed, static_cast<std::int32_t>(step));
        if (result == 0)
            result = MP3_E_FAIL;  // an encoder that takes nothing would spin here
        if (result > 0)
            segment.fed += static_cast<std::size_t>(result);
        take();
    }
    if (result >= 0 && segment.last && !stopping_) {
        result = segment.encoder->Finish(nullptr);
        take();
    }
    if (result >= 0 && !segment.layout.Extend(segment.mp3))
        result = MP3_E_FAIL;
    return result < 0 ? result : MP3_S_OK;
}

// Under the lock: joins the front segment to its successor and puts out its
// frames, for as long as both are encoded.
void SegmentPipeline::Advance()
{
    while (error_ == 0 && !stopping_ && !segments_.empty() && segments_.front()->state == Segment::State::Done) {
        Segment& head = *segments_.front();
        if (!head.pcm.empty()) {
            head.pcmStart += static_cast<std::int64_t>(head.pcm.size() / static_cast<std::size_t>(blockAlign_));
            Recycle(head.pcm);
            head.fed = 0;
        }
        if (segments_.size() == 1) {
            if (!head.last)
                return;
            if (!joined_)
                informationFrame_ = head.encoder->InformationFrame();
            Emit(head, static_cast<std::size_t>(head.keepFrom - head.origin), head.layout.Frames().size());
            Recycle(head.mp3);
            segments_.pop_front();
            return;
        }
        if (segments_[1]->state != Segment::State::Done)
            return;
        if (!JoinHead()) {
            ContinueHead();
            return;
        }
    }
}

bool SegmentPipeline::JoinHead()
{
    Segment& head = *segments_[0];
    Segment& next = *segments_[1];
    auto join = FindJoin(head.Run(), next.Run());
    if (!join)
        return false;
    CopyReservoir(*join, head.Run(), head.mp3, next.Run(), next.mp3);
    if (!joined_)
        informationFrame_ = head.encoder->InformationFrame();
    joined_ = true;
    Emit(head, static_cast<std::size_t>(head.keepFrom - head.origin), static_cast<std::size_t>(join->frame - head.origin));
    next.keepFrom = join->frame;
    Recycle(head.mp3);
    segments_.pop_front();
    return true;
}

// No frame in the window allows a clean join: rather than put out a stream a
// decoder would stumble over, the front segment's encoder encodes on through
// another window's worth of its successor's audio, and the search goes on
// there. Should it reach the end of its successor's audio, it takes the
// successor's place and the successor's encoding is dropped.
void SegmentPipeline::ContinueHead()
{
    Segment& head = *segments_[0];
    Segment& next = *segments_[1];
    auto from = static_cast<std::size_t>(head.pcmStart - next.pcmStart) * static_cast<std::size_t>(blockAlign_);
    from = std::min(from, next.pcm.size());
    std::size_t to = std::min(next.pcm.size(), from + static_cast<std::size_t>(plan_.window * frameSamples_ * blockAlign_));
    head.pcm.assign(next.pcm.begin() + static_cast<std::ptrdiff_t>(from), next.pcm.begin() + static_cast<std::ptrdiff_t>(to));
    head.fed = 0;
    if (to == next.pcm.size()) {
        head.last = next.last;
        head.handOver = next.handOver;
        Recycle(next.pcm);
        Recycle(next.mp3);
        segments_.erase(segments_.begin() + 1);
    }
    head.state = Segment::State::Queued;
    queue_.push_front(&head);
}

void SegmentPipeline::Emit(Segment& segment, std::size_t from, std::size_t to)
{
    const auto& frames = segment.layout.Frames();
    for (std::size_t i = from; i < to; ++i)
        summary_.Add(segment.mp3.data() + frames[i].offset, static_cast<std::size_t>(frames[i].length));
    std::size_t begin = from < frames.size() ? frames[from].offset : segment.layout.End();
    // A segment that goes on past the join may end in a frame not yet complete.
    std::size_t end = to < frames.size() ? frames[to].offset : segment.last ? segment.mp3.size() : segment.layout.End();
    ready_.insert(ready_.end(), segment.mp3.begin() + static_cast<std::ptrdiff_t>(begin),
                  segment.mp3.begin() + static_cast<std::ptrdiff_t>(end));
}

// Buffers go back and forth between segments rather than to the allocator,
// which would otherwise scatter them over the threads' heaps as a long row
// goes on.
std::vector<std::uint8_t> SegmentPipeline::Spare()
{
    std::vector<std::uint8_t> bytes;
    if (!spare_.empty()) {
        bytes = std::move(spare_.back());
        spare_.pop_back();
    }
    return bytes;
}

void SegmentPipeline::Recycle(std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    if (spare_.size() < 2 * inFlight_ + 2)
        spare_.push_back(std::move(bytes));
    bytes = {};
}

const std::vector<std::uint8_t>& SegmentPipeline::TakeFrames()
{
    Lock lock(mutex_);
    taken_.swap(ready_);
    ready_.clear();
    return taken_;
}

std::int32_t SegmentPipeline::Finish(FILE* output)
{
    std::int32_t error;
    {
        Lock lock(mutex_);
        if (stopping_ || finishing_)
            return MP3_E_UNEXPECTED;
        finishing_ = true;
        // The last piece is cut into short ones, all queued at once (its
        // audio is in memory already): the threads take them as they come
        // free and end close together, rather than one encoding a long
        // last segment alone.
        const std::int64_t shortest = ShortestFrames();
        while (threads_.size() > 1 && error_ == 0) {
            Segment& piece = *filling_;
            std::int64_t end = piece.pcmStart + static_cast<std::int64_t>(piece.pcm.size() / static_cast<std::size_t>(blockAlign_));
            std::int64_t own = end / frameSamples_ + 1 - piece.keepFrom;
            if (own < 2 * shortest)
                break;
            piece.handOver = piece.keepFrom + shortest;
            Queue(false);
        }
        if (error_ == 0)
            Queue(true);
        changed_.wait(lock, [this] { return segments_.empty() || error_ < 0; });
        error = error_;
    }
    Stop();
    if (error < 0)
        return error;
    if (!output)
        return MP3_S_OK;
    if (!ready_.empty() && std::fwrite(ready_.data(), 1, ready_.size(), output) != ready_.size())
        return MP3_E_FAIL;
    ready_.clear();
    if (joined_)
        summary_.Complete(informationFrame_, bytesIn_ / blockAlign_, delay_, frameSamples_);
    return Mp3Encoder::WriteInformationFrame(informationFrame_, output);
}
