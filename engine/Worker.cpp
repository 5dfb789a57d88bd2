#include "engine/Worker.h"

#include "engine/ConversionItem.h"
#include "engine/EngineMessages.h"
#include "engine/MainWindowHandle.h"
#include "engine/Mp3Sink.h"
#include "engine/RowConversion.h"
#include "engine/WavSink.h"

#include "platform/messaging/Message.h"

namespace {

// Written by the worker before decoding and read by PcmCallback, both on
// the worker's own thread.
thread_local Sink* t_currentSink = nullptr;

}  // namespace

void SetCurrentSink(Sink* sink) { t_currentSink = sink; }

win::DWORD WorkerThread(void* item)
{
    if (!item)
        return 0;
    RowConversion conversion(*static_cast<ConversionItem*>(item));
    return conversion.Run();
}

void PcmCallback(const unsigned char* data, int bytes, std::int64_t positionMs)
{
    if (Sink* sink = t_currentSink; sink && bytes > 0) {
        if (sink->sinkKind == kSinkMp3)
            static_cast<Mp3Sink*>(sink)->Encode(data, bytes);
        else if (sink->sinkKind == kSinkWav)
            static_cast<WavSink*>(sink)->Write(data, static_cast<std::size_t>(bytes));
    }
    if (win::HWND window = g_mainWindow.load())
        win::SendMessage(window, WM_CONVERT_PROGRESS, 0, reinterpret_cast<win::LPARAM>(&positionMs));
}
