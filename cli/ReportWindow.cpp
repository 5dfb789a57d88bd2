#include "cli/ReportWindow.h"

#include "engine/EngineMessages.h"
#include "resample/SsrcMessages.h"

#include "platform/messaging/Message.h"
#include "platform/window/Window.h"

namespace {
constexpr const wchar_t* kClassName = L"KolvexConvertReport";
}

ReportWindow::ReportWindow(BatchObserver& observer, RowTable& rows) : observer_(observer), rows_(rows)
{
    win::WNDCLASS wc;
    if (!win::GetClassInfo(nullptr, kClassName, &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.lpszClassName = kClassName;
        win::RegisterClass(&wc);
    }
    Open(-1);
    for (auto& [key, row] : rows_)
        if (row->marked) {
            row->reportWindow = Open(key);
            row->progressWindows = this;
        }
}

ReportWindow::~ReportWindow()
{
    for (auto& [key, row] : rows_) {
        row->reportWindow = nullptr;
        row->progressWindows = nullptr;
    }
    for (Target& target : windows_)
        win::DestroyWindow(target.hwnd);
}

win::HWND ReportWindow::Open(std::int32_t key)
{
    Target* target;
    {
        std::lock_guard lock(windowsLock_);
        target = &windows_.emplace_back();
    }
    target->owner = this;
    target->key = key;
    target->hwnd = win::CreateWindowEx(0, kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    win::SetWindowLongPtr(target->hwnd, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(target));
    return target->hwnd;
}

win::HWND ReportWindow::OpenProgressWindow(const ConversionItem& row) { return Open(row.rowKey); }

void ReportWindow::CloseProgressWindow(win::HWND window)
{
    win::DestroyWindow(window);
    std::lock_guard lock(windowsLock_);
    windows_.remove_if([window](const Target& target) { return target.hwnd == window; });
}

void ReportWindow::RunUntilBatchDone()
{
    win::MSG msg;
    while (!batchDone_ && win::GetMessage(&msg, nullptr, 0, 0) > 0) {
        win::TranslateMessage(&msg);
        win::DispatchMessage(&msg);
    }
}

win::LRESULT ReportWindow::WindowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    auto* target = reinterpret_cast<const Target*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
    if (!target)
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    return target->owner->OnMessage(*target, message, wParam, lParam);
}

// Row messages name their row in wParam; resampling names it only by the
// window it comes to.
win::LRESULT ReportWindow::OnMessage(const Target& target, win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    auto key = static_cast<std::int32_t>(wParam);
    switch (message) {
    case WM_CONVERT_PROGRESS:
        if (lParam)
            observer_.RowProgress(key, *reinterpret_cast<const std::int64_t*>(lParam));
        return 0;
    case WM_WAVE_START:
    case WM_MP3_START:
        observer_.RowStarted(key);
        return 0;
    case WM_WAVE_DONE:
    case WM_MP3_DONE:
        observer_.RowDone(key, lParam == 0);
        return 0;
    case WM_SSRC_START:
        observer_.ResampleStarted(target.key);
        return 0;
    case WM_SSRC_PROGRESS:
        observer_.ResampleProgress(target.key, static_cast<int>(wParam));
        return 0;
    case WM_SSRC_DONE:
        observer_.ResampleDone(target.key, lParam == 0);
        return 0;
    case WM_BATCH_DONE:
        batchDone_ = true;
        return 0;
    }
    return win::DefWindowProc(target.hwnd, message, wParam, lParam);
}
