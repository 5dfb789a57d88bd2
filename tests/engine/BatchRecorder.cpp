#include "tests/engine/BatchRecorder.h"

#include "app/EngineMessages.h"
#include "engine/BatchController.h"
#include "settings/ConversionSettings.h"

#include "platform/messaging/Message.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Window.h"

BatchRecorder::BatchRecorder()
{
    static const bool registered = [] {
        win::WNDCLASS wc;
        wc.lpfnWndProc = WindowProc;
        wc.lpszClassName = L"TestBatchRecorder";
        return win::RegisterClass(&wc) != 0;
    }();
    (void)registered;
    hwnd_ = win::CreateWindowEx(0, L"TestBatchRecorder", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(this));
    windowEvents_ = std::make_unique<WindowRowEvents>(hwnd_);
}

BatchRecorder::~BatchRecorder() { win::DestroyWindow(hwnd_); }

bool BatchRecorder::Run(RowTable& rows, int timeoutMs, int rowsAtOnce)
{
    events_.clear();
    done_ = false;
    BatchController batch;
    batch.SetRows(&rows);
    batch.SetRowsAtOnce(rowsAtOnce);
    if (!batch.Start(BatchSettings{g_settings}, *windowEvents_))
        return false;
    batch_ = &batch;
    win::DWORD deadline = win::GetTickCount() + static_cast<win::DWORD>(timeoutMs);
    win::SetTimer(hwnd_, 1, 50, nullptr);
    win::MSG msg;
    while (!done_ && win::GetTickCount() < deadline && win::GetMessage(&msg, nullptr, 0, 0) > 0)
        win::DispatchMessage(&msg);
    win::KillTimer(hwnd_, 1);
    batch.Wait();
    batch_ = nullptr;
    return done_;
}

std::vector<EngineEvent> BatchRecorder::EventsOf(std::int32_t key) const
{
    std::vector<EngineEvent> out;
    for (const auto& e : events_)
        if (e.message != WM_CONVERT_PROGRESS && e.message != WM_BATCH_DONE && static_cast<std::int32_t>(e.wParam) == key)
            out.push_back(e);
    return out;
}

const EngineEvent* BatchRecorder::Find(win::UINT message, std::size_t i) const
{
    for (const auto& e : events_)
        if (e.message == message && i-- == 0)
            return &e;
    return nullptr;
}

std::vector<win::UINT> BatchRecorder::Messages() const
{
    std::vector<win::UINT> out;
    for (const auto& e : events_)
        out.push_back(e.message);
    return out;
}

win::LRESULT BatchRecorder::WindowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    auto* self = reinterpret_cast<BatchRecorder*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
    if (!self || message < WM_CONVERT_PROGRESS || message > 4027)
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    EngineEvent event{message, wParam, lParam, 0};
    if (message == WM_CONVERT_PROGRESS)
        event.positionMs = *reinterpret_cast<const std::int64_t*>(lParam);
    self->events_.push_back(event);
    if (self->onEvent && self->batch_)
        self->onEvent(event, *self->batch_);
    if (message == WM_BATCH_DONE)
        self->done_ = true;
    return 0;
}

std::unique_ptr<ConversionItem> MakeRow(std::int32_t key, const std::wstring& source, const std::wstring& output,
                                        std::int32_t outputKind)
{
    auto item = std::make_unique<ConversionItem>();
    item->SetPath(source);
    item->rowKey = key;
    item->outputPath = output;
    item->outputKind = outputKind;
    item->marked = 1;
    return item;
}

ConversionItem& Rows::Add(const std::filesystem::path& source, const std::filesystem::path& output, std::int32_t kind)
{
    auto key = static_cast<std::int32_t>(items.size());
    items.push_back(MakeRow(key, source.wstring(), output.wstring(), kind));
    table[key] = items.back().get();
    return *items.back();
}
