#include "cli/RunStatus.h"

void RunStatus::RowStarted(std::int32_t key, std::int32_t outputKind)
{
    {
        std::lock_guard guard(lock_);
        started_[key] = std::chrono::steady_clock::now();
    }
    display_.RowStarted(key, outputKind);
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
    }
    display_.RowFinished(key, ok, reason);
}

std::map<std::int32_t, RunStatus::Row> RunStatus::Rows() const
{
    std::lock_guard guard(lock_);
    return rows_;
}
