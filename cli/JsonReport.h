// The outcome of every row of a run for scripts (--json FILE): a JSON array
// with one object per row: source, output, outcome ("converted", "failed",
// "skipped" or "up to date"), reason ("" when none) and seconds.
#pragma once

#include "cli/OutputPlan.h"
#include "cli/RunStatus.h"

#include "engine/ConversionItem.h"

#include <string>
#include <vector>

struct ReportRecord {
    std::string source;
    std::string output;
    std::string outcome;
    std::string reason;
    double seconds = 0.0;
};

std::vector<ReportRecord> RowRecords(const RowTable& rows, const std::map<std::int32_t, RunStatus::Row>& status,
                                     const LeftOutRows& leftOut);

// Written safely (a temporary file renamed over `path`); false with `error` set when it cannot be.
bool WriteJsonReport(const std::string& path, const std::vector<ReportRecord>& records, std::string& error);

// `text` (UTF-8) as a JSON string, quotes included.
std::string JsonString(const std::string& text);
