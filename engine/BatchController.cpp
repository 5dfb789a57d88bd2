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
    for (auto& [key, item] : *self->rows_) {
        if (self->cancelled_)
            break;
        if (!item || !item->marked)
            continue;
        win::DWORD threadId = 0;
        item->threadIdSlot = &threadId;
        item->cancel = &self->cancelled_;
        win::HANDLE worker = win::CreateThread(nullptr, 0, WorkerThread, item, 0, item->threadIdSlot);
        if (worker) {
            win::WaitForSingleObject(worker, win::INFINITE);
            win::CloseHandle(worker);
        }
        item->threadIdSlot = nullptr;
        item->cancel = nullptr;
    }
    // Done before the window hears of it, so it may start the next batch.
    self->running_ = false;
    if (win::HWND window = g_mainWindow.load())
        win::PostMessage(window, WM_BATCH_DONE, 0, 0);
    return 0;
}
