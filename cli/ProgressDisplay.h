// Shows a batch's progress: on a terminal a live bar for the current row and
// the batch, otherwise one line per finished row. Remembers how each row
// ended for the summary.
#pragma once

#include "cli/ReportWindow.h"

#include "app/PlainList.h"
#include "engine/ConversionItem.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>

struct RowOutcome {
    bool started = false;
    bool done = false;
    bool written = false;
    bool resampled = false;
    bool resampleFailed = false;
};

class ProgressDisplay : public BatchObserver {
public:
    ProgressDisplay(const RowTable& rows, const PlainList& list, int rowCount, FILE* out);

    void RowStarted(std::int32_t key) override;
    void RowProgress(std::int64_t positionMs) override;
    void RowDone(std::int32_t key, bool written) override;
    void ResampleStarted() override;
    void ResampleProgress(int percent) override;
    void ResampleDone(bool converted) override;
    // A write to the display failed (a closed pipe, a full disk): called
    // once, from the display's thread.
    void OnOutputError(std::function<void()> handler) { onOutputError_ = std::move(handler); }
    bool OutputFailed() const { return outputFailed_; }

    const std::map<std::int32_t, RowOutcome>& Outcomes() const { return outcomes_; }

private:
    void DrawBar(int percent, const char* stage, bool force);
    std::string NameOf(std::int32_t key) const;

    const RowTable& rows_;
    const PlainList& list_;
    const int rowCount_;
    FILE* out_;
    const bool live_;
    std::int32_t current_ = -1;
    int started_ = 0;
    std::chrono::steady_clock::time_point lastDraw_;
    void CheckOutput();

    std::map<std::int32_t, RowOutcome> outcomes_;
    std::function<void()> onOutputError_;
    bool outputFailed_ = false;
};
