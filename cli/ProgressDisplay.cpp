#include "cli/ProgressDisplay.h"

#include "cli/DisplayText.h"

#include <algorithm>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Columns of the terminal; a bar line longer than that would wrap and the
// lines drawn over it would no longer line up.
int TerminalColumns(FILE* out)
{
    winsize size{};
    if (ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

}  // namespace

ProgressDisplay::ProgressDisplay(const RowTable& rows, const PlainList& list, int rowCount, FILE* out,
                                 OverwriteAnswers& answers)
    : answers_(answers), rows_(rows), list_(list), rowCount_(rowCount), out_(out), live_(isatty(fileno(out)) != 0)
{
}

std::string ProgressDisplay::NameOf(std::int32_t key) const
{
    auto it = list_.Rows().find(key);
    return it == list_.Rows().end() ? std::string() : DisplayText(it->second.name);
}

std::string ProgressDisplay::BarLine(std::int32_t key, const Bar& bar) const
{
    constexpr int kWidth = 20;
    int filled = std::clamp(bar.percent, 0, 100) * kWidth / 100;
    char head[32];
    std::snprintf(head, sizeof head, "[%d/%d] ", bar.ordinal, rowCount_);
    char tail[64];
    std::snprintf(tail, sizeof tail, " %-10s [%s%s] %3d%%", bar.stage,
                  std::string(static_cast<std::size_t>(filled), '#').c_str(),
                  std::string(static_cast<std::size_t>(kWidth - filled), '-').c_str(), std::clamp(bar.percent, 0, 100));
    int room = std::max(8, TerminalColumns(out_) - 1 - static_cast<int>(std::strlen(head) + std::strlen(tail)));
    std::string name = NameOf(key);
    // Cut on a character boundary: the name is UTF-8.
    if (static_cast<int>(name.size()) > room) {
        std::size_t cut = static_cast<std::size_t>(room - 3);
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name = name.substr(0, cut) + "...";
    }
    return head + name + std::string(static_cast<std::size_t>(std::max(0, room - static_cast<int>(name.size()))), ' ') +
           tail;
}

// Takes the bars off the screen, leaving the cursor where they began.
void ProgressDisplay::Erase()
{
    if (!live_ || outputFailed_ || linesShown_ == 0)
        return;
    std::fputs("\r", out_);
    for (int i = 1; i < linesShown_; ++i)
        std::fputs("\033[A", out_);
    std::fputs("\033[J", out_);
    linesShown_ = 0;
}

void ProgressDisplay::Redraw(bool force)
{
    if (!live_ || outputFailed_)
        return;
    auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDraw_ < std::chrono::milliseconds(100))
        return;
    lastDraw_ = now;
    Erase();
    if (overview_) {
        std::string line = overview_->OverviewLine();
        line.resize(std::min(line.size(), static_cast<std::size_t>(std::max(1, TerminalColumns(out_) - 1))));
        std::fputs(line.c_str(), out_);
        ++linesShown_;
    }
    for (const auto& [key, bar] : bars_) {
        if (linesShown_++ > 0)
            std::fputs("\n", out_);
        std::fputs(BarLine(key, bar).c_str(), out_);
    }
    std::fflush(out_);
    CheckOutput();
}

void ProgressDisplay::Show(std::int32_t key, const char* stage, int percent, bool force)
{
    Bar& bar = bars_[key];
    bar.ordinal = ordinals_[key];
    bar.stage = stage;
    bar.percent = percent;
    Redraw(force);
}

void ProgressDisplay::Hide(std::int32_t key)
{
    bars_.erase(key);
    Erase();
}

void ProgressDisplay::CheckOutput()
{
    if (outputFailed_ || !std::ferror(out_))
        return;
    outputFailed_ = true;
    if (onOutputError_)
        onOutputError_();
}

void ProgressDisplay::RowStarted(std::int32_t key, std::int32_t)
{
    std::lock_guard guard(lock_);
    ordinals_[key] = ++started_;
    outcomes_[key].started = true;
    Show(key, "converting", 0, true);
}

void ProgressDisplay::RowProgress(std::int32_t key, std::int64_t positionMs)
{
    std::lock_guard guard(lock_);
    auto it = rows_.find(key);
    if (!bars_.count(key) || it == rows_.end() || it->second->lengthMs == 0)
        return;
    const ConversionItem& row = *it->second;
    double done = (static_cast<double>(positionMs) - row.startMs) / row.lengthMs;
    Show(key, "converting", static_cast<int>(done * 100), false);
}

void ProgressDisplay::RowDone(std::int32_t key, std::int32_t, bool written, const std::wstring&)
{
    std::lock_guard guard(lock_);
    RowOutcome& outcome = outcomes_[key];
    outcome.done = true;
    outcome.written = written;
    Hide(key);
    Redraw(true);
}

// The row's line goes above the bars of the rows still running, once the
// row is over: a file that was written but not resampled is no "done".
void ProgressDisplay::RowFinished(std::int32_t key, bool ok, const std::wstring&)
{
    std::lock_guard guard(lock_);
    Hide(key);
    if (outputFailed_)
        return;
    auto it = rows_.find(key);
    std::string output = it == rows_.end() ? std::string() : DisplayText(it->second->outputPath);
    std::fprintf(out_, "%-6s %s -> %s\n", ok ? "done" : "FAILED", NameOf(key).c_str(), output.c_str());
    if (overview_ && !live_ && overview_->AlbumsOver() != albumsShown_) {
        albumsShown_ = overview_->AlbumsOver();
        std::fprintf(out_, "%s\n", overview_->OverviewLine().c_str());
    }
    std::fflush(out_);
    CheckOutput();
    Redraw(true);
}

void ProgressDisplay::ResampleStarted(std::int32_t key)
{
    std::lock_guard guard(lock_);
    outcomes_[key].resampled = true;
    Show(key, "resampling", 0, true);
}

void ProgressDisplay::ResampleProgress(std::int32_t key, int percent)
{
    std::lock_guard guard(lock_);
    if (bars_.count(key))
        Show(key, "resampling", percent, false);
}

void ProgressDisplay::ResampleDone(std::int32_t key, bool converted, const std::wstring&)
{
    std::lock_guard guard(lock_);
    if (!converted)
        outcomes_[key].resampleFailed = true;
    Hide(key);
    Redraw(true);
}

bool ProgressDisplay::AskOverwrite(std::int32_t, const std::wstring& path) { return answers_.Replace(path); }
