// Listens to a batch beside the progress display: when each row started and
// how it ended, for the whole run's status and for the report of --json.
// Every call is passed on to the display unchanged.
#pragma once

#include "engine/RowEvents.h"

#include <chrono>
#include <map>
#include <mutex>
#include <string>

class RunStatus : public RowEvents {
public:
    struct Row {
        bool finished = false;
        bool ok = false;
        std::wstring reason;
        double seconds = 0.0;  // from its start to its end
    };

    explicit RunStatus(RowEvents& display) : display_(display) { }

    void RowStarted(std::int32_t key, std::int32_t outputKind) override;
    void RowProgress(std::int32_t key, std::int64_t positionMs) override { display_.RowProgress(key, positionMs); }
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

    // After the batch.
    std::map<std::int32_t, Row> Rows() const;

private:
    RowEvents& display_;
    mutable std::mutex lock_;
    std::map<std::int32_t, std::chrono::steady_clock::time_point> started_;
    std::map<std::int32_t, Row> rows_;
};
