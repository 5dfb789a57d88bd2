#include "cli/ProgressDisplay.h"

#include "cli/DisplayText.h"

#include <algorithm>
#include <unistd.h>

ProgressDisplay::ProgressDisplay(const RowTable& rows, const PlainList& list, int rowCount, FILE* out)
    : rows_(rows), list_(list), rowCount_(rowCount), out_(out), live_(isatty(fileno(out)) != 0)
{
}

std::string ProgressDisplay::NameOf(std::int32_t key) const
{
    auto it = list_.Rows().find(key);
    return it == list_.Rows().end() ? std::string() : DisplayText(it->second.name);
}

void ProgressDisplay::DrawBar(int percent, const char* stage, bool force)
{
    if (!live_ || outputFailed_)
        return;
    auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDraw_ < std::chrono::milliseconds(100))
        return;
    lastDraw_ = now;
    constexpr int kWidth = 30;
    percent = std::clamp(percent, 0, 100);
    int filled = percent * kWidth / 100;
    std::string name = NameOf(current_);
    if (name.size() > 32)
        name = name.substr(0, 29) + "...";
    std::fprintf(out_, "\r\033[K[%d/%d] %-32s %-10s [%s%s] %3d%%", std::max(started_, 1), rowCount_, name.c_str(), stage,
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), '-').c_str(), percent);
    std::fflush(out_);
    CheckOutput();
}

void ProgressDisplay::CheckOutput()
{
    if (outputFailed_ || !std::ferror(out_))
        return;
    outputFailed_ = true;
    if (onOutputError_)
        onOutputError_();
}

void ProgressDisplay::RowStarted(std::int32_t key)
{
    current_ = key;
    ++started_;
    outcomes_[key].started = true;
    DrawBar(0, "converting", true);
}

void ProgressDisplay::RowProgress(std::int64_t positionMs)
{
    auto it = rows_.find(current_);
    if (current_ < 0 || it == rows_.end() || it->second->lengthMs == 0)
        return;
    const ConversionItem& row = *it->second;
    double done = (static_cast<double>(positionMs) - row.startMs) / row.lengthMs;
    DrawBar(static_cast<int>(done * 100), "converting", false);
}

void ProgressDisplay::RowDone(std::int32_t key, bool written)
{
    RowOutcome& outcome = outcomes_[key];
    outcome.done = true;
    outcome.written = written;
    if (live_)
        std::fprintf(out_, "\r\033[K");
    if (outputFailed_)
        return;
    auto it = rows_.find(key);
    std::string output = it == rows_.end() ? std::string() : DisplayText(it->second->outputPath);
    std::fprintf(out_, "%-6s %s -> %s\n", written ? "done" : "FAILED", NameOf(key).c_str(), output.c_str());
    std::fflush(out_);
    CheckOutput();
}

void ProgressDisplay::ResampleStarted()
{
    if (current_ >= 0)
        outcomes_[current_].resampled = true;
    DrawBar(0, "resampling", true);
}

void ProgressDisplay::ResampleProgress(int percent) { DrawBar(percent, "resampling", false); }

void ProgressDisplay::ResampleDone(bool converted)
{
    if (current_ >= 0 && !converted)
        outcomes_[current_].resampleFailed = true;
    if (live_ && !outputFailed_) {
        std::fprintf(out_, "\r\033[K");
        std::fflush(out_);
    }
}
