#include "cli/Summary.h"

#include "cli/DisplayText.h"

namespace {

// Why a row produced no file, or null when it did.
std::wstring Reason(const ConversionItem& row, const RowOutcome* outcome)
{
    if (outcome && outcome->done && !outcome->written)
        return row.failureReason.empty() ? L"the output file could not be written" : row.failureReason;
    if (outcome && outcome->resampleFailed)
        return row.failureReason.empty() ? L"resampling failed" : row.failureReason;
    if (outcome && outcome->done)
        return L"";
    if (row.inputKind == kInputRealMedia)
        return L"RealMedia files are only measured, not converted";
    return row.failureReason.empty() ? L"not started" : row.failureReason;
}

}  // namespace

int PrintSummary(FILE* out, const RowTable& rows, const PlainList& list,
                 const std::map<std::int32_t, RowOutcome>& outcomes, const LeftOutRows& leftOut)
{
    std::fprintf(out, "\nSummary:\n");
    int failures = 0;
    for (const auto& [key, record] : rows) {
        std::string name = DisplayText(list.Rows().at(key).name);
        std::string output = DisplayText(record->outputPath);
        if (auto left = leftOut.find(key); left != leftOut.end()) {
            std::fprintf(out, "  %-8s %s -> %s: %s\n", left->second.failed ? "FAILED" : "skipped", name.c_str(),
                         output.c_str(), DisplayText(left->second.reason).c_str());
            failures += left->second.failed ? 1 : 0;
            continue;
        }
        if (!record->marked)
            continue;
        auto it = outcomes.find(key);
        std::wstring why = Reason(*record, it == outcomes.end() ? nullptr : &it->second);
        std::fprintf(out, "  %-8s %s -> %s%s%s\n", why.empty() ? "OK" : "FAILED", name.c_str(), output.c_str(),
                     why.empty() ? "" : ": ", DisplayText(why).c_str());
        if (why.empty() && !record->notice.empty())
            std::fprintf(out, "           note: %s\n", DisplayText(record->notice).c_str());
        if (why.empty() && !record->warning.empty())
            std::fprintf(out, "           warning: %s\n", DisplayText(record->warning).c_str());
        failures += why.empty() ? 0 : 1;
    }
    return failures;
}
