// Converts one row on a thread of its own: opens the source, picks the sink
// by the row's output kind, decodes into it and reports to the batch's
// RowEvents.
#pragma once

#include "platform/core/Types.h"

class AlbumGains;
class ConversionItem;
class RowEvents;
struct BatchSettings;

// What a row's worker gets: the row, the batch's settings and whom to tell.
struct RowJob {
    ConversionItem* item = nullptr;
    const BatchSettings* settings = nullptr;
    RowEvents* events = nullptr;
    AlbumGains* albums = nullptr;  // the batch measures albums
};

// Thread procedure; the parameter is a RowJob. 0, or (DWORD)-1 when the
// source cannot be opened or refuses the callback.
win::DWORD WorkerThread(void* job);
