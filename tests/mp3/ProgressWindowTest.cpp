// Rows side by side whose watcher opens a progress window on each row's own
// thread: every chunk's progress is handled there, in order and complete,
// while the start and done messages still reach the watcher's window.
#include "Mp3TestSupport.h"

#include "tests/engine/BatchRecorder.h"
#include "tests/support/TestFiles.h"

#include "engine/EngineMessages.h"
#include "engine/ProgressWindows.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPath.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/core/Strings.h"
#include "platform/messaging/Thread.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>

using namespace testing_support;
using namespace mp3test;
namespace fs = std::filesystem;

namespace {

class ThreadWindows : public ProgressWindows {
public:
    struct Row {
        win::DWORD openedOn = 0, closedOn = 0;
        int progress = 0, onOtherThreads = 0, backwards = 0;
        std::int64_t lastMs = -1;
    };

    win::HWND OpenProgressWindow(const ConversionItem& row) override
    {
        static const bool registered = [] {
            win::WNDCLASS wc;
            wc.lpfnWndProc = Proc;
            wc.lpszClassName = L"TestThreadProgress";
            return win::RegisterClass(&wc) != 0;
        }();
        (void)registered;
        win::HWND hwnd = win::CreateWindowEx(0, L"TestThreadProgress", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                                             nullptr);
        win::SetWindowLongPtr(hwnd, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(this));
        std::lock_guard guard(lock_);
        rows_[row.rowKey].openedOn = win::GetCurrentThreadId();
        return hwnd;
    }

    void CloseProgressWindow(win::HWND window) override
    {
        EXPECT_TRUE(win::DestroyWindow(window));
        std::lock_guard guard(lock_);
        for (auto& [key, row] : rows_)
            if (row.openedOn == win::GetCurrentThreadId())
                row.closedOn = row.openedOn;
    }

    std::map<std::int32_t, Row> Rows()
    {
        std::lock_guard guard(lock_);
        return rows_;
    }

private:
    static win::LRESULT Proc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam)
    {
        auto* self = reinterpret_cast<ThreadWindows*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
        if (!self || message != WM_CONVERT_PROGRESS)
            return win::DefWindowProc(hwnd, message, wParam, lParam);
        std::int64_t ms = *reinterpret_cast<const std::int64_t*>(lParam);
        std::lock_guard guard(self->lock_);
        Row& row = self->rows_[static_cast<std::int32_t>(wParam)];
        row.progress++;
        row.onOtherThreads += row.openedOn != win::GetCurrentThreadId();
        row.backwards += ms < row.lastMs;
        row.lastMs = ms;
        return 0;
    }

    std::mutex lock_;
    std::map<std::int32_t, Row> rows_;
};

}  // namespace

TEST(ProgressWindow, RowsSideBySideSendEveryChunksProgressToTheirOwnThreadsWindow)
{
    ASSERT_EQ(MissingTools({"ffmpeg"}), "");
    win::Headless().Reset();
    TempDir dir;
    SetSettingsPath((dir / "configure.dat").wstring());
    ConversionSettings settings;
    settings.cbrFlag = 1;
    settings.mp3.cbrBitRate = 192;
    settings.mp3.quality = 5;
    ASSERT_EQ(SettingsFile::Write((dir / "configure.dat").wstring(), settings), 1);

    const fs::path image = FixturePath("stereo16_44k.ape");
    const std::size_t blocks = FfmpegDecode(image, "s16le").size() / 4;
    ThreadWindows windows;
    std::vector<std::unique_ptr<ConversionItem>> items;
    RowTable table;
    for (std::int32_t key : {0, 1, 2}) {
        items.push_back(MakeRow(key, image.wstring(), (dir / (std::to_string(key) + ".mp3")).wstring(), kOutputMp3));
        items.back()->progressWindows = &windows;
        table[key] = items.back().get();
    }
    BatchRecorder recorder;
    ASSERT_TRUE(recorder.Run(table, 1, 60000, 2));

    EXPECT_EQ(recorder.Find(WM_CONVERT_PROGRESS), nullptr) << "progress reached the watcher's window";
    auto rows = windows.Rows();
    ASSERT_EQ(rows.size(), 3u);
    for (auto& [key, row] : rows) {
        SCOPED_TRACE("row " + std::to_string(key));
        auto events = recorder.EventsOf(key);
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events.front().message, WM_MP3_START);
        EXPECT_EQ(events.back().message, WM_MP3_DONE);
        EXPECT_EQ(events.back().lParam, 0) << win::ToUtf8(table[key]->failureReason);
        EXPECT_NE(row.openedOn, win::GetCurrentThreadId());
        EXPECT_EQ(row.closedOn, row.openedOn);
        // One per chunk of 1024 blocks (the last one short), and one as the
        // source says it has no more.
        EXPECT_EQ(static_cast<std::size_t>(row.progress), (blocks + 1023) / 1024 + 1);
        EXPECT_EQ(row.onOtherThreads, 0);
        EXPECT_EQ(row.backwards, 0);
    }
    SetSettingsPath(L"");
    win::Headless().Reset();
}
