#include "app/WindowRowEvents.h"

#include "app/EngineMessages.h"
#include "engine/ConversionItem.h"
#include "resample/SsrcMessages.h"

#include "platform/core/MessageBox.h"
#include "platform/messaging/Message.h"

namespace {
win::WPARAM KeyParam(std::int32_t key) { return static_cast<win::WPARAM>(key); }
}  // namespace

void WindowRowEvents::Post(win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
{
    if (window_)
        win::PostMessage(window_, message, wParam, lParam);
}

void WindowRowEvents::RowStarted(std::int32_t key, std::int32_t outputKind)
{
    Post(outputKind == kOutputMp3 ? WM_MP3_START : WM_WAVE_START, KeyParam(key), 0);
}

// The window reads the position through the pointer while the worker waits.
void WindowRowEvents::RowProgress(std::int32_t key, std::int64_t positionMs)
{
    if (window_)
        win::SendMessage(window_, WM_CONVERT_PROGRESS, KeyParam(key), reinterpret_cast<win::LPARAM>(&positionMs));
}

// The reason is in the row's record already; the window reads it there.
void WindowRowEvents::RowDone(std::int32_t key, std::int32_t outputKind, bool written, const std::wstring&)
{
    Post(outputKind == kOutputMp3 ? WM_MP3_DONE : WM_WAVE_DONE, KeyParam(key), written ? 0 : 1);
}

// The resampler's messages never carried a row: the window shows the row
// that is converting.
void WindowRowEvents::ResampleStarted(std::int32_t) { Post(WM_SSRC_START, 0, 0); }

void WindowRowEvents::ResampleProgress(std::int32_t, int percent)
{
    Post(WM_SSRC_PROGRESS, static_cast<win::WPARAM>(percent), 0);
}

void WindowRowEvents::ResampleDone(std::int32_t, bool converted, const std::wstring&)
{
    Post(WM_SSRC_DONE, 0, converted ? 0 : 1);
}

void WindowRowEvents::BatchDone() { Post(WM_BATCH_DONE, 0, 0); }

void WindowRowEvents::NewBatch()
{
    std::lock_guard lock(asking_);
    forRest_.reset();
}

bool WindowRowEvents::AskOverwrite(std::int32_t, const std::wstring& path)
{
    std::lock_guard lock(asking_);
    if (forRest_)
        return *forRest_;
    std::wstring text = L"This " + path + L" file already exists, whether or not coverage?";
    win::BOOL rest = 0;
    bool overwrite = win::MessageBoxWithCheck(window_, text.c_str(), L"Kolvex", win::MB_YESNO | win::MB_ICONQUESTION,
                                              L"Do the same for the rest of this batch", &rest) == win::IDYES;
    if (rest)
        forRest_ = overwrite;
    return overwrite;
}
