#include "cli/ReportWindow.h"

#include "engine/EngineMessages.h"
#include "resample/SsrcMessages.h"

#include "platform/messaging/Message.h"
#include "platform/window/Window.h"

namespace {
constexpr const wchar_t* kClassName = L"KolvexConvertReport";
}

ReportWindow::ReportWindow(BatchObserver& observer) : observer_(observer)
{
    win::WNDCLASS wc;
    if (!win::GetClassInfo(nullptr, kClassName, &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.lpszClassName = kClassName;
        win::RegisterClass(&wc);
    }
    hwnd_ = win::CreateWindowEx(0, kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(this));
}

ReportWindow::~ReportWindow() { win::DestroyWindow(hwnd_); }

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
    auto* self = reinterpret_cast<ReportWindow*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
    if (!self)
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

win::LRESULT ReportWindow::OnMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    auto key = static_cast<std::int32_t>(wParam);
    switch (message) {
    case WM_CONVERT_PROGRESS:
        if (lParam)
            observer_.RowProgress(*reinterpret_cast<const std::int64_t*>(lParam));
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
        observer_.ResampleStarted();
        return 0;
    case WM_SSRC_PROGRESS:
        observer_.ResampleProgress(static_cast<int>(wParam));
        return 0;
    case WM_SSRC_DONE:
        observer_.ResampleDone(lParam == 0);
        return 0;
    case WM_BATCH_DONE:
        batchDone_ = true;
        return 0;
    }
    return win::DefWindowProc(hwnd_, message, wParam, lParam);
}
