// Batches as a person follows them: where a batch has got to, shown in the
// bar; the bar left empty when it ends; one answer about existing files for
// the whole batch; the converting row kept in view.
#include "tests/app/MainWindowFixture.h"
#include "tests/app/DialogScript.h"

#include "app/MainWindowTemplate.h"
#include "app/SkinList.h"
#include "skin/SkinManager.h"
#include "skin/SkinMultimediaList.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/controls/Controls.h"
#include "platform/core/MessageBox.h"
#include "platform/messaging/Message.h"
#include "platform/messaging/Messages.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <fstream>

using namespace win;
using namespace testing_app;
using namespace testing_support;
using namespace main_window;
namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Every text the progress bar was given, in order.
std::vector<std::wstring> g_barTexts;
WNDPROC g_barProc = nullptr;

LRESULT RecordBarText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        g_barTexts.emplace_back(lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"");
    return CallWindowProc(g_barProc, hwnd, message, wParam, lParam);
}

class Batch : public MainWindowTest {
protected:
    HWND Bar() { return GetDlgItem(window, kProgress); }
    void RecordBar()
    {
        g_barTexts.clear();
        g_barProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(Bar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordBarText)));
    }
    std::vector<HeadlessBackend::Question> Overwrites()
    {
        std::vector<HeadlessBackend::Question> asked;
        for (const auto& q : Headless().Questions())
            if (q.text.find(L"already exists") != std::wstring::npos)
                asked.push_back(q);
        return asked;
    }
};

}  // namespace

TEST_F(Batch, TheBarCountsTheRowsAndIsEmptyOnceTheBatchEnds)
{
    fs::path out = dir / "out";
    fs::create_directory(out);
    SetOutputFolder(out);
    Add({Album()});
    fs::path broken = dir / "broken.ape";
    WriteText(broken, "not audio at all");
    Add({broken});
    EXPECT_EQ(GetWindowText(Bar()), L"") << "no text in the bar before a batch";
    RecordBar();
    RunBatch(kMp3);

    std::vector<std::wstring> counts;
    std::copy_if(g_barTexts.begin(), g_barTexts.end(), std::back_inserter(counts),
                 [](const std::wstring& t) { return !t.empty(); });
    EXPECT_EQ(counts, (std::vector<std::wstring>{L"1 of 4", L"2 of 4", L"3 of 4", L"4 of 4"}));
    // The status line keeps its own texts; the last row failed.
    EXPECT_EQ(Text(kStatus), L"To MP3 failed");
    EXPECT_EQ(GetWindowText(Bar()), L"");
    EXPECT_EQ(SendMessage(Bar(), PBM_GETPOS, 0, 0), 0);

    // A second batch counts only what is ticked now.
    list.ListSetItemState(kItemToggleCheck, 3);
    list.ListSetItemState(kItemToggleCheck, 1);
    g_barTexts.clear();
    Headless().PushCheck(true);
    Headless().PushAnswer(IDYES);
    RunBatch(kMp3);
    EXPECT_EQ(std::count(g_barTexts.begin(), g_barTexts.end(), L"2 of 2"), 1);
    EXPECT_EQ(GetWindowText(Bar()), L"");
}

TEST_F(Batch, AnOverwriteAnswerCanStandForTheRestOfTheBatch)
{
    fs::path out = dir / "out";
    fs::create_directory(out);
    SetOutputFolder(out);
    Add({Album()});
    RunBatch(kMp3);
    ASSERT_EQ(FileNames(out).size(), 3u);
    ASSERT_TRUE(Overwrites().empty());
    for (const auto& name : FileNames(out))
        WriteText(out / name, "kept");

    // "No", for the rest: asked once, every file kept.
    Headless().PushCheck(true);
    Headless().PushAnswer(IDNO);
    RunBatch(kMp3);
    auto asked = Overwrites();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text.rfind(L"This " + out.wstring() + L"/", 0), 0u) << asked[0].text;
    EXPECT_TRUE(asked[0].text.ends_with(L" file already exists, whether or not coverage?"));
    EXPECT_EQ(asked[0].checkText, L"Do the same for the rest of this batch");
    for (const auto& name : FileNames(out))
        EXPECT_EQ(fs::file_size(out / name), 4u) << name;

    // The next batch asks again; without the tick, every file is asked about.
    Headless().PushAnswer(IDNO);
    Headless().PushAnswer(IDYES);
    Headless().PushAnswer(IDNO);
    RunBatch(kMp3);
    EXPECT_EQ(Overwrites().size(), 4u);
    int replaced = 0;
    for (const auto& name : FileNames(out))
        replaced += fs::file_size(out / name) > 4u;
    EXPECT_EQ(replaced, 1);

    // "Yes", for the rest: asked once, every file replaced.
    Headless().PushCheck(true);
    Headless().PushAnswer(IDYES);
    RunBatch(kMp3);
    EXPECT_EQ(Overwrites().size(), 5u);
    for (const auto& name : FileNames(out))
        EXPECT_GT(fs::file_size(out / name), 4u) << name;
}

namespace {

class FollowedList : public MainWindowTest {
protected:
    std::unique_ptr<SkinManager> skin = std::make_unique<SkinManager>();
    SkinMultimediaList* shown = nullptr;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        main.reset();
        main = std::make_unique<MainWindow>(skin.get(), ProgramFolder());
        window = main->Create();
        ASSERT_NE(window, nullptr);
        Pump();
        shown = dynamic_cast<SkinMultimediaList*>(skin->Find(L"mmlist"));
        ASSERT_NE(shown, nullptr);
        for (UINT key = 0; key < 40; ++key)
            skin->ListAddItem(L"mmlist", L"row " + std::to_wstring(key), key);
        Pump();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        skin.reset();
    }
    bool InView(UINT key)
    {
        RECT list, row;
        GetWindowRect(GetDlgItem(window, kList), &list);
        GetWindowRect(shown->RowWindow(key), &row);
        return row.top >= list.top && row.bottom <= list.bottom;
    }
    void Wheel(int notches)
    {
        SendMessage(GetDlgItem(window, kList), WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), 0);
    }
};

}  // namespace

TEST_F(FollowedList, TheConvertingRowStaysInViewUnlessThePersonScrolledAway)
{
    EXPECT_EQ(skin->ListFollowItem(L"mmlist", 0, true), 1);
    EXPECT_EQ(shown->ScrollPosition(), 0);
    for (UINT key = 1; key < 30; ++key) {
        skin->ListFollowItem(L"mmlist", key, false);
        ASSERT_TRUE(InView(key)) << key;
    }
    EXPECT_GT(shown->ScrollPosition(), 0);
    EXPECT_TRUE(InView(28)) << "it comes in at the bottom, the rows before it still shown";

    // Scrolled up to look at something else: the list stays there.
    Wheel(20);
    ASSERT_EQ(shown->ScrollPosition(), 0);
    skin->ListFollowItem(L"mmlist", 30, false);
    skin->ListFollowItem(L"mmlist", 31, false);
    EXPECT_EQ(shown->ScrollPosition(), 0);

    // Brought back to the converting row: the list follows again.
    Wheel(-1);
    ASSERT_FALSE(InView(31));
    skin->ListFollowItem(L"mmlist", 31, true);
    ASSERT_TRUE(InView(31));
    for (UINT key = 32; key < 36; ++key) {
        skin->ListFollowItem(L"mmlist", key, false);
        EXPECT_TRUE(InView(key)) << key;
    }

    // A new batch follows from its first row whatever was scrolled.
    skin->ListFollowItem(L"mmlist", 39, true);
    EXPECT_TRUE(InView(39));
    EXPECT_EQ(skin->ListFollowItem(L"mmlist", 99, false), 0);
}

TEST_F(Batch, TheFormatLineFollowsSetupAtOnce)
{
    auto setResampling = [](bool on) {
        WhenShown(L"Setup", [on](HWND setup) {
            HWND page = GetWindow(GetDlgItem(setup, 1021), GW_CHILD);
            SendMessage(GetDlgItem(page, 1022), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
            SendMessage(GetDlgItem(setup, IDOK), BM_CLICK, 0, 0);
        });
    };
    setResampling(true);
    Click(kSetup);
    EXPECT_EQ(Text(kFormatLine), L"Output Audio Info:") << "nothing converted yet, nothing to describe";

    RunBatch(kWave);
    EXPECT_EQ(Text(kFormatLine), L"Output Audio Info: Output Format WAVE SSRC 44100:ON");
    setResampling(false);
    Click(kSetup);
    EXPECT_EQ(g_settings.resamplingFlag, 0);
    EXPECT_EQ(Text(kFormatLine), L"Output Audio Info: Output Format WAVE SSRC 44100:OFF");
}

TEST_F(Batch, OnlyFilesThatExistAreAddedAndAnUnreadableOneSaysWhy)
{
    fs::create_directory(dir / "demo");
    fs::path fake = dir / "fake.ape";
    WriteText(fake, "this is only text");
    Add({dir / "demo", dir / "demo.", dir / "missing.ape", fake});
    ASSERT_EQ(list.Rows().size(), 1u);
    EXPECT_EQ(list.Rows().at(0).name, L"fake.ape");
    EXPECT_EQ(list.Rows().at(0).info, L"00:00:00");
    const ConversionItem* row = main->Rows().Find(0);
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(row->failureReason.empty());
}

// Files are examined side by side; their rows come in the order added, each
// with its length, and all of them go with one "del".
TEST_F(Batch, HundredsOfFilesComeInOrderWithTheirLengthsAndGoAtOnce)
{
    std::vector<fs::path> files;
    for (int i = 0; i < 300; ++i) {
        fs::path album = dir / ("album " + std::to_string(i / 100));
        fs::create_directories(album);
        fs::path file = album / ("track " + std::to_string(i) + (i % 3 ? ".ape" : ".wav"));
        fs::copy_file(FixturePath(i % 3 ? "mono8_8k.ape" : "stereo16_44k.ape"), file);
        files.push_back(file);
    }
    // A .wav that holds APE audio is still read by its content.
    Add(files);
    ASSERT_EQ(list.Rows().size(), 300u);
    int index = 0;
    for (const auto& [key, row] : list.Rows()) {
        EXPECT_EQ(key, index);
        EXPECT_EQ(row.name, files[static_cast<std::size_t>(index)].filename().wstring());
        EXPECT_EQ(row.info, index % 3 ? L"00:00:01" : L"00:00:05") << row.name;
        ++index;
    }
    EXPECT_EQ(Checked().size(), 300u);
    Click(kDelete);
    Pump();
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_TRUE(main->Rows().Rows().empty());
}

// Without a stored output folder, "Open Folder" opens where the batch wrote,
// also when it kept every file it found there.
TEST_F(Batch, OpenFolderOpensWhereTheBatchWroteWithoutAStoredFolder)
{
    fs::path album = Album();
    Add({album});
    RunBatch(kMp3, IDOK);
    std::wstring folder = album.parent_path().wstring() + L"/";
    EXPECT_EQ(Headless().ShellRequests(), (std::vector<std::wstring>{folder}));

    Headless().PushCheck(true);
    Headless().PushAnswer(IDNO);  // keep them all
    RunBatch(kMp3, IDOK);
    EXPECT_EQ(Overwrites().size(), 1u);
    EXPECT_EQ(Headless().ShellRequests(), (std::vector<std::wstring>{folder, folder}));
}
