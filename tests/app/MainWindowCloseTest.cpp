// Closing the main window while a batch runs, by every route a person has:
// the batch stops, its threads are waited for, and only then do the rows go.
#include "tests/app/MainWindowFixture.h"

#include "app/MainWindowTemplate.h"
#include "app/ProgramIcon.h"
#include "settings/SettingsFile.h"

#include "platform/controls/Controls.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/messaging/Message.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Window.h"
#include "platform/dialogs/Menu.h"

#include <algorithm>

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
        Headless().PushAnswer(IDYES);  // "Stop it and close?"
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
        Headless().PushAnswer(IDYES);
        PostMessage(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    EXPECT_TRUE(modal.Rows().Rows().empty());
    EXPECT_TRUE(running);
    ExpectWholeOrAbsent(dir / "out");
}

namespace {

std::vector<std::wstring> MenuTexts(HWND window)
{
    std::vector<std::wstring> texts;
    HMENU menu = GetSystemMenu(window, 0);
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        texts.push_back(GetMenuString(menu, static_cast<UINT>(i), MF_BYPOSITION));
    return texts;
}

bool Offers(HWND window, const std::wstring& text)
{
    auto texts = MenuTexts(window);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

}  // namespace

TEST_F(MainWindowTest, ClosingDuringABatchAsksFirstAndNoKeepsConverting)
{
    fs::create_directory(dir / "out");
    SetOutputFolder(dir / "out");
    Add({Album()});
    Click(kWave);
    ASSERT_FALSE(Enabled(kWave));
    Headless().PushAnswer(IDNO);
    Headless().PushAnswer(IDCANCEL);  // the completion prompt, later
    SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    auto asked = Asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::wstring(kProgramTitle) + L": A conversion is running. Stop it and close?");
    EXPECT_EQ(Headless().Questions()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_FALSE(main->Ended());
    // The batch goes on to its end and its usual prompt.
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kWave); }, 60));
    Pump();
    EXPECT_FALSE(main->Ended());
    asked = Asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].rfind(L"Open Folder: ", 0), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 3);
    ExpectWholeOrAbsent(dir / "out");

    // Outside a batch nothing is asked.
    SendMessage(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(main->Ended());
    EXPECT_EQ(Asked().size(), 2u);
}

TEST_F(MainWindowTest, EscapeDuringABatchStopsItOnYesAndKeepsTheWindow)
{
    fs::create_directory(dir / "out");
    SetOutputFolder(dir / "out");
    Add({Album(), Album()});
    Click(kWave);
    ASSERT_FALSE(Enabled(kWave));
    EXPECT_TRUE(Offers(window, L"Stop conversion"));
    Headless().PushAnswer(IDNO);
    SendMessage(window, WM_COMMAND, IDCANCEL, 0);  // Escape
    EXPECT_EQ(Asked(), (std::vector<std::wstring>{std::wstring(kProgramTitle) + L": Stop the conversion?"}));
    EXPECT_FALSE(main->Ended());
    EXPECT_FALSE(Enabled(kWave));  // still converting
    Headless().PushAnswer(IDYES);
    SendMessage(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kWave); }, 30));
    Pump();
    EXPECT_FALSE(main->Ended());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(Offers(window, L"Stop conversion"));
    for (const auto& q : Headless().Questions())
        EXPECT_NE(q.caption, L"Open Folder");  // stopped, not complete
    ExpectWholeOrAbsent(dir / "out");

    // Outside a batch Escape closes, as it always did.
    std::size_t before = Headless().Questions().size();
    SendMessage(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(main->Ended());
    EXPECT_EQ(Headless().Questions().size(), before);
}

TEST_F(MainWindowTest, TheSystemMenuStopsTheBatch)
{
    fs::create_directory(dir / "out");
    SetOutputFolder(dir / "out");
    Add({Album(), Album()});
    EXPECT_FALSE(Offers(window, L"Stop conversion"));
    Click(kWave);
    ASSERT_TRUE(Offers(window, L"Stop conversion"));
    SendMessage(window, WM_SYSCOMMAND, kStopCommand, 0);
    ASSERT_TRUE(PumpUntil([&] { return Enabled(kWave); }, 30));
    Pump();
    EXPECT_FALSE(main->Ended());
    EXPECT_FALSE(Offers(window, L"Stop conversion"));
    EXPECT_TRUE(Offers(window, L"&About Kolvex..."));
    for (const auto& q : Headless().Questions())
        EXPECT_NE(q.caption, L"Open Folder");
    ExpectWholeOrAbsent(dir / "out");
}
