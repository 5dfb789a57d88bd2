#include "engine/BatchController.h"

#include "engine/EngineMessages.h"
#include "engine/MainWindowHandle.h"
#include "engine/Worker.h"

#include "platform/Message.h"
#include "platform/Thread.h"

BatchController::~BatchController()
{
    Cancel();
    Wait();
    if (batch_)
        win::CloseHandle(batch_);
}

int BatchController::SetRows(RowTable* rows)
{
    if (!rows)
        return 0;
    rows_ = rows;
    return 1;
}

int BatchController::Start(int mode, win::HWND)
{
    if (!rows_ || running_)
        return 0;
    mode_ = mode;
    cancel_ = false;
    running_ = true;
    if (batch_)
        win::CloseHandle(batch_);
    batch_ = win::CreateThread(nullptr, 0, BatchThread, this, 0, nullptr);
    if (!batch_)
        running_ = false;
    return batch_ ? 1 : 0;
}

void BatchController::Wait()
{
    if (batch_)
        win::WaitForSingleObject(batch_, win::INFINITE);
}

win::DWORD BatchController::BatchThread(void* parameter)
{
    auto* self = static_cast<BatchController*>(parameter);
    for (auto& [key, item] : *self->rows_) {
        if (self->cancel_)
            break;
        if (!item || !item->marked)
            continue;
        win::DWORD threadId = 0;
        item->threadIdSlot = &threadId;
        self->worker_ = win::CreateThread(nullptr, 0, WorkerThread, item, 0, item->threadIdSlot);
        if (!self->worker_)
            continue;
        win::WaitForSingleObject(self->worker_, win::INFINITE);
        win::CloseHandle(self->worker_);
        self->worker_ = nullptr;
        item->threadIdSlot = nullptr;
    }
    self->running_ = false;
    if (win::HWND window = g_mainWindow.load())
        win::PostMessage(window, WM_BATCH_DONE, 0, 0);
    return 0;
}
