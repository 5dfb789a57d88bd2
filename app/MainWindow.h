// The program's main window: the conversion list, the command buttons, a
// progress bar and three status lines. Commands become work for the batch;
// the batch's messages come back as row texts, progress and status lines.
//
// It owns the rows and the batch that converts them. While a batch runs the
// commands that would free, rename or re-queue rows are disabled, and every
// way of closing stops the batch and waits for it before the rows go.
#pragma once

#include "rows/ConversionList.h"
#include "rows/ProbeQueue.h"
#include "app/SkinList.h"
#include "app/WindowRowEvents.h"
#include "engine/BatchController.h"

#include "platform/core/Types.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class SkinManager;
namespace win {
struct DropList;
}

class MainWindow {
public:
    // `skin` may be null (the window keeps the platform's look and has no
    // list). `list` is the conversion list the rows are shown on; by default
    // the skin's "mmlist". `programFolder` holds Skin/ and README.html.
    MainWindow(SkinManager* skin, std::wstring programFolder, ListOperations* list = nullptr);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Where the window takes its skin from: the folder of the skin's images
    // and the definition file, under the program folder.
    static std::wstring SkinFolder(const std::wstring& programFolder) { return programFolder + L"Skin/"; }
    static std::wstring SkinDefinition(const std::wstring& programFolder)
    {
        return SkinFolder(programFolder) + L"APEdefault.ini";
    }

    // Runs the window modally until it closes.
    win::INT_PTR DoModal();
    // Creates it without a loop of its own (tests drive it).
    win::HWND Create();
    win::HWND Window() const { return window_; }
    bool Ended() const { return ended_; }

    ConversionList& Rows() { return rows_; }
    // True while added files are still being examined (their rows to come).
    bool Adding() const { return probes_ && probes_->Busy(); }

    // Called once, after the window's first paint.
    std::function<void(MainWindow&)> onFirstPaint;
    // Added as "Add files" adds them once the window is up.
    std::vector<std::wstring> filesAtStart;
    // From any thread: the window adds `files` (those that are there) and
    // comes to the front. False when the window is gone.
    static bool PostFiles(win::HWND window, std::vector<std::wstring> files);

private:
    static win::INT_PTR Proc(win::HWND window, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    win::INT_PTR Handle(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);

    // MainWindow.cpp: start-up, painting, closing.
    void OnInitDialog(win::HWND window);
    void AddAboutEntry();
    void LoadSettings();
    void ApplySkin();
    void PlaceStatusControls();
    void WatchFirstPaint();
    static win::LRESULT PaintWatch(win::HWND window, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    bool OnSysCommand(win::WPARAM command);
    bool OnPaint();
    void Close();
    void OnDestroy();
    void ShowAbout();

    // MainWindowStopping.cpp: a person closing or stopping during a batch.
    void RequestClose();
    void AskStop();
    void StopBatch();
    void OnBatchEnded();
    int AskDuringBatch(const wchar_t* question);
    void OfferStop(bool offered);

    // MainWindowCommands.cpp
    void OnCommand(int id);
    void OnAdd();
    void AddPaths(const std::vector<std::wstring>& paths);
    void AddProbed();
    void OnProbesReady();
    void WarnWithoutDecoder();
    void OnDropFiles(win::DropList* drop);
    void OnFilesHanded(std::vector<std::wstring>* files);
    void OnDelete();
    void OnConvert(std::int32_t outputKind);
    void OnBurnCd();
    void OnSetup();
    void OnSite();
    bool StartBatch();
    void ShowFormat();
    void SetBusy(bool busy);

    // MainWindowProgress.cpp
    void OnRowStart(std::int32_t key, const wchar_t* status);
    void OnRowDone(std::int32_t key, bool failed, const wchar_t* okStatus, const wchar_t* failedStatus);
    void OnProgress(win::LPARAM position);
    void OnResampleStart();
    void OnResampleProgress(win::WPARAM percent);
    void OnResampleDone(bool failed);
    void OnBatchDone();
    void ReportFailures();
    // MainWindowReasons.cpp
    void ShowRowReasons();
    void OpenOutputFolder();
    void SetStatus(const std::wstring& text);
    void SetProgressRange(int low, int high);
    void ResetProgress();

    // In the order the window holds them.
    win::HWND formatLine_ = nullptr;
    win::HWND directoryLine_ = nullptr;
    win::HWND statusLine_ = nullptr;
    win::HWND progress_ = nullptr;
    win::HICON icon_ = nullptr;
    SkinList skinList_;
    ConversionList rows_;
    // Before the batch: the batch reports to it until it has ended.
    std::unique_ptr<WindowRowEvents> events_;
    BatchController batch_;
    // Examines added files; made with the window, whose thread it wakes.
    std::unique_ptr<ProbeQueue> probes_;
    std::atomic<bool> probesPosted_{false};
    static constexpr win::UINT_PTR kProbeTimer = 7;
    bool probeTimer_ = false;
    // Monkey's Audio files were added: whether they can be read is told
    // once their rows come.
    bool decoderToCheck_ = false;
    double lastProbesMs_ = -1e9;

    SkinManager* skin_;
    std::wstring programFolder_;
    win::HWND window_ = nullptr;
    bool ended_ = false;
    bool closing_ = false;
    bool painted_ = false;
    // A question about the running batch is up; its end waits for the answer.
    bool asking_ = false;
    bool endedWhileAsking_ = false;
    // The person stopped the batch: its end asks nothing.
    bool stopped_ = false;
    win::WNDPROC watchedProc_ = nullptr;
    // The rows that failed in the running batch: name and reason.
    std::vector<std::pair<std::wstring, std::wstring>> failures_;
    // Where the running batch wrote its last file.
    std::wstring lastOutput_;
    // The rows the running batch converts, and how many of them have started.
    int batchTotal_ = 0;
    // The output kind the format line describes; -1 before the first batch.
    std::int32_t shownFormat_ = -1;
    int batchStarted_ = 0;
};
