// Closing the main window while a batch runs, by every route a person has:
// the batch stops, its threads are waited for, and only then do the rows go.
#include "tests/app/MainWindowFixture.h"

#include "app/MainWindowTemplate.h"
#include "settings/SettingsFile.h"

#include "platform/controls/Controls.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"

using namespace win;
using namespace testing_app;
using namespace testing_support;
using namespace main_window;
namespace fs = std::filesystem;

namespace {

struct Route {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool post;
};

const Route kRoutes[] = {
    {"Escape (Cancel)", WM_COMMAND, IDCANCEL, false},
    {"command 1000", WM_COMMAND, kCloseCommand, false},
    {"system menu Close", WM_SYSCOMMAND, SC_CLOSE, false},
    {"skinned close button", WM_SYSCOMMAND, SC_CLOSE, true},
    {"window manager", WM_CLOSE, 0, true},
};

// A file cut short would still carry the sizes of its unfinished header.
void ExpectWholeOrAbsent(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        auto bytes = ReadBytes(entry.path());
        ASSERT_GE(bytes.size(), 44u) << entry.path();
        EXPECT_EQ(Le32(bytes, 4) + 8u, bytes.size()) << entry.path() << " is unfinished";
    }
}

}  // namespace

TEST_F(MainWindowTest, ClosingDuringABatchStopsItByEveryRoute)
{
    for (const Route& route : kRoutes) {
        SCOPED_TRACE(route.name);
        Open(&list);
        fs::path out = dir / route.name;
        fs::create_directory(out);
        SetOutputFolder(out);
        Add({Album(), Album()});
        Click(kWave);
        ASSERT_FALSE(Enabled(kWave));
        if (route.post)
            PostMessage(window, route.message, route.wParam, 0);
        else
            SendMessage(window, route.message, route.wParam, 0);
        ASSERT_TRUE(PumpUntil([&] { return main->Ended(); }, 30));
        EXPECT_FALSE(IsWindowVisible(window));
        Pump();
        // No completion prompt from a window that is closing.
        for (const auto& q : Headless().Questions())
            EXPECT_NE(q.caption, L"Open Folder");
        main.reset();  // destroys the window and frees the rows
        ExpectWholeOrAbsent(out);
        list = PlainList{};
        Headless().Reset();
    }
}

TEST_F(MainWindowTest, DestroyingTheWindowDuringABatchWaitsForIt)
{
    fs::create_directory(dir / "out");
    SetOutputFolder(dir / "out");
    Add({Album()});
    Click(kMp3);
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(main->Rows().Rows().empty());
    main.reset();
}

TEST_F(MainWindowTest, TheModalWindowEndsWhenClosedDuringABatch)
{
    main.reset();
    fs::create_directory(dir / "out");
    SetOutputFolder(dir / "out");
    ASSERT_EQ(SettingsFile::Write((dir / "configure.dat").wstring(), g_settings), 1);  // read at start-up
    MainWindow modal(nullptr, ProgramFolder(), &list);
    Headless().PushOpenFiles({Album().wstring()});
    bool running = false;
    WhenShown(L"Verdo Ape to MP3 WAV Converter pro v1.1 ", [&running](HWND shown) {
        SendMessage(GetDlgItem(shown, kAdd), BM_CLICK, 0, 0);
        SendMessage(GetDlgItem(shown, kWave), BM_CLICK, 0, 0);
        running = !IsWindowEnabled(GetDlgItem(shown, kWave));
        PostMessage(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    EXPECT_TRUE(modal.Rows().Rows().empty());
    EXPECT_TRUE(running);
    ExpectWholeOrAbsent(dir / "out");
}
