// Runs a batch the way the main window does, with the window's own adapter
// of the engine's reports, and records every message that reaches it, in
// arrival order.
#pragma once

#include "app/WindowRowEvents.h"
#include "engine/ConversionItem.h"

#include "platform/core/Types.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class BatchController;

struct EngineEvent {
    win::UINT message = 0;
    win::WPARAM wParam = 0;
    win::LPARAM lParam = 0;
    std::int64_t positionMs = 0;  // for progress: the value lParam pointed to
};

class BatchRecorder {
public:
    BatchRecorder();
    ~BatchRecorder();

    // Converts the marked rows with the settings in g_settings (as the
    // window does), `rowsAtOnce` side by side; false when the batch did not
    // end in time.
    bool Run(RowTable& rows, int timeoutMs = 60000, int rowsAtOnce = 1);
    const std::vector<EngineEvent>& Events() const { return events_; }
    std::vector<EngineEvent> EventsOf(std::int32_t key) const;
    std::vector<win::UINT> Messages() const;
    // The i-th recorded message of one kind, or null.
    const EngineEvent* Find(win::UINT message, std::size_t i = 0) const;

    // Called on the recording thread for every message as it arrives, with
    // the running batch (to cancel it, for one).
    std::function<void(const EngineEvent&, BatchController&)> onEvent;

private:
    static win::LRESULT WindowProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

    win::HWND hwnd_ = nullptr;
    std::unique_ptr<WindowRowEvents> windowEvents_;
    std::vector<EngineEvent> events_;
    bool done_ = false;
    BatchController* batch_ = nullptr;
};

// A record for a whole file, marked, as "add" and "WAVE" would leave it.
std::unique_ptr<ConversionItem> MakeRow(std::int32_t key, const std::wstring& source,
                                        const std::wstring& output, std::int32_t outputKind);

// Rows for a batch, keyed in the order they are added.
struct Rows {
    std::vector<std::unique_ptr<ConversionItem>> items;
    RowTable table;
    ConversionItem& Add(const std::filesystem::path& source, const std::filesystem::path& output,
                        std::int32_t kind = kOutputWav);
};
