// Turns the engine's reports into the main window's messages, on the
// threads the engine reports on: a row's start and done are posted (with
// the row key in wParam), its progress is sent (the worker waits until the
// window has shown it), the resampler's messages are posted as it has
// always posted them, and the batch's done is posted last. The question
// about an existing file is the window's message box, whose answer may
// stand for the rest of the batch.
#pragma once

#include "engine/RowEvents.h"

#include "platform/core/Types.h"

#include <mutex>
#include <optional>

class WindowRowEvents : public RowEvents {
public:
    explicit WindowRowEvents(win::HWND window) : window_(window) { }

    void RowStarted(std::int32_t key, std::int32_t outputKind) override;
    void RowProgress(std::int32_t key, std::int64_t positionMs) override;
    void RowDone(std::int32_t key, std::int32_t outputKind, bool written, const std::wstring& reason) override;
    void ResampleStarted(std::int32_t key) override;
    void ResampleProgress(std::int32_t key, int percent) override;
    void ResampleDone(std::int32_t key, bool converted, const std::wstring& reason) override;
    // The window has heard all it shows from the other reports.
    void RowFinished(std::int32_t, bool, const std::wstring&) override { }
    void BatchDone() override;
    bool AskOverwrite(std::int32_t key, const std::wstring& path) override;

    // Forgets an answer given for the rest of the last batch.
    void NewBatch();

private:
    void Post(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);

    win::HWND window_;
    // Workers side by side ask one at a time, so that one answer for the
    // rest of the batch is not asked again by the others.
    std::mutex asking_;
    std::optional<bool> forRest_;
};
