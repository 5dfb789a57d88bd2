// What the batch, its workers and the resampler report, shown as row
// texts, progress and the status line; and the end of a batch.
#include "app/MainWindow.h"

#include "app/FailureSummary.h"

#include "settings/ConversionSettings.h"
#include "settings/SettingsCheck.h"

#include "platform/dialogs/CommonDialogs.h"
#include "platform/controls/Controls.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace win;

namespace {

// Progress ranges and positions are 32-bit.
int Clamp32(double value)
{
    if (!(value > std::numeric_limits<int>::min()))
        return value != value ? 0 : std::numeric_limits<int>::min();
    if (value >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);  // truncated
}

// A row that runs to the end of its source (the last track of an album has
// end 0) would get a backwards range and show no progress at all; its
// length tells where it ends.
double ProgressEnd(const ConversionItem& row)
{
    if (row.endMs > row.startMs || row.lengthMs == 0)
        return row.endMs;
    return row.startMs + row.lengthMs;
}

std::wstring FileName(const std::wstring& path)
{
    auto slash = path.rfind(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Folder(const std::wstring& path)
{
    auto slash = path.rfind(L'/');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace

void MainWindow::SetStatus(const std::wstring& text) { SetWindowText(statusLine_, text.c_str()); }

void MainWindow::SetProgressRange(int low, int high)
{
    SendMessage(progress_, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void MainWindow::ResetProgress()
{
    SendMessage(progress_, PBM_SETPOS, 0, 0);
    SetWindowText(progress_, L"");
}

void MainWindow::OnRowStart(std::int32_t key, const wchar_t* status)
{
    rows_.List().ListSetItemState(kItemConverting, key);
    rows_.List().ListSetItemInfo(L"Convertering", key);
    // Where a big batch has got to, in the bar: the status line keeps its own texts.
    // Rows reported without a batch of ours (a picture of the window) count
    // what is ticked.
    if (batchTotal_ == 0)
        for (std::int32_t k = rows_.List().ListFindFirstChecked(); k != -1; k = rows_.List().ListFindNextChecked(k))
            ++batchTotal_;
    ++batchStarted_;
    std::wstring count = std::to_wstring(batchStarted_) + L" of " + std::to_wstring(std::max(batchTotal_, batchStarted_));
    SetWindowText(progress_, count.c_str());
    skinList_.ListFollowItem(key, batchStarted_ == 1);
    if (const ConversionItem* row = rows_.Find(key))
        SetProgressRange(Clamp32(row->startMs), Clamp32(ProgressEnd(*row)));
    SetStatus(status);
}

void MainWindow::OnRowDone(std::int32_t key, bool failed, const wchar_t* okStatus, const wchar_t* failedStatus)
{
    rows_.List().ListSetItemState(kItemIdle, key);
    rows_.List().ListSetItemInfo(failed ? L"Converter Failed" : L"Converter OK", key);
    SetStatus(failed ? failedStatus : okStatus);
    const ConversionItem* row = rows_.Find(key);
    if (!row)
        return;
    if (failed)
        failures_.emplace_back(FileName(row->outputPath), row->failureReason);
    else
        lastOutput_ = row->outputPath;
}

void MainWindow::OnProgress(LPARAM position)
{
    // Sent by the worker, which waits meanwhile: the pointer stays valid.
    if (const auto* ms = reinterpret_cast<const std::int64_t*>(position))
        SendMessage(progress_, PBM_SETPOS, static_cast<WPARAM>(Clamp32(static_cast<double>(*ms))), 0);
}

void MainWindow::OnResampleStart()
{
    SendMessage(progress_, PBM_SETPOS, 0, 0);
    SetProgressRange(0, 98);
    SetStatus(L"SSRC...");
}

void MainWindow::OnResampleProgress(WPARAM percent) { SendMessage(progress_, PBM_SETPOS, percent, 0); }

void MainWindow::OnResampleDone(bool failed)
{
    SendMessage(progress_, PBM_SETPOS, 0, 0);
    if (failed)
        SetStatus(L"SSRC failed");
}

void MainWindow::OnBatchDone()
{
    if (batch_.IsRunning() || closing_)
        return;  // a closing window asks nothing more
    batch_.Wait();
    SetBusy(false);
    ReportFailures();
    if (MessageBox(window_, L"Converter is Complete! Do you open the Output Folder?", L"Open Folder",
                   MB_OKCANCEL) == IDOK)
        OpenOutputFolder();
}

// The status line only shows the last row; a row that failed earlier in the
// batch would go unnoticed without this.
void MainWindow::ReportFailures()
{
    ShowRowReasons();
    failure_summary::Show(window_, failures_);
    failures_.clear();
}

// Without a stored output folder the files went beside their sources: open
// the folder of the last one written rather than nothing.
void MainWindow::OpenOutputFolder()
{
    std::wstring folder = g_settings.OutputDirectory();
    // One the batch did not write to (see ConversionList::PrepareOutputs).
    if (folder.empty() || !OutputFolderProblem(folder).empty())
        folder = Folder(lastOutput_);
    // Nothing written (every file kept or failed): where the batch wrote to.
    for (auto it = rows_.Rows().begin(); folder.empty() && it != rows_.Rows().end(); ++it)
        if (it->second && it->second->marked)
            folder = Folder(it->second->outputPath);
    ShellExecute(window_, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
