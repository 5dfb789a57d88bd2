#include "engine/BatchController.h"

#include "platform/messaging/Thread.h"

BatchController::~BatchController()
{
    Cancel();
    Wait();
}

int BatchController::SetRows(RowTable* rows)
{
    if (!rows)
        return 0;
    rows_ = rows;
    return 1;
}

int BatchController::SetRowsAtOnce(int rows)
{
    if (running_)
        return 0;
    rowsAtOnce_ = rows < 1 ? 1 : rows;
    return 1;
}

int BatchController::Start(const BatchSettings& settings, RowEvents& events)
{
    if (!rows_ || running_.exchange(true))
        return 0;
    Wait();  // the thread of the previous batch, which has said it is done
    settings_ = settings;
    events_ = &events;
    albums_.reset();
    if (settings.replayGain == BatchSettings::ReplayGain::Album)
        albums_ = std::make_unique<AlbumGains>(*rows_);
    cancelled_ = false;
    batch_ = win::CreateThread(nullptr, 0, BatchThread, this, 0, nullptr);
    if (!batch_)
        running_ = false;
    return batch_ ? 1 : 0;
}

void BatchController::Cancel()
{
    cancelled_ = true;
}

void BatchController::Wait()
{
    if (!batch_)
        return;
    win::WaitForSingleObject(batch_, win::INFINITE);
    win::CloseHandle(batch_);
    batch_ = nullptr;
}

win::DWORD BatchController::BatchThread(void* parameter)
{
    auto* self = static_cast<BatchController*>(parameter);
    const auto limit = static_cast<std::size_t>(self->rowsAtOnce_);
    for (auto& [key, item] : *self->rows_) {
        if (!item || !item->marked)
            continue;
        self->WaitForRowsBelow(limit);
        if (self->cancelled_)
            break;
        self->StartRow(item);
    }
    self->WaitForRowsBelow(1);
    if (self->albums_)
        self->albums_->BatchOver();
    // Done before anyone hears of it, so the next batch may start.
    self->running_ = false;
    self->events_->BatchDone();
    return 0;
}

void BatchController::StartRow(ConversionItem* item)
{
    RowRun& run = workers_.emplace_back();
    run.batch = this;
    run.job = RowJob{item, &settings_, events_, albums_.get()};
    item->threadIdSlot = &run.threadId;
    item->cancel = &cancelled_;
    run.thread = win::CreateThread(nullptr, 0, RowThread, &run, 0, item->threadIdSlot);
    if (!run.thread) {
        item->threadIdSlot = nullptr;
        item->cancel = nullptr;
        workers_.pop_back();
    }
}

win::DWORD BatchController::RowThread(void* parameter)
{
    auto* run = static_cast<RowRun*>(parameter);
    win::DWORD result = WorkerThread(&run->job);
    BatchController* self = run->batch;
    {
        std::lock_guard guard(self->lock_);
        run->ended = true;
    }
    self->rowEnded_.notify_all();
    return result;
}

void BatchController::WaitForRowsBelow(std::size_t limit)
{
    for (;;) {
        std::list<RowRun> ended;
        bool below = false;
        {
            std::unique_lock lock(lock_);
            auto anyEnded = [this] {
                for (const RowRun& run : workers_)
                    if (run.ended)
                        return true;
                return false;
            };
            rowEnded_.wait(lock, [&] { return workers_.size() < limit || anyEnded(); });
            for (auto it = workers_.begin(); it != workers_.end();) {
                auto next = std::next(it);
                if (it->ended)
                    ended.splice(ended.end(), workers_, it);
                it = next;
            }
            below = workers_.size() < limit;
        }
        // The ended workers are past the row; let their threads go.
        for (RowRun& run : ended) {
            win::WaitForSingleObject(run.thread, win::INFINITE);
            win::CloseHandle(run.thread);
            run.job.item->threadIdSlot = nullptr;
            run.job.item->cancel = nullptr;
        }
        if (below)
            return;
    }
}
