#include "cli/JsonReport.h"

#include "platform/core/OutputFile.h"
#include "platform/core/Strings.h"

#include <cstdio>

std::string JsonString(const std::string& text)
{
    // Bytes that are not UTF-8 would make the whole report unreadable.
    std::string valid = win::IsValidUtf8(text) ? text : win::ToUtf8(win::ForDisplay(win::FromUtf8(text)));
    std::string out = "\"";
    for (unsigned char c : valid) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::vector<ReportRecord> RowRecords(const RowTable& rows, const std::map<std::int32_t, RunStatus::Row>& status,
                                     const LeftOutRows& leftOut)
{
    std::vector<ReportRecord> records;
    for (const auto& [key, row] : rows) {
        ReportRecord record{win::ToUtf8(row->sourcePath), win::ToUtf8(row->outputPath), "", "", 0.0};
        if (auto left = leftOut.find(key); left != leftOut.end()) {
            record.outcome = left->second.failed ? "failed" : "skipped";
            record.reason = win::ToUtf8(left->second.reason);
        } else if (!row->marked) {
            continue;
        } else if (auto it = status.find(key); it != status.end() && it->second.finished) {
            record.outcome = it->second.ok ? "converted" : "failed";
            record.reason = win::ToUtf8(it->second.reason);
            record.seconds = it->second.seconds;
        } else {
            record.outcome = "failed";
            record.reason = row->failureReason.empty() ? "not converted" : win::ToUtf8(row->failureReason);
        }
        records.push_back(std::move(record));
    }
    return records;
}

bool WriteJsonReport(const std::string& path, const std::vector<ReportRecord>& records, std::string& error)
{
    win::OutputFile file;
    if (!file.Create(win::FromUtf8(path))) {
        error = file.ErrorText();
        return false;
    }
    std::FILE* out = file.Stream();
    std::fprintf(out, "[");
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ReportRecord& r = records[i];
        std::fprintf(out, "%s\n  {\"source\": %s, \"output\": %s, \"outcome\": %s, \"reason\": %s, \"seconds\": %.3f}",
                     i ? "," : "", JsonString(r.source).c_str(), JsonString(r.output).c_str(),
                     JsonString(r.outcome).c_str(), JsonString(r.reason).c_str(), r.seconds);
    }
    std::fprintf(out, "\n]\n");
    if (!file.Commit()) {
        error = file.ErrorText();
        return false;
    }
    return true;
}
