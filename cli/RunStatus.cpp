#include "cli/RunStatus.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Clock(double seconds)
{
    long whole = static_cast<long>(std::max(0.0, seconds) + 0.5);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

void RunStatus::Expect(const RowTable& rows, const std::vector<std::vector<std::int32_t>>& albums)
{
    std::lock_guard guard(lock_);
    for (const auto& album : albums) {
        int count = 0;
        for (std::int32_t key : album) {
            auto it = rows.find(key);
            if (it == rows.end() || !it->second->marked)
                continue;
            tracks_[key] = Track{static_cast<int>(rowsLeft_.size()), it->second->startMs,
                                 static_cast<double>(it->second->lengthMs), 0.0};
            ++count;
        }
        if (count > 0)
            rowsLeft_.push_back(count);
    }
    // The tracks of one image are one album.
    std::map<std::wstring, int> bySource;
    for (const auto& [key, row] : rows) {
        if (!row->marked || tracks_.count(key))
            continue;
        auto [it, added] = bySource.emplace(row->sourcePath, static_cast<int>(rowsLeft_.size()));
        if (added)
            rowsLeft_.push_back(0);
        ++rowsLeft_[static_cast<std::size_t>(it->second)];
        tracks_[key] = Track{it->second, row->startMs, static_cast<double>(row->lengthMs), 0.0};
    }
    for (const auto& [key, track] : tracks_)
        totalMs_ += track.lengthMs;
}

void RunStatus::RowStarted(std::int32_t key, std::int32_t outputKind)
{
    {
        std::lock_guard guard(lock_);
        auto now = std::chrono::steady_clock::now();
        if (!running_) {
            running_ = true;
            begun_ = now;
        }
        started_[key] = now;
    }
    display_.RowStarted(key, outputKind);
}

void RunStatus::RowProgress(std::int32_t key, std::int64_t positionMs)
{
    {
        std::lock_guard guard(lock_);
        if (auto it = tracks_.find(key); it != tracks_.end())
            it->second.doneMs = std::clamp(static_cast<double>(positionMs) - it->second.startMs, 0.0,
                                           it->second.lengthMs);
    }
    display_.RowProgress(key, positionMs);
}

void RunStatus::RowFinished(std::int32_t key, bool ok, const std::wstring& reason)
{
    {
        std::lock_guard guard(lock_);
        Row& row = rows_[key];
        row.finished = true;
        row.ok = ok;
        row.reason = reason;
        if (auto it = started_.find(key); it != started_.end())
            row.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - it->second).count();
        if (auto it = tracks_.find(key); it != tracks_.end()) {
            it->second.doneMs = it->second.lengthMs;
            if (--rowsLeft_[static_cast<std::size_t>(it->second.album)] == 0)
                ++albumsOver_;
        }
    }
    display_.RowFinished(key, ok, reason);
}

double RunStatus::DoneMs() const
{
    double done = 0.0;
    for (const auto& [key, track] : tracks_)
        done += track.doneMs;
    return done;
}

double RunStatus::ElapsedSeconds() const
{
    return running_ ? std::chrono::duration<double>(std::chrono::steady_clock::now() - begun_).count() : 0.0;
}

std::string RunStatus::OverviewLine() const
{
    std::lock_guard guard(lock_);
    double done = DoneMs() / 1000.0;
    double elapsed = ElapsedSeconds();
    std::string line = "albums " + std::to_string(albumsOver_) + " of " + std::to_string(rowsLeft_.size()) +
                       ", audio " + Clock(done) + " of " + Clock(totalMs_ / 1000.0);
    // Too early to tell before a second of work.
    if (elapsed >= 1.0 && done > 0.0) {
        double speed = done / elapsed;
        char text[96];
        std::snprintf(text, sizeof text, ", %.1fx real time, about %s left", speed,
                      Clock((totalMs_ / 1000.0 - done) / speed).c_str());
        line += text;
    }
    return line;
}

int RunStatus::AlbumsOver() const
{
    std::lock_guard guard(lock_);
    return albumsOver_;
}

std::string RunStatus::TotalsLine(int leftOutFailed, int skipped, int upToDate) const
{
    std::lock_guard guard(lock_);
    int converted = 0, failed = leftOutFailed;
    double done = 0.0;  // the audio of the files made, in seconds
    for (const auto& [key, row] : rows_) {
        (row.ok ? converted : failed) += 1;
        if (auto it = tracks_.find(key); row.ok && it != tracks_.end())
            done += it->second.lengthMs / 1000.0;
    }
    double elapsed = ElapsedSeconds();
    char text[256];
    std::snprintf(text, sizeof text, "%d converted, %d failed, %d skipped, %d up to date; audio %s in %s", converted,
                  failed, skipped, upToDate, Clock(done).c_str(), Clock(elapsed).c_str());
    std::string line = text;
    if (elapsed > 0.0 && done > 0.0) {
        std::snprintf(text, sizeof text, " (%.1fx real time)", done / elapsed);
        line += text;
    }
    return line;
}

std::map<std::int32_t, RunStatus::Row> RunStatus::Rows() const
{
    std::lock_guard guard(lock_);
    return rows_;
}
