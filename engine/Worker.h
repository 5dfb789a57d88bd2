// Converts one row on a thread of its own: opens the source, picks the sink
// by the row's output kind, decodes into it and reports to the main window.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>

class ConversionItem;
class Sink;

// Thread procedure; the parameter is the ConversionItem. 0, or (DWORD)-1
// when the source cannot be opened or refuses the callback.
win::DWORD WorkerThread(void* item);

// Hands each decoded chunk to the worker thread's current sink and reports
// the position, with the row's key, to the row's window (sent: the worker
// waits for the window).
void PcmCallback(const unsigned char* data, int bytes, std::int64_t positionMs);
// The sink PcmCallback feeds on the calling thread; null for none.
void SetCurrentSink(Sink* sink);

// The window a row reports to: its own, else the published main window.
win::HWND ReportWindowOf(const ConversionItem& row);
