// Where a row's progress is sent when its watcher wants it handled on the
// row's own thread. The worker waits for every progress message (one per
// chunk) to be handled; sent to a window of another thread, each one wakes
// that thread and then the worker again, which costs rows converting side
// by side a share of their cores. A window the worker's own thread opened
// handles it at once, still in order and before the row's done message.
#pragma once

#include "platform/core/Types.h"

class ConversionItem;

class ProgressWindows {
public:
    virtual ~ProgressWindows() = default;
    // On the row's worker thread, before the row starts: a window of this
    // thread for the row's progress, or null to send it to the row's
    // report window as usual.
    virtual win::HWND OpenProgressWindow(const ConversionItem& row) = 0;
    // On the same thread, once the row is over.
    virtual void CloseProgressWindow(win::HWND window) = 0;
};
