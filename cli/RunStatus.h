// Listens to a batch beside the progress display: when each row started and
// how it ended, for the report of --json, and how far the whole run is:
// albums over, audio converted, speed against real time and the time left.
// Every call is passed on to the display, after the run's state is updated.
#pragma once

#include "cli/ProgressDisplay.h"

#include "engine/ConversionItem.h"
#include "engine/RowEvents.h"

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class RunStatus : public RowEvents, public RunOverview {
public:
    struct Row {
        bool finished = false;
        bool ok = false;
        std::wstring reason;
        double seconds = 0.0;  // from its start to its end
    };

    explicit RunStatus(RowEvents& display) : display_(display) { }

    // Before the batch: the marked rows of `rows`, grouped into albums
    // (rows of one group are one album; marked rows in no group are each
    // grouped by their source).
    void Expect(const RowTable& rows, const std::vector<std::vector<std::int32_t>>& albums);

    void RowStarted(std::int32_t key, std::int32_t outputKind) override;
    void RowProgress(std::int32_t key, std::int64_t positionMs) override;
    void RowDone(std::int32_t key, std::int32_t outputKind, bool written, const std::wstring& reason) override
    {
        display_.RowDone(key, outputKind, written, reason);
    }
    void ResampleStarted(std::int32_t key) override { display_.ResampleStarted(key); }
    void ResampleProgress(std::int32_t key, int percent) override { display_.ResampleProgress(key, percent); }
    void ResampleDone(std::int32_t key, bool converted, const std::wstring& reason) override
    {
        display_.ResampleDone(key, converted, reason);
    }
    void RowFinished(std::int32_t key, bool ok, const std::wstring& reason) override;
    void BatchDone() override { display_.BatchDone(); }
    bool AskOverwrite(std::int32_t key, const std::wstring& path) override { return display_.AskOverwrite(key, path); }

    // "albums 2 of 6, audio 1:10 of 5:00, 12.5x real time, about 0:20 left"
    std::string OverviewLine() const override;
    int AlbumsOver() const override;
    // After the batch: converted, failed, the audio and the time it took;
    // the counts of the rows left out before it are given.
    std::string TotalsLine(int leftOutFailed, int skipped, int upToDate) const;

    std::map<std::int32_t, Row> Rows() const;

private:
    struct Track {
        int album = 0;
        double startMs = 0.0;
        double lengthMs = 0.0;
        double doneMs = 0.0;
    };

    double DoneMs() const;
    double ElapsedSeconds() const;

    RowEvents& display_;
    mutable std::mutex lock_;
    std::map<std::int32_t, Track> tracks_;
    std::vector<int> rowsLeft_;  // per album
    int albumsOver_ = 0;
    double totalMs_ = 0.0;
    bool running_ = false;
    std::chrono::steady_clock::time_point begun_;
    std::map<std::int32_t, std::chrono::steady_clock::time_point> started_;
    std::map<std::int32_t, Row> rows_;
};
