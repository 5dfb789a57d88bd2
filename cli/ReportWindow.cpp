#include "cli/ReportWindow.h"

#include "engine/EngineMessages.h"

#include "platform/Message.h"
#include "platform/Window.h"

namespace {
constexpr const wchar_t* kClassName = L"KolvexConvertReport";
}

ReportWindow::ReportWindow()
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
        if (currentRow_ >= 0 && lParam)
            rows_[currentRow_].lastPositionMs = *reinterpret_cast<const std::int64_t*>(lParam);
        return 0;
    case WM_WAVE_START:
    case WM_MP3_START:
        currentRow_ = key;
        rows_[key].started = true;
        return 0;
    case WM_WAVE_DONE:
    case WM_MP3_DONE:
        rows_[key].done = true;
        rows_[key].failed = lParam != 0;
        currentRow_ = -1;
        if (onFinished_)
            onFinished_(key, rows_[key]);
        return 0;
    case WM_BATCH_DONE:
        batchDone_ = true;
        return 0;
    }
    return win::DefWindowProc(hwnd_, message, wParam, lParam);
}
