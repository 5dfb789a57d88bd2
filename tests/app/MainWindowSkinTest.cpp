// The main window with the default skin, as the program runs it: rows live
// in the skinned list, ticks come from clicks the list posts to itself, and
// the skinned close caption button goes through the window's own closing.
#include "tests/app/MainWindowFixture.h"

#include "app/FailureSummary.h"
#include "app/MainWindowTemplate.h"
#include "app/SkinList.h"
#include "platform/dialogs/DialogManager.h"
#include "skin/SkinManager.h"
#include "skin/SkinMultimediaList.h"
#include "skin/SkinText.h"

#include "platform/controls/Controls.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Rect.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <fstream>

using namespace win;
using namespace testing_app;
using namespace testing_support;
using namespace main_window;
namespace fs = std::filesystem;

namespace {

class Skinned : public MainWindowTest {
protected:
    std::unique_ptr<SkinManager> skin = std::make_unique<SkinManager>();
    SkinList rows{skin.get()};

    void SetUp() override
    {
        MainWindowTest::SetUp();
        main.reset();
        main = std::make_unique<MainWindow>(skin.get(), ProgramFolder());
        window = main->Create();
        ASSERT_NE(window, nullptr);
        Pump();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        skin.reset();
    }
    // What a skinned label shows: the label keeps new texts itself and
    // leaves the control's own window text (its registry name) alone.
    std::wstring Label(int id)
    {
        auto* label = dynamic_cast<SkinText*>(skin->Find(Text(id)));
        return label ? label->Text() : L"(not skinned)";
    }
    std::vector<std::int32_t> Ticked()
    {
        std::vector<std::int32_t> keys;
        for (auto key = rows.ListFindFirstChecked(); key != -1; key = rows.ListFindNextChecked(key))
            keys.push_back(key);
        return keys;
    }
};

RECT Outer(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

}  // namespace

TEST_F(Skinned, NothingOverlapsOnceTheSkinHasPlacedTheControls)
{
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 665);
    std::vector<int> shown = {kMp3, kWave, kList, kAdd, kDelete, kSetup, kProgress, kStatus, kDirectoryLine,
                              kFormatLine, kSite};
    for (std::size_t i = 0; i < shown.size(); ++i) {
        ASSERT_TRUE(IsWindowVisible(GetDlgItem(window, shown[i]))) << shown[i];
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            RECT a = Outer(GetDlgItem(window, shown[i])), b = Outer(GetDlgItem(window, shown[j]));
            bool overlap = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
            EXPECT_FALSE(overlap) << shown[i] << " overlaps " << shown[j];
        }
    }
}

TEST_F(Skinned, RowsAreTickedInTheSkinnedListAndConverted)
{
    fs::path out = dir / "out";
    fs::create_directory(out);
    SetOutputFolder(out);
    Add({FixturePath("mono8_8k.ape"), FixturePath("stereo8_11k.ape"), FixturePath("mono16_22k.ape")});
    EXPECT_EQ(Ticked(), (std::vector<std::int32_t>{0, 1, 2}));
    rows.ListSetItemState(kItemToggleCheck, 1);  // a click on the middle row unticks it
    Pump();
    EXPECT_EQ(Ticked(), (std::vector<std::int32_t>{0, 2}));
    RunBatch(kMp3);
    EXPECT_TRUE(fs::exists(out / "mono8_8k.mp3"));
    EXPECT_FALSE(fs::exists(out / "stereo8_11k.mp3"));
    EXPECT_TRUE(fs::exists(out / "mono16_22k.mp3"));
    EXPECT_EQ(Label(kStatus), L"To MP3 is OK");
    EXPECT_EQ(Label(kFormatLine), L"Output Audio Info: Output Format MP3 Variable Bitrate: 64-192 Quality: 0");

    Click(kDelete);  // the ticked rows go, the unticked one stays
    EXPECT_EQ(Ticked(), (std::vector<std::int32_t>{}));
    EXPECT_EQ(main->Rows().Rows().size(), 1u);
    EXPECT_NE(main->Rows().Find(1), nullptr);
    EXPECT_EQ(rows.ListSetItemInfo(L"still there", 1), 1);
    EXPECT_EQ(rows.ListSetItemInfo(L"gone", 0), 0);
}

TEST_F(Skinned, TheCloseCaptionButtonStopsABatchAndEndsTheWindow)
{
    fs::create_directory(dir / "out");
    SetOutputFolder(dir / "out");
    Add({Album()});
    Click(kWave);
    RECT r = Outer(window);
    POINT close{-1, -1};
    for (LONG y = r.top; y < r.top + 60 && close.x < 0; ++y)
        for (LONG x = r.right - 1; x > r.right - 200; --x)
            if (SendMessage(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                close = {x - 3, y + 3};
                break;
            }
    ASSERT_GE(close.x, 0) << "the skin has no close caption button";
    Headless().PushAnswer(IDYES);  // "A conversion is running. Stop it and close?"
    InjectPointer(nullptr, PointerEvent::Move, 0, close, 0);
    InjectPointer(nullptr, PointerEvent::Down, 1, close, 0);
    InjectPointer(nullptr, PointerEvent::Up, 1, close, 0);
    ASSERT_TRUE(PumpUntil([&] { return main->Ended(); }, 30));
    auto asked = Asked();
    ASSERT_FALSE(asked.empty());
    EXPECT_NE(asked[0].find(L"A conversion is running. Stop it and close?"), std::wstring::npos);
    for (const auto& q : Headless().Questions())
        EXPECT_NE(q.caption, L"Open Folder");
}

TEST_F(Skinned, AFailedRowKeepsItsReasonInItsTipAndLosesItOnceConverted)
{
    SetOutputFolder(dir / "no" / "such" / "folder");
    Add({FixturePath("mono8_8k.ape"), FixturePath("stereo8_11k.ape")});
    rows.ListSetItemState(3, 1);  // only the first row converts
    Pump();
    RunBatch(kMp3);
    auto asked = Asked();
    ASSERT_FALSE(asked.empty());
    std::wstring prefix = L"Converter Failed: One file could not be converted:\n\nmono8_8k.mp3: ";
    ASSERT_EQ(asked[0].rfind(prefix, 0), 0u) << asked[0];
    std::wstring reason = asked[0].substr(prefix.size());
    ASSERT_FALSE(reason.empty());

    // Long after the box: the row still says why, the other row nothing.
    HWND list = GetDlgItem(window, kList);
    RECT at = Outer(list);
    InjectPointer(nullptr, PointerEvent::Move, 0, {at.left + 300, at.top + 5}, 0);
    Pump();
    EXPECT_EQ(Headless().Tip(), reason);
    auto* skinned = dynamic_cast<SkinMultimediaList*>(skin->Find(L"mmlist"));
    ASSERT_NE(skinned, nullptr);
    auto row = [&](int index) { return POINT{at.left + 30, at.top + 5 + index * skinned->RowHeight()}; };
    InjectPointer(nullptr, PointerEvent::Move, 0, row(1), 0);
    Pump();
    EXPECT_EQ(Headless().Tip(), L"");
    InjectPointer(nullptr, PointerEvent::Move, 0, row(0), 0);
    Pump();
    EXPECT_EQ(Headless().Tip(), reason);
    InjectPointer(nullptr, PointerEvent::Move, 0, {at.left + 5, at.bottom + 30}, 0);
    Pump();
    EXPECT_EQ(Headless().Tip(), L"");

    // Converted again once the folder is there: no reason left.
    fs::create_directories(dir / "no" / "such" / "folder");
    RunBatch(kMp3);
    ASSERT_TRUE(fs::exists(dir / "no" / "such" / "folder" / "mono8_8k.mp3"));
    InjectPointer(nullptr, PointerEvent::Move, 0, row(0), 0);
    Pump();
    EXPECT_EQ(Headless().Tip(), L"");
}

// 500 failures make one box; the back-end lets the list scroll (the GUI
// test sees it fit the screen), and every failure is in it.
TEST(FailureSummary, ListsEveryFailureWithItsReason)
{
    failure_summary::Failures many;
    for (int i = 0; i < 500; ++i)
        many.emplace_back(L"track " + std::to_wstring(i) + L".mp3", i % 2 ? L"no space left" : L"");
    std::wstring text = failure_summary::Text(many);
    EXPECT_EQ(text.rfind(L"500 files could not be converted:\n\ntrack 0.mp3\ntrack 1.mp3: no space left\n", 0), 0u);
    EXPECT_NE(text.find(L"\ntrack 499.mp3: no space left"), std::wstring::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 501);
}

TEST_F(Skinned, TabGoesRowByRowLeftToRightAndEnterPressesTheFocusedButton)
{
    // Keys as the window's own loop handles them, through the dialog manager.
    auto key = [&](UINT vk, UINT modifiers = 0) {
        InjectKey(nullptr, true, vk, 0, modifiers);
        InjectKey(nullptr, false, vk, 0, modifiers);
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessage(window, &msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
        Pump();
    };
    SetActiveWindow(window);
    SetFocus(GetDlgItem(window, kList));
    std::vector<int> order;
    for (int i = 0; i < 7; ++i) {
        key(VK_TAB);
        order.push_back(GetDlgCtrlID(GetFocus()));
    }
    // The list is the first control seen, then the buttons under it.
    EXPECT_EQ(order, (std::vector<int>{kAdd, kDelete, kSetup, kSite, kMp3, kWave, kList}));
    key(VK_TAB, MOD_SHIFT_KEY);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), kWave);

    // Enter on "add" opens the file dialog, as a click does.
    SetFocus(GetDlgItem(window, kAdd));
    Headless().PushOpenFiles({FixturePath("mono8_8k.ape").wstring()});
    key(VK_RETURN);
    EXPECT_EQ(Headless().OpenRequests().size(), 1u);
    Settle();
    EXPECT_EQ(main->Rows().Rows().size(), 1u);
    // Space too.
    Headless().PushOpenFiles({});
    key(VK_SPACE);
    EXPECT_EQ(Headless().OpenRequests().size(), 2u);
}

// A file that cannot be read is on the list all the same, and its tip says
// why before anyone tries to convert it.
TEST_F(Skinned, AnUnreadableFileSaysWhyInItsTip)
{
    fs::path fake = dir / "fake.ape";
    std::ofstream(fake) << "this is only text";
    Headless().PushOpenFiles({fake.wstring()});
    Click(kAdd);
    Settle();
    ASSERT_EQ(Ticked(), (std::vector<std::int32_t>{0}));
    const ConversionItem* row = main->Rows().Find(0);
    ASSERT_NE(row, nullptr);
    ASSERT_FALSE(row->failureReason.empty());
    RECT at = Outer(GetDlgItem(window, kList));
    InjectPointer(nullptr, PointerEvent::Move, 0, {at.left + 300, at.top + 5}, 0);
    Pump();
    EXPECT_EQ(Headless().Tip(), row->failureReason);
}
