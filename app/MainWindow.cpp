#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/MainWindowTemplate.h"
#include "app/StartupSteps.h"
#include "app/ProgramIcon.h"
#include "rows/StatusTexts.h"
#include "app/EngineMessages.h"
#include "app/TabOrder.h"
#include "resample/SsrcMessages.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"
#include "skin/SkinManager.h"

#include "platform/controls/Controls.h"
#include "platform/window/DropFiles.h"
#include "platform/graphics/Icon.h"
#include "platform/dialogs/Menu.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

using namespace win;
using namespace main_window;

namespace {

// Posted by the first paint, so it arrives once the paint is done.
constexpr UINT kFirstPaintDone = WM_APP + 1;
// Posted by the probing threads: examined files wait to become rows.
constexpr UINT kProbesReady = WM_APP + 2;
// Files from outside (lParam: a heap std::vector<std::wstring>, ours now).
constexpr UINT kFilesHanded = WM_APP + 3;

}  // namespace

MainWindow::MainWindow(SkinManager* skin, std::wstring programFolder, ListOperations* list)
    : skinList_(skin), rows_(list ? *list : skinList_), skin_(skin), programFolder_(std::move(programFolder))
{
    // The list's control class must exist before the dialog is made.
    RegisterMiniWndClass();
}

MainWindow::~MainWindow()
{
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
    if (icon_)
        DestroyIcon(icon_);
}

INT_PTR MainWindow::DoModal()
{
    DialogTemplate t = Template();
    return DialogBoxIndirectParam(nullptr, &t, nullptr, Proc, reinterpret_cast<LPARAM>(this));
}

HWND MainWindow::Create()
{
    DialogTemplate t = Template();
    return CreateDialogIndirectParam(nullptr, &t, nullptr, Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtr(window, DWLP_USER, lParam);
        reinterpret_cast<MainWindow*>(lParam)->OnInitDialog(window);
        return 1;
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtr(window, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : 0;
}

INT_PTR MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND: return OnSysCommand(wParam);
    case WM_PAINT: return OnPaint();
    case WM_QUERYDRAGICON: return reinterpret_cast<INT_PTR>(icon_);
    case WM_CLOSE: RequestClose(); return 1;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 1;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 1;
    case WM_CONVERT_PROGRESS: OnProgress(lParam); return 1;
    case WM_WAVE_START: OnRowStart(static_cast<std::int32_t>(wParam), L"To WAVE..."); return 1;
    case WM_WAVE_DONE:
        OnRowDone(static_cast<std::int32_t>(wParam), lParam != 0, L"To WAVE is OK", L"To WAVE failed");
        return 1;
    case WM_MP3_START: OnRowStart(static_cast<std::int32_t>(wParam), L"To MP3..."); return 1;
    case WM_MP3_DONE:
        OnRowDone(static_cast<std::int32_t>(wParam), lParam != 0, L"To MP3 is OK", L"To MP3 failed");
        return 1;
    case WM_BATCH_DONE: OnBatchEnded(); return 1;
    case WM_SSRC_START: OnResampleStart(); return 1;
    case WM_SSRC_PROGRESS: OnResampleProgress(wParam); return 1;
    case WM_SSRC_DONE: OnResampleDone(lParam == 1); return 1;
    case kFilesHanded: OnFilesHanded(reinterpret_cast<std::vector<std::wstring>*>(lParam)); return 1;
    case kProbesReady:
        probesPosted_.store(false);
        OnProbesReady();
        return 1;
    case WM_TIMER:
        if (wParam != kProbeTimer)
            return 0;
        KillTimer(window_, kProbeTimer);
        probeTimer_ = false;
        AddProbed();
        return 1;
    case kFirstPaintDone:
        if (onFirstPaint)
            onFirstPaint(*this);
        return 1;
    case WM_DESTROY: OnDestroy(); return 0;
    }
    return 0;
}

void MainWindow::OnInitDialog(HWND window)
{
    startup_steps::Note("dialog");  // the window, its controls and their font made
    window_ = window;
    AddAboutEntry();
    icon_ = LoadProgramIcon(programFolder_);
    SendMessage(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessage(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    LoadSettings();
    startup_steps::Note("settings");

    formatLine_ = GetDlgItem(window, kFormatLine);
    directoryLine_ = GetDlgItem(window, kDirectoryLine);
    statusLine_ = GetDlgItem(window, kStatus);
    progress_ = GetDlgItem(window, kProgress);
    SetWindowText(window, kProgramTitle);
    SetWindowText(statusLine_, L"....");
    SetWindowText(directoryLine_, OutputDirectoryLine(g_settings.OutputDirectory()).c_str());
    SetWindowText(formatLine_, L"Output Audio Info:");

    ApplySkin();
    if (onFirstPaint)
        WatchFirstPaint();
    events_ = std::make_unique<WindowRowEvents>(window);
    probes_ = std::make_unique<ProbeQueue>([this, window] {
        // One wake-up at a time: the window takes whatever is ready then.
        if (!probesPosted_.exchange(true))
            PostMessage(window, kProbesReady, 0, 0);
    });
    PlaceStatusControls();
    tab_order::FollowPlaces(window);
    DragAcceptFiles(window, 1);
    if (!filesAtStart.empty())
        PostFiles(window, std::move(filesAtStart));
}

bool MainWindow::PostFiles(HWND window, std::vector<std::wstring> files)
{
    auto* handed = new std::vector<std::wstring>(std::move(files));
    if (PostMessage(window, kFilesHanded, 0, reinterpret_cast<LPARAM>(handed)))
        return true;
    delete handed;
    return false;
}

void MainWindow::AddAboutEntry()
{
    HMENU menu = GetSystemMenu(window_, 0);
    if (!menu)
        return;
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_STRING, kAboutCommand, L"&About Kolvex...");
}

void MainWindow::LoadSettings()
{
    std::wstring path = SettingsPath();
    if (!SettingsFile::Read(path, g_settings))
        SettingsFile::Write(path, g_settings);  // the defaults, for next time
}

void MainWindow::ApplySkin()
{
    if (!skin_)
        return;
    skin_->SetSkinDirectory(SkinFolder(programFolder_));
    skin_->LoadSkin(SkinDefinition(programFolder_));
    startup_steps::Note("skin-loaded");
    skin_->ApplySkin(window_, L"main");
    startup_steps::Note("skin-applied");
}

void MainWindow::PlaceStatusControls()
{
    constexpr UINT keep = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(progress_, nullptr, 11, 325, 0, 0, keep);
    SetWindowPos(statusLine_, nullptr, 497, 325, 0, 0, keep);
    SetWindowPos(directoryLine_, nullptr, 11, 343, 0, 0, keep);
    SetWindowPos(formatLine_, nullptr, 11, 360, 0, 0, keep);
}

// The skinned frame paints the window itself, so the dialog never hears
// WM_PAINT: watch for it in front of whoever handles it.
void MainWindow::WatchFirstPaint()
{
    watchedProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::PaintWatch)));
}

LRESULT MainWindow::PaintWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtr(window, DWLP_USER));
    if (!self || !self->watchedProc_)
        return DefWindowProc(window, message, wParam, lParam);
    LRESULT result = CallWindowProc(self->watchedProc_, window, message, wParam, lParam);
    if (message == WM_PAINT && !self->painted_) {
        startup_steps::Note("painted");
        self->painted_ = true;
        PostMessage(window, kFirstPaintDone, 0, 0);
    }
    return result;
}

bool MainWindow::OnSysCommand(WPARAM command)
{
    if ((command & 0xFFF0) == kAboutCommand) {
        ShowAbout();
        return true;
    }
    if ((command & 0xFFF0) == SC_CLOSE) {
        RequestClose();
        return true;
    }
    if ((command & 0xFFF0) == kStopCommand) {
        StopBatch();
        return true;
    }
    return false;
}

void MainWindow::ShowAbout() { about_box::Show(window_, icon_); }

bool MainWindow::OnPaint()
{
    if (!IsIconic(window_))
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    SIZE size{32, 32};
    GetIconSize(icon_, &size);
    DrawIcon(dc, (client.right - size.cx + 1) / 2, (client.bottom - size.cy + 1) / 2, icon_);
    EndPaint(window_, &paint);
    return true;
}

// Every way of closing comes here. A running batch stops after its current
// chunk; waiting for it keeps answering what its threads send, so a worker
// asking a question or reporting progress is not left hanging.
void MainWindow::Close()
{
    if (closing_)
        return;
    closing_ = true;
    batch_.Cancel();
    batch_.Wait();
    ended_ = true;
    EndDialog(window_, IDCANCEL);
}

void MainWindow::OnDestroy()
{
    // Files still being examined become no rows.
    probes_.reset();
    // A last guard: nothing may use the rows once they are freed.
    batch_.Cancel();
    batch_.Wait();
    rows_.Clear();
}
