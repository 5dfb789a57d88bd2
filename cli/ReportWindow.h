// A window without a display that receives the engine's messages for
// kolvex-convert: it follows each row from start to done and ends the
// message loop when the batch is over.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <functional>
#include <map>

struct RowOutcome {
    bool started = false;
    bool done = false;
    bool failed = false;  // done, but the output file could not be written
    std::int64_t lastPositionMs = 0;
};

class ReportWindow {
public:
    using RowEvent = std::function<void(std::int32_t key, const RowOutcome&)>;

    ReportWindow();
    ~ReportWindow();
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    win::HWND Handle() const { return hwnd_; }
    void OnRowFinished(RowEvent event) { onFinished_ = std::move(event); }
    // Pumps messages until the batch-done message arrives.
    void RunUntilBatchDone();
    const std::map<std::int32_t, RowOutcome>& Outcomes() const { return rows_; }

private:
    static win::LRESULT WindowProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
    win::LRESULT OnMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);

    win::HWND hwnd_ = nullptr;
    std::int32_t currentRow_ = -1;
    bool batchDone_ = false;
    std::map<std::int32_t, RowOutcome> rows_;
    RowEvent onFinished_;
};
