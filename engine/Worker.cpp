#include "engine/Worker.h"

#include "engine/ConversionItem.h"
#include "engine/EngineMessages.h"
#include "engine/MainWindowHandle.h"
#include "engine/Mp3Sink.h"
#include "engine/ProgressWindows.h"
#include "engine/RowConversion.h"
#include "engine/WavSink.h"

#include "platform/messaging/Message.h"

namespace {

// Written by the worker before decoding and read by PcmCallback, both on
// the worker's own thread; rows converted side by side each have their own.
thread_local Sink* t_currentSink = nullptr;
thread_local const ConversionItem* t_currentRow = nullptr;
// The row's progress window on this thread, when its watcher opened one.
thread_local win::HWND t_progressWindow = nullptr;

}  // namespace

void SetCurrentSink(Sink* sink) { t_currentSink = sink; }

win::HWND ReportWindowOf(const ConversionItem& row)
{
    return row.reportWindow ? row.reportWindow : g_mainWindow.load();
}

win::DWORD WorkerThread(void* item)
{
    if (!item)
        return 0;
    auto& row = *static_cast<ConversionItem*>(item);
    t_currentRow = &row;
    ProgressWindows* windows = row.progressWindows;
    t_progressWindow = windows ? windows->OpenProgressWindow(row) : nullptr;
    win::DWORD result;
    {
        RowConversion conversion(row);
        result = conversion.Run();
    }
    if (t_progressWindow)
        windows->CloseProgressWindow(t_progressWindow);
    t_progressWindow = nullptr;
    t_currentRow = nullptr;
    return result;
}

void PcmCallback(const unsigned char* data, int bytes, std::int64_t positionMs)
{
    if (Sink* sink = t_currentSink; sink && bytes > 0) {
        if (sink->sinkKind == kSinkMp3)
            static_cast<Mp3Sink*>(sink)->Encode(data, bytes);
        else if (sink->sinkKind == kSinkWav)
            static_cast<WavSink*>(sink)->Write(data, static_cast<std::size_t>(bytes));
    }
    const ConversionItem* row = t_currentRow;
    win::HWND window = t_progressWindow ? t_progressWindow : row ? ReportWindowOf(*row) : g_mainWindow.load();
    auto key = static_cast<win::WPARAM>(row ? row->rowKey : 0);
    if (window)
        win::SendMessage(window, WM_CONVERT_PROGRESS, key, reinterpret_cast<win::LPARAM>(&positionMs));
}
