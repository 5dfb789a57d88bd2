// Shows a batch's progress: on a terminal a live bar for every row that is
// converting or resampling (rows may run side by side), otherwise one line
// per finished row. Remembers how each row ended for the summary. It hears
// of the batch directly, on the threads that do the work.
#pragma once

#include "cli/OverwriteAnswers.h"

#include "engine/ConversionItem.h"
#include "engine/RowEvents.h"
#include "rows/PlainList.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>

struct RowOutcome {
    bool started = false;
    bool done = false;
    bool written = false;
    bool resampled = false;
    bool resampleFailed = false;
};

// A row left out before the batch, and why: its existing file stays (a
// skip, or a failure when that file is not what was asked for), or its
// output folder cannot be used.
struct LeftOut {
    bool failed = false;
    std::wstring reason;
};

// The whole run at a glance, drawn above the bars on a terminal and, in
// plain output, printed each time an album is over.
class RunOverview {
public:
    virtual ~RunOverview() = default;
    virtual std::string OverviewLine() const = 0;
    virtual int AlbumsOver() const = 0;
};

class ProgressDisplay : public RowEvents {
public:
    ProgressDisplay(const RowTable& rows, const PlainList& list, int rowCount, FILE* out, OverwriteAnswers& answers);

    void RowStarted(std::int32_t key, std::int32_t outputKind) override;
    void RowProgress(std::int32_t key, std::int64_t positionMs) override;
    void RowDone(std::int32_t key, std::int32_t outputKind, bool written, const std::wstring& reason) override;
    void ResampleStarted(std::int32_t key) override;
    void ResampleProgress(std::int32_t key, int percent) override;
    void ResampleDone(std::int32_t key, bool converted, const std::wstring& reason) override;
    void RowFinished(std::int32_t key, bool ok, const std::wstring& reason) override;
    void BatchDone() override { }
    bool AskOverwrite(std::int32_t key, const std::wstring& path) override;
    // A write to the display failed (a closed pipe, a full disk): called
    // once, on the thread whose write failed (a row's, for progress).
    void OnOutputError(std::function<void()> handler) { onOutputError_ = std::move(handler); }
    bool OutputFailed() const { return outputFailed_; }
    // Set before the batch starts; its calls must not call back into the display.
    void ShowOverview(const RunOverview* overview) { overview_ = overview; }

    const std::map<std::int32_t, RowOutcome>& Outcomes() const { return outcomes_; }

private:
    // A row with a live bar.
    struct Bar {
        int ordinal = 0;  // the row's place in the order rows started
        const char* stage = "";
        int percent = 0;
    };

    void Show(std::int32_t key, const char* stage, int percent, bool force);
    void Hide(std::int32_t key);
    void Redraw(bool force);
    void Erase();
    std::string BarLine(std::int32_t key, const Bar& bar) const;
    std::string NameOf(std::int32_t key) const;
    void CheckOutput();

    std::mutex lock_;  // rows report on their own threads
    OverwriteAnswers& answers_;
    const RowTable& rows_;
    const PlainList& list_;
    const int rowCount_;
    FILE* out_;
    const bool live_;
    int started_ = 0;
    std::map<std::int32_t, int> ordinals_;
    std::map<std::int32_t, Bar> bars_;  // in key order on the screen
    int linesShown_ = 0;                // lines of bars now on the terminal
    std::chrono::steady_clock::time_point lastDraw_;

    std::map<std::int32_t, RowOutcome> outcomes_;
    std::function<void()> onOutputError_;
    bool outputFailed_ = false;
    const RunOverview* overview_ = nullptr;
    int albumsShown_ = 0;
};
