// The main window's commands: adding and removing rows, starting batches,
// Setup and the product page.
#include "app/MainWindow.h"

#include "app/MainWindowTemplate.h"
#include "app/SetupDialog.h"
#include "app/SourceFormats.h"
#include "rows/StatusTexts.h"
#include "engine/ConversionItem.h"
#include "modules/apesdk/ApeDecompress.h"
#include "settings/ConversionSettings.h"

#include "platform/dialogs/CommonDialogs.h"
#include "platform/window/DropFiles.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Message.h"
#include "platform/window/Focus.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <chrono>

using namespace win;
using namespace main_window;

namespace {


}  // namespace

void MainWindow::OnCommand(int id)
{
    switch (id) {
    case IDOK: break;  // Enter does not close the window
    case IDCANCEL:
        // Escape: during a batch it is about the batch, not the window.
        if (batch_.IsRunning())
            AskStop();
        else
            Close();
        break;
    case kCloseCommand: RequestClose(); break;
    case kAdd: OnAdd(); break;
    case kDelete: OnDelete(); break;
    case kMp3: OnConvert(kOutputMp3); break;
    case kWave: OnConvert(kOutputWav); break;
    case kBurnCd: OnBurnCd(); break;
    case kSetup: OnSetup(); break;
    case kSite: OnSite(); break;
    }
}

void MainWindow::OnAdd()
{
    if (batch_.IsRunning())
        return;
    std::vector<std::wstring> paths;
    if (ChooseFilesToOpen(window_, source_formats::AddFilter(), true, &paths))
        AddPaths(source_formats::ExistingFiles(paths));
}

// The files are examined off this thread; their rows come as they are
// known, in the order given (AddProbed).
void MainWindow::AddPaths(const std::vector<std::wstring>& paths)
{
    if (probes_)
        probes_->Push(paths);
    // Asked once the first of them is examined: by then the examining
    // threads have loaded the decoder, which this thread need not wait for.
    decoderToCheck_ = decoderToCheck_ || std::any_of(paths.begin(), paths.end(), [](const std::wstring& path) {
                          return InputKindOf(path) == kInputApe;
                      });
}

// Rows come in a few times a second rather than one by one: each time the
// window lays out and paints, which thousands of times over would be the
// most of adding.
void MainWindow::OnProbesReady()
{
    constexpr double kInterval = 40;
    double now = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
    if (probeTimer_)
        return;
    if (now - lastProbesMs_ >= kInterval) {
        AddProbed();
        return;
    }
    probeTimer_ = true;
    SetTimer(window_, kProbeTimer, static_cast<UINT>(kInterval), nullptr);
}

void MainWindow::AddProbed()
{
    // A running batch has the rows: they wait for its end.
    if (!probes_ || batch_.IsRunning())
        return;
    lastProbesMs_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
    auto ready = probes_->TakeReady();
    for (auto& probe : ready) {
        std::int32_t first = rows_.Rows().empty() ? 0 : rows_.Rows().rbegin()->first + 1;
        rows_.AddProbed(std::move(probe));
        // A file that cannot be read says why in its tip.
        for (auto it = rows_.Rows().lower_bound(first); it != rows_.Rows().end(); ++it)
            if (it->second && !it->second->failureReason.empty())
                skinList_.ListSetItemReason(it->second->failureReason, it->first);
    }
    if (!ready.empty())
        WarnWithoutDecoder();
}

// Without the decoder module the rows of Monkey's Audio files still come
// (the files are there), but with no length, and each would fail to
// convert: the person adding them hears why at once, not at the end of a
// batch.
void MainWindow::WarnWithoutDecoder()
{
    if (!decoderToCheck_)
        return;
    decoderToCheck_ = false;
    std::wstring why;
    if (!LoadApeDecoder(&why))
        MessageBox(window_, (L"Monkey's Audio files cannot be read: " + why + L".").c_str(), L"Decoder Missing",
                   MB_OK);
}

// Files dropped from a file manager are added as "add" would add them,
// in the order dropped: the kinds "add" offers, and from a dropped folder
// every such file under it.
void MainWindow::OnDropFiles(HDROP drop)
{
    std::vector<std::wstring> paths = DragQueryFiles(drop);
    DragFinish(drop);
    if (batch_.IsRunning())
        return;
    AddPaths(source_formats::DroppedFiles(paths));
}

// Files named on the command line, here or by a second `kolvex FILE…`:
// added as "Add files" adds them, and the window comes forward to show them.
void MainWindow::OnFilesHanded(std::vector<std::wstring>* handed)
{
    std::unique_ptr<std::vector<std::wstring>> files(handed);
    if (!files || closing_)
        return;
    AddPaths(source_formats::ExistingFiles(*files));
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
    SetActiveWindow(window_);
}

void MainWindow::OnDelete()
{
    if (!batch_.IsRunning())
        rows_.RemoveChecked();
}

void MainWindow::OnConvert(std::int32_t outputKind)
{
    if (batch_.IsRunning())
        return;
    rows_.MarkChecked();
    rows_.PrepareOutputs(outputKind, g_settings.OutputDirectory());
    shownFormat_ = outputKind;
    ShowFormat();
    StartBatch();
}

// The line describes the format last converted to, with the settings as
// they are now: Setup changes it at once, not at the next batch.
void MainWindow::ShowFormat()
{
    if (shownFormat_ != kOutputMp3 && shownFormat_ != kOutputWav)
        return;
    const Mp3OutputType& m = g_settings.mp3;
    std::wstring format = shownFormat_ == kOutputMp3
                              ? Mp3FormatLine(g_settings.cbrFlag != 0, static_cast<int>(m.cbrBitRate),
                                              static_cast<int>(m.vbrMinimum), static_cast<int>(m.vbrMaximum),
                                              static_cast<int>(m.quality))
                              : WaveFormatLine(g_settings.resamplingFlag != 0);
    SetWindowText(formatLine_, format.c_str());
}

// Converts the rows marked by the last batch to WAV beside their sources.
void MainWindow::OnBurnCd()
{
    if (batch_.IsRunning())
        return;
    rows_.SetWavBesideSource();
    StartBatch();
}

bool MainWindow::StartBatch()
{
    failures_.clear();
    lastOutput_.clear();
    batchStarted_ = 0;
    batchTotal_ = static_cast<int>(std::count_if(rows_.Rows().begin(), rows_.Rows().end(),
                                                 [](const auto& row) { return row.second && row.second->marked; }));
    if (events_)
        events_->NewBatch();
    batch_.SetRows(&rows_.Rows());
    SetBusy(true);
    // Setup stores what the next batch converts with; a batch keeps its own.
    if (events_ && batch_.Start(BatchSettings{g_settings}, *events_))
        return true;
    SetBusy(false);
    return false;
}

// While a batch runs its rows are in the worker's hands: nothing may add,
// free or rename them, and no second batch may start on them.
void MainWindow::SetBusy(bool busy)
{
    for (int id : {kAdd, kDelete, kSetup, kMp3, kWave})
        EnableWindow(GetDlgItem(window_, id), !busy);
    OfferStop(busy);
    // A batch that failed or stopped part way would leave its last row's
    // progress standing as if something still ran.
    ResetProgress();
    if (!busy)
        AddProbed();
}

void MainWindow::OnSetup()
{
    if (batch_.IsRunning())
        return;
    SetupDialog setup;
    setup.DoModal(window_);
    SetWindowText(directoryLine_, OutputDirectoryLine(g_settings.OutputDirectory()).c_str());
    ShowFormat();
}

void MainWindow::OnSite()
{
    std::wstring page = programFolder_ + L"README.html";
    ShellExecute(window_, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
