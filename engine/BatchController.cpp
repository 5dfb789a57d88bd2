#include "engine/BatchController.h"

#include "engine/EngineMessages.h"
#include "engine/MainWindowHandle.h"
#include "engine/Worker.h"

#include "platform/messaging/Message.h"
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

int BatchController::Start(int, win::HWND)
{
    if (!rows_ || running_.exchange(true))
        return 0;
    Wait();  // the thread of the previous batch, which has said it is done
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
    // Done before the window hears of it, so it may start the next batch.
    self->running_ = false;
    if (win::HWND window = g_mainWindow.load())
        win::PostMessage(window, WM_BATCH_DONE, 0, 0);
    return 0;
}

void BatchController::StartRow(ConversionItem* item)
{
    RowRun& run = workers_.emplace_back();
    run.batch = this;
    run.item = item;
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
    win::DWORD result = WorkerThread(run->item);
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
            run.item->threadIdSlot = nullptr;
            run.item->cancel = nullptr;
        }
        if (below)
            return;
    }
}
